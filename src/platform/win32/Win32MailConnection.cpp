// Mail connections on Windows: Winsock sockets in non-blocking mode waited on with select,
// so every wait has a limit, and Schannel (SSPI) for TLS. The certificate is checked by
// us against the system's trust store and the server name (CertGetCertificateChain with
// the SSL policy) rather than left to Schannel, so a system whose Schannel skips the
// check never lets an unverified server through.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <wincrypt.h>
#define SECURITY_WIN32
#include <schannel.h>
#include <security.h>
#include <sspi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Deadline.h"
#include "platform/MailConnection.h"

namespace lumi::platform {

namespace {

// Waits until the socket can be read (or written); false when the time ran out.
bool WaitFor(SOCKET s, bool write, SteadyClock::time_point deadline) {
    fd_set set, errors;
    FD_ZERO(&set);
    FD_ZERO(&errors);
    FD_SET(s, &set);
    FD_SET(s, &errors);
    const int ms = MsLeft(deadline);
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    const int r = select(0, write ? nullptr : &set, write ? &set : nullptr, &errors, &tv);
    return r != 0;  // an error is reported by the next call itself
}

std::wstring Wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(n > 0 ? static_cast<size_t>(n) : 1, L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), n);
    return out;
}

std::string ErrorText(const char* what, long code) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
    return std::string(what) + " (" + hex + ")";
}

bool IsTrustFailure(SECURITY_STATUS s) {
    return s == SEC_E_UNTRUSTED_ROOT || s == SEC_E_CERT_UNKNOWN || s == SEC_E_WRONG_PRINCIPAL ||
           s == SEC_E_CERT_EXPIRED || s == static_cast<SECURITY_STATUS>(CERT_E_UNTRUSTEDROOT) ||
           s == static_cast<SECURITY_STATUS>(CERT_E_CN_NO_MATCH) || s == static_cast<SECURITY_STATUS>(CERT_E_EXPIRED);
}

class Win32MailConnection : public MailConnection {
public:
    ~Win32MailConnection() override { Close(); }

    NetStatus Connect(const std::string& host, AddressKind kind, uint16_t port, int perAddressMs,
                      int totalMs) override {
        Close();
        const auto total = After(totalMs);
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = kind == AddressKind::Literal ? AI_NUMERICHOST : 0;
        addrinfo* list = nullptr;
        const int found = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list);
        if (found != 0 || !list) {
            error_ = "cannot find the server \"" + host + "\"";
            return NetStatus::Failed;
        }
        NetStatus status = NetStatus::Failed;
        for (addrinfo* a = list; a && socket_ == INVALID_SOCKET; a = a->ai_next) {
            if (MsLeft(total) == 0) {
                status = NetStatus::TimedOut;
                break;
            }
            status = TryAddress(*a, std::min(After(perAddressMs), total));
        }
        freeaddrinfo(list);
        if (status == NetStatus::TimedOut) error_ = "no connection to " + host + " in time";
        return socket_ != INVALID_SOCKET ? NetStatus::Ok : status;
    }

    NetStatus Send(std::string_view bytes, int timeoutMs) override {
        if (socket_ == INVALID_SOCKET) return Fail("not connected");
        const auto deadline = After(timeoutMs);
        if (!tls_) return RawSend(bytes.data(), bytes.size(), deadline);
        while (!bytes.empty()) {
            const size_t n = std::min<size_t>(bytes.size(), sizes_.cbMaximumMessage);
            std::vector<char> message(sizes_.cbHeader + n + sizes_.cbTrailer);
            std::memcpy(message.data() + sizes_.cbHeader, bytes.data(), n);
            SecBuffer buffers[4] = {
                {sizes_.cbHeader, SECBUFFER_STREAM_HEADER, message.data()},
                {static_cast<unsigned long>(n), SECBUFFER_DATA, message.data() + sizes_.cbHeader},
                {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, message.data() + sizes_.cbHeader + n},
                {0, SECBUFFER_EMPTY, nullptr}};
            SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
            const SECURITY_STATUS s = EncryptMessage(&context_, 0, &desc, 0);
            if (s != SEC_E_OK) return Fail(ErrorText("TLS send failed", s));
            const size_t total = buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer;
            const NetStatus sent = RawSend(message.data(), total, deadline);
            if (sent != NetStatus::Ok) return sent;
            bytes.remove_prefix(n);
        }
        return NetStatus::Ok;
    }

    NetStatus Receive(char* buffer, size_t capacity, size_t& received, int timeoutMs) override {
        received = 0;
        if (socket_ == INVALID_SOCKET) return Fail("not connected");
        if (capacity == 0) return NetStatus::Ok;
        const auto deadline = After(timeoutMs);
        if (!tls_) return RawReceive(buffer, capacity, received, deadline);
        while (plain_.empty()) {
            if (!encrypted_.empty()) {
                SecBuffer buffers[4] = {{static_cast<unsigned long>(encrypted_.size()), SECBUFFER_DATA, encrypted_.data()},
                                        {0, SECBUFFER_EMPTY, nullptr},
                                        {0, SECBUFFER_EMPTY, nullptr},
                                        {0, SECBUFFER_EMPTY, nullptr}};
                SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
                const SECURITY_STATUS s = DecryptMessage(&context_, &desc, 0, nullptr);
                if (s == SEC_E_OK) {
                    std::vector<char> extra;
                    for (SecBuffer& b : buffers) {
                        if (b.BufferType == SECBUFFER_DATA && b.cbBuffer)
                            plain_.insert(plain_.end(), static_cast<char*>(b.pvBuffer),
                                          static_cast<char*>(b.pvBuffer) + b.cbBuffer);
                        if (b.BufferType == SECBUFFER_EXTRA && b.cbBuffer)
                            extra.assign(static_cast<char*>(b.pvBuffer), static_cast<char*>(b.pvBuffer) + b.cbBuffer);
                    }
                    encrypted_.swap(extra);
                    continue;
                }
                if (s == SEC_I_CONTEXT_EXPIRED) return Closed();
                if (s != SEC_E_INCOMPLETE_MESSAGE) return Fail(ErrorText("TLS receive failed", s));
            }
            if (encrypted_.size() > kMaxRecord) return Fail("TLS record too large");
            char raw[4096];
            size_t got = 0;
            const NetStatus r = RawReceive(raw, sizeof raw, got, deadline);
            if (r != NetStatus::Ok) return r;
            encrypted_.insert(encrypted_.end(), raw, raw + got);
        }
        received = std::min(capacity, plain_.size());
        std::memcpy(buffer, plain_.data(), received);
        plain_.erase(plain_.begin(), plain_.begin() + static_cast<std::ptrdiff_t>(received));
        return NetStatus::Ok;
    }

    NetStatus StartTls(const std::string& host, AddressKind kind, int timeoutMs) override {
        if (socket_ == INVALID_SOCKET) return Fail("not connected");
        const auto deadline = After(timeoutMs);
        SCHANNEL_CRED settings{};
        settings.dwVersion = SCHANNEL_CRED_VERSION;
        // We verify the server ourselves after the handshake (see the file's head).
        settings.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
        TimeStamp expiry;
        SECURITY_STATUS s = AcquireCredentialsHandleA(nullptr, const_cast<char*>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND,
                                                      nullptr, &settings, nullptr, nullptr, &credentials_, &expiry);
        if (s != SEC_E_OK) return Fail(ErrorText("TLS is not available", s));
        hasCredentials_ = true;

        const DWORD wanted = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                             ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM | ISC_REQ_EXTENDED_ERROR;
        // Schannel sends the name as SNI; an address is no name to send.
        std::string target = kind == AddressKind::Name ? host : std::string();
        char* targetName = target.empty() ? nullptr : target.data();
        std::vector<char> incoming;
        bool first = true;
        for (;;) {
            SecBuffer in[2] = {{static_cast<unsigned long>(incoming.size()), SECBUFFER_TOKEN, incoming.data()},
                               {0, SECBUFFER_EMPTY, nullptr}};
            SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
            SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
            SecBufferDesc outDesc{SECBUFFER_VERSION, 1, out};
            DWORD got = 0;
            s = InitializeSecurityContextA(&credentials_, first ? nullptr : &context_, targetName, wanted, 0, 0,
                                           first ? nullptr : &inDesc, 0, first ? &context_ : nullptr, &outDesc,
                                           &got, &expiry);
            if (first && (s == SEC_E_OK || s == SEC_I_CONTINUE_NEEDED || out[0].cbBuffer)) hasContext_ = true;
            first = false;
            if (out[0].pvBuffer && out[0].cbBuffer) {
                const NetStatus sent = RawSend(static_cast<char*>(out[0].pvBuffer), out[0].cbBuffer, deadline);
                FreeContextBuffer(out[0].pvBuffer);
                if (sent != NetStatus::Ok) return sent;
            } else if (out[0].pvBuffer) {
                FreeContextBuffer(out[0].pvBuffer);
            }
            if (s == SEC_E_OK || s == SEC_I_CONTINUE_NEEDED) {
                // Bytes beyond this handshake message belong to the next step.
                std::vector<char> extra;
                if (in[1].BufferType == SECBUFFER_EXTRA && in[1].cbBuffer && in[1].cbBuffer <= incoming.size())
                    extra.assign(incoming.end() - in[1].cbBuffer, incoming.end());
                incoming.swap(extra);
                if (s == SEC_E_OK) break;
                if (!incoming.empty()) continue;
            } else if (s != SEC_E_INCOMPLETE_MESSAGE) {
                if (IsTrustFailure(s)) return NotTrusted(ErrorText("certificate not trusted", s));
                return Fail(ErrorText("TLS handshake failed", s));
            }
            if (incoming.size() > kMaxRecord) return Fail("TLS handshake too large");
            char raw[4096];
            size_t n = 0;
            const NetStatus r = RawReceive(raw, sizeof raw, n, deadline);
            if (r == NetStatus::TimedOut) return TimeOut("the TLS handshake took too long");
            if (r != NetStatus::Ok) return r;
            incoming.insert(incoming.end(), raw, raw + n);
        }
        const NetStatus verified = VerifyServer(host);
        if (verified != NetStatus::Ok) return verified;
        s = QueryContextAttributesA(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_);
        if (s != SEC_E_OK) return Fail(ErrorText("TLS is not available", s));
        encrypted_ = std::move(incoming);
        tls_ = true;
        return NetStatus::Ok;
    }

    void Close() override {
        if (hasContext_) DeleteSecurityContext(&context_);
        if (hasCredentials_) FreeCredentialsHandle(&credentials_);
        hasContext_ = hasCredentials_ = tls_ = false;
        plain_.clear();
        encrypted_.clear();
        if (socket_ != INVALID_SOCKET) closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }

    std::string LastError() const override { return error_; }

private:
    static constexpr size_t kMaxRecord = 64 * 1024;

    NetStatus TryAddress(const addrinfo& a, SteadyClock::time_point deadline) {
        SOCKET s = socket(a.ai_family, a.ai_socktype, a.ai_protocol);
        if (s == INVALID_SOCKET) return Fail(ErrorText("cannot make a socket", WSAGetLastError()));
        u_long nonBlocking = 1;
        ioctlsocket(s, FIONBIO, &nonBlocking);
        int r = connect(s, a.ai_addr, static_cast<int>(a.ai_addrlen));
        if (r != 0 && WSAGetLastError() == WSAEWOULDBLOCK) {
            fd_set writable, failed;
            FD_ZERO(&writable);
            FD_ZERO(&failed);
            FD_SET(s, &writable);
            FD_SET(s, &failed);
            const int ms = MsLeft(deadline);
            timeval tv{ms / 1000, (ms % 1000) * 1000};
            const int ready = select(0, nullptr, &writable, &failed, &tv);
            if (ready == 0) {
                closesocket(s);
                return TimeOut("no connection in time");
            }
            r = FD_ISSET(s, &writable) && !FD_ISSET(s, &failed) ? 0 : -1;
        }
        if (r != 0) {
            closesocket(s);
            return Fail("cannot connect");
        }
        socket_ = s;
        error_.clear();
        return NetStatus::Ok;
    }

    NetStatus RawSend(const char* data, size_t size, SteadyClock::time_point deadline) {
        while (size > 0) {
            const int n = send(socket_, data, static_cast<int>(std::min<size_t>(size, 1 << 20)), 0);
            if (n > 0) {
                data += n;
                size -= static_cast<size_t>(n);
                continue;
            }
            if (WSAGetLastError() != WSAEWOULDBLOCK) return Fail(ErrorText("send failed", WSAGetLastError()));
            if (MsLeft(deadline) == 0 || !WaitFor(socket_, true, deadline)) return TimeOut("sending took too long");
        }
        return NetStatus::Ok;
    }

    NetStatus RawReceive(char* buffer, size_t capacity, size_t& received, SteadyClock::time_point deadline) {
        for (;;) {
            const int n = recv(socket_, buffer, static_cast<int>(std::min<size_t>(capacity, 1 << 20)), 0);
            if (n > 0) {
                received = static_cast<size_t>(n);
                return NetStatus::Ok;
            }
            if (n == 0) return Closed();
            if (WSAGetLastError() != WSAEWOULDBLOCK) return Fail(ErrorText("receive failed", WSAGetLastError()));
            if (MsLeft(deadline) == 0 || !WaitFor(socket_, false, deadline))
                return TimeOut("the server did not answer in time");
        }
    }

    // The server's certificate chain must end in a root the system trusts and name host.
    NetStatus VerifyServer(const std::string& host) {
        PCCERT_CONTEXT certificate = nullptr;
        SECURITY_STATUS s = QueryContextAttributesA(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate);
        if (s != SEC_E_OK || !certificate) return NotTrusted("certificate not trusted: the server sent none");
        CERT_CHAIN_PARA chainPara{};
        chainPara.cbSize = sizeof chainPara;
        PCCERT_CHAIN_CONTEXT chain = nullptr;
        const BOOL built = CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore, &chainPara,
                                                   0, nullptr, &chain);
        CertFreeCertificateContext(certificate);
        if (!built || !chain) return NotTrusted("certificate not trusted: no chain");
        // The SSL policy below does not look at every chain fault on every system (wine
        // passes a chain that never reaches a root), so the chain's own status must be clean.
        const DWORD chainErrors = chain->TrustStatus.dwErrorStatus;
        if (chainErrors != CERT_TRUST_NO_ERROR) {
            CertFreeCertificateChain(chain);
            return NotTrusted(ErrorText("certificate not trusted: chain status", static_cast<long>(chainErrors)));
        }
        std::wstring name = Wide(host);
        SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
        ssl.cbSize = sizeof ssl;
        ssl.dwAuthType = AUTHTYPE_SERVER;
        ssl.pwszServerName = name.data();
        CERT_CHAIN_POLICY_PARA policy{};
        policy.cbSize = sizeof policy;
        policy.pvExtraPolicyPara = &ssl;
        CERT_CHAIN_POLICY_STATUS status{};
        status.cbSize = sizeof status;
        const BOOL checked = CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status);
        CertFreeCertificateChain(chain);
        if (!checked || status.dwError != 0)
            return NotTrusted(ErrorText("certificate not trusted", static_cast<long>(status.dwError)));
        return NetStatus::Ok;
    }

    NetStatus Fail(std::string text) {
        error_ = std::move(text);
        return NetStatus::Failed;
    }
    NetStatus TimeOut(std::string text) {
        error_ = std::move(text);
        return NetStatus::TimedOut;
    }
    NetStatus NotTrusted(std::string text) {
        error_ = std::move(text);
        return NetStatus::NotTrusted;
    }
    NetStatus Closed() {
        error_ = "the server closed the connection";
        return NetStatus::Closed;
    }

    SOCKET socket_ = INVALID_SOCKET;
    CredHandle credentials_{};
    CtxtHandle context_{};
    bool hasCredentials_ = false;
    bool hasContext_ = false;
    bool tls_ = false;
    SecPkgContext_StreamSizes sizes_{};
    std::vector<char> encrypted_;  // received, not yet decrypted
    std::vector<char> plain_;      // decrypted, not yet handed out
    std::string error_;
};

}  // namespace

std::unique_ptr<MailConnection> MakeMailConnection() { return std::make_unique<Win32MailConnection>(); }

bool NetworkStart() {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void NetworkStop() { WSACleanup(); }

}  // namespace lumi::platform
