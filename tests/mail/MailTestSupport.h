// Mail test helpers: a connection that replays scripted chunks, and a POP3 server in this
// process that follows a script (for hostile servers) on a loopback port.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <thread>

#include "platform/MailConnection.h"

namespace lumi::testing {

// Hands out the queued chunks one Receive at a time; then whenEmpty.
class ScriptedConnection : public platform::MailConnection {
public:
    std::deque<std::string> chunks;
    platform::NetStatus whenEmpty = platform::NetStatus::Closed;
    std::string sent;
    size_t largestAsk = 0;

    platform::NetStatus Connect(const std::string&, platform::AddressKind, uint16_t, int, int) override {
        return platform::NetStatus::Ok;
    }
    platform::NetStatus Send(std::string_view bytes, int) override {
        sent.append(bytes);
        return platform::NetStatus::Ok;
    }
    platform::NetStatus Receive(char* buffer, size_t capacity, size_t& received, int) override {
        received = 0;
        largestAsk = std::max(largestAsk, capacity);
        if (chunks.empty()) return whenEmpty;
        std::string& front = chunks.front();
        received = std::min(capacity, front.size());
        std::memcpy(buffer, front.data(), received);
        front.erase(0, received);
        if (front.empty()) chunks.pop_front();
        return platform::NetStatus::Ok;
    }
    platform::NetStatus StartTls(const std::string&, platform::AddressKind, int) override {
        return platform::NetStatus::Ok;
    }
    void Close() override {}
    std::string LastError() const override { return "scripted"; }
};

// One peer of the scripted server: blocking writes and waited reads on the accepted socket.
class ScriptPeer {
public:
    explicit ScriptPeer(int fd) : fd_(fd) {}

    // False once the client has gone.
    bool Send(const std::string& bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0) return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }

    // One line without its line end; "" when the client closed or after timeoutMs.
    std::string ReadLine(int timeoutMs = 5000) {
        for (;;) {
            const size_t end = pending_.find("\r\n");
            if (end != std::string::npos) {
                std::string line = pending_.substr(0, end);
                pending_.erase(0, end + 2);
                return line;
            }
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, timeoutMs) <= 0) return {};
            char buffer[512];
            const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) return {};
            pending_.append(buffer, static_cast<size_t>(n));
        }
    }

    // Waits until the client closes the connection (or timeoutMs passes).
    void WaitForClose(int timeoutMs = 10000) {
        char buffer[512];
        for (;;) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, timeoutMs) <= 0) return;
            if (recv(fd_, buffer, sizeof buffer, 0) <= 0) return;
        }
    }

private:
    int fd_;
    std::string pending_;
};

// Listens on 127.0.0.1 at a free port and runs the script for the first connection;
// the destructor waits for the script.
class ScriptedServer {
public:
    explicit ScriptedServer(std::function<void(ScriptPeer&)> script) {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(listener_, 4) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this, script = std::move(script)] {
            pollfd p{listener_, POLLIN, 0};
            if (poll(&p, 1, 10000) <= 0) return;
            const int fd = accept(listener_, nullptr, nullptr);
            if (fd < 0) return;
            ScriptPeer peer(fd);
            script(peer);
            close(fd);
        });
    }
    ~ScriptedServer() {
        if (thread_.joinable()) thread_.join();
        if (listener_ >= 0) close(listener_);
    }
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    uint16_t Port() const { return port_; }

private:
    int listener_ = -1;
    uint16_t port_ = 0;
    std::thread thread_;
};

// A loopback port nothing listens on right now.
inline uint16_t FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    uint16_t port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    close(fd);
    return port;
}

}  // namespace lumi::testing
