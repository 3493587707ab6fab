// Mail connections on POSIX systems: non-blocking sockets waited on with poll, so every
// wait has a limit, and OpenSSL for TLS with the system trust store (its default verify
// paths, so SSL_CERT_FILE and SSL_CERT_DIR work) and host-name verification.
#include "platform/Deadline.h"
#include "platform/MailConnection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace lumi::platform {

namespace {

// Waits for the socket to become readable or writable; false when the time ran out.
bool WaitFor(int fd, short events, SteadyClock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = poll(&p, 1, MsLeft(deadline));
        if (r > 0) return true;
        if (r == 0) return false;
        if (errno != EINTR) return true;  // the next call reports the error itself
    }
}

class PosixMailConnection : public MailConnection {
public:
    PosixMailConnection() {
        // A peer that closes while TLS writes would raise SIGPIPE and end the process;
        // plain sends use MSG_NOSIGNAL, but OpenSSL writes with write(). Blocked only on
        // the thread that talks to the server.
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    }
    ~PosixMailConnection() override { Close(); }

    NetStatus Connect(const std::string& host, AddressKind kind, uint16_t port, int perAddressMs,
                      int totalMs) override {
        Close();
        const auto total = After(totalMs);
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = kind == AddressKind::Literal ? AI_NUMERICHOST : AI_ADDRCONFIG;
        addrinfo* list = nullptr;
        const int found = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list);
        if (found != 0 || !list) {
            error_ = "cannot find the server \"" + host + "\": " + gai_strerror(found);
            return NetStatus::Failed;
        }
        NetStatus status = NetStatus::Failed;
        for (addrinfo* a = list; a && fd_ < 0; a = a->ai_next) {
            if (MsLeft(total) == 0) {
                status = NetStatus::TimedOut;
                break;
            }
            status = TryAddress(*a, std::min(After(perAddressMs), total));
        }
        freeaddrinfo(list);
        if (status == NetStatus::TimedOut) error_ = "no connection to " + host + " in time";
        return fd_ >= 0 ? NetStatus::Ok : status;
    }

    NetStatus Send(std::string_view bytes, int timeoutMs) override {
        if (fd_ < 0) return Fail("not connected");
        const auto deadline = After(timeoutMs);
        while (!bytes.empty()) {
            ssize_t n;
            short want = POLLOUT;
            if (ssl_) {
                ERR_clear_error();
                const int w = SSL_write(ssl_, bytes.data(), static_cast<int>(std::min<size_t>(bytes.size(), 1 << 20)));
                n = w;
                if (w <= 0) {
                    const int e = SSL_get_error(ssl_, w);
                    if (e == SSL_ERROR_WANT_READ) want = POLLIN;
                    else if (e != SSL_ERROR_WANT_WRITE) return Fail("TLS send failed");
                }
            } else {
                n = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
                if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                    return Fail(std::string("send failed: ") + std::strerror(errno));
            }
            if (n > 0) {
                bytes.remove_prefix(static_cast<size_t>(n));
                continue;
            }
            if (!WaitFor(fd_, want, deadline)) return TimeOut("sending took too long");
        }
        return NetStatus::Ok;
    }

    NetStatus Receive(char* buffer, size_t capacity, size_t& received, int timeoutMs) override {
        received = 0;
        if (fd_ < 0) return Fail("not connected");
        if (capacity == 0) return NetStatus::Ok;
        const auto deadline = After(timeoutMs);
        for (;;) {
            short want = POLLIN;
            if (ssl_) {
                ERR_clear_error();
                const int r = SSL_read(ssl_, buffer, static_cast<int>(std::min<size_t>(capacity, 1 << 20)));
                if (r > 0) {
                    received = static_cast<size_t>(r);
                    return NetStatus::Ok;
                }
                const int e = SSL_get_error(ssl_, r);
                if (e == SSL_ERROR_ZERO_RETURN) return Closed();
                if (e == SSL_ERROR_WANT_WRITE) want = POLLOUT;
                else if (e != SSL_ERROR_WANT_READ) return e == SSL_ERROR_SYSCALL ? Closed() : Fail("TLS receive failed");
            } else {
                const ssize_t r = recv(fd_, buffer, capacity, 0);
                if (r > 0) {
                    received = static_cast<size_t>(r);
                    return NetStatus::Ok;
                }
                if (r == 0) return Closed();
                if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                    return Fail(std::string("receive failed: ") + std::strerror(errno));
            }
            if (!WaitFor(fd_, want, deadline)) return TimeOut("the server did not answer in time");
        }
    }

    NetStatus StartTls(const std::string& host, AddressKind kind, int timeoutMs) override {
        if (fd_ < 0) return Fail("not connected");
        const auto deadline = After(timeoutMs);
        ctx_ = SSL_CTX_new(TLS_client_method());
        if (!ctx_) return Fail("TLS is not available");
        SSL_CTX_set_min_proto_version(ctx_, TLS1_2_VERSION);
        SSL_CTX_set_verify(ctx_, SSL_VERIFY_PEER, nullptr);
        if (SSL_CTX_set_default_verify_paths(ctx_) != 1) return Fail("cannot read the system's trusted certificates");
        ssl_ = SSL_new(ctx_);
        if (!ssl_ || SSL_set_fd(ssl_, fd_) != 1) return Fail("TLS is not available");
        X509_VERIFY_PARAM* param = SSL_get0_param(ssl_);
        if (kind == AddressKind::Literal) {
            if (X509_VERIFY_PARAM_set1_ip_asc(param, host.c_str()) != 1) return Fail("bad server address");
        } else {
            X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
            if (SSL_set1_host(ssl_, host.c_str()) != 1) return Fail("bad server name");
            SSL_set_tlsext_host_name(ssl_, host.c_str());
        }
        for (;;) {
            ERR_clear_error();
            const int r = SSL_connect(ssl_);
            if (r == 1) break;
            const int e = SSL_get_error(ssl_, r);
            short want;
            if (e == SSL_ERROR_WANT_READ) want = POLLIN;
            else if (e == SSL_ERROR_WANT_WRITE) want = POLLOUT;
            else {
                const long verify = SSL_get_verify_result(ssl_);
                if (verify != X509_V_OK) {
                    error_ = std::string("certificate not trusted: ") + X509_verify_cert_error_string(verify);
                    DropTls();
                    return NetStatus::NotTrusted;
                }
                DropTls();
                return Fail("TLS handshake failed");
            }
            if (!WaitFor(fd_, want, deadline)) {
                DropTls();
                return TimeOut("the TLS handshake took too long");
            }
        }
        // SSL_VERIFY_PEER already refuses a failed chain; this guards against a future
        // change of the verify mode ever letting an unverified peer through.
        if (SSL_get_verify_result(ssl_) != X509_V_OK || !SSL_get0_peer_certificate(ssl_)) {
            error_ = "certificate not trusted";
            DropTls();
            return NetStatus::NotTrusted;
        }
        return NetStatus::Ok;
    }

    void Close() override {
        if (ssl_ && fd_ >= 0) SSL_shutdown(ssl_);  // non-blocking: one try, no wait
        DropTls();
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

    std::string LastError() const override { return error_; }

private:
    NetStatus TryAddress(const addrinfo& a, SteadyClock::time_point deadline) {
        const int fd = socket(a.ai_family, a.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a.ai_protocol);
        if (fd < 0) {
            error_ = std::string("cannot make a socket: ") + std::strerror(errno);
            return NetStatus::Failed;
        }
        int r = connect(fd, a.ai_addr, a.ai_addrlen);
        if (r != 0 && errno == EINPROGRESS) {
            if (!WaitFor(fd, POLLOUT, deadline)) {
                close(fd);
                error_ = "no connection in time";
                return NetStatus::TimedOut;
            }
            int soError = 0;
            socklen_t len = sizeof soError;
            if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0) soError = errno;
            errno = soError;
            r = soError == 0 ? 0 : -1;
        }
        if (r != 0) {
            error_ = std::string("cannot connect: ") + std::strerror(errno);
            close(fd);
            return NetStatus::Failed;
        }
        fd_ = fd;
        error_.clear();
        return NetStatus::Ok;
    }

    void DropTls() {
        if (ssl_) SSL_free(ssl_);
        if (ctx_) SSL_CTX_free(ctx_);
        ssl_ = nullptr;
        ctx_ = nullptr;
    }

    NetStatus Fail(std::string text) {
        error_ = std::move(text);
        return NetStatus::Failed;
    }
    NetStatus TimeOut(std::string text) {
        error_ = std::move(text);
        return NetStatus::TimedOut;
    }
    NetStatus Closed() {
        error_ = "the server closed the connection";
        return NetStatus::Closed;
    }

    int fd_ = -1;
    SSL_CTX* ctx_ = nullptr;
    SSL* ssl_ = nullptr;
    std::string error_;
};

}  // namespace

std::unique_ptr<MailConnection> MakeMailConnection() { return std::make_unique<PosixMailConnection>(); }

bool NetworkStart() { return true; }
void NetworkStop() {}

}  // namespace lumi::platform
