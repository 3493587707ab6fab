// One TCP connection to a mail server, optionally wrapped in TLS, with a time limit on
// every wait. The mail checker's worker thread is its only user; no OS type crosses here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lumi::platform {

enum class NetStatus {
    Ok,
    Failed,      // lookup, socket or I/O error (see LastError)
    TimedOut,    // the time given ran out
    Closed,      // the peer closed the connection
    NotTrusted,  // the server's certificate did not verify for the name
};

// How the server name is looked up: a literal address is never sent to a name service.
enum class AddressKind { Literal, Name };

class MailConnection {
public:
    virtual ~MailConnection() = default;
    // Looks the host up (IPv4 and IPv6) and tries every address in turn, each within
    // perAddressMs, all together within totalMs.
    virtual NetStatus Connect(const std::string& host, AddressKind kind, uint16_t port, int perAddressMs,
                              int totalMs) = 0;
    // Sends every byte (through TLS once it runs) within timeoutMs.
    virtual NetStatus Send(std::string_view bytes, int timeoutMs) = 0;
    // Waits at most timeoutMs for the first bytes and returns what has come (at least one
    // byte on Ok).
    virtual NetStatus Receive(char* buffer, size_t capacity, size_t& received, int timeoutMs) = 0;
    // TLS handshake over the open connection, verifying the server's certificate against
    // the system's trust store and the host name (or address) given.
    virtual NetStatus StartTls(const std::string& host, AddressKind kind, int timeoutMs) = 0;
    // Ends TLS politely when it runs and closes the socket; safe to call twice.
    virtual void Close() = 0;
    // What went wrong last, for the user of --check-mail ("" when nothing did).
    virtual std::string LastError() const = 0;
};

// The sockets (and TLS library) of this platform.
std::unique_ptr<MailConnection> MakeMailConnection();

// Starts and releases the network library (Winsock; nothing elsewhere). Balanced pairs.
bool NetworkStart();
void NetworkStop();

}  // namespace lumi::platform
