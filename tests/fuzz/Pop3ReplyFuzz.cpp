// Fuzz entry for a mail server's replies: any byte stream, cut into packets anywhere, ends
// the check with a count or an abort, never a crash, and the cuts never change the result.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include "mail/MailCount.h"
#include "mail/NewMail.h"
#include "base/Log.h"

namespace {

// Replays the server's bytes packet by packet, then reports the connection closed.
class ReplayConnection : public lumi::platform::MailConnection {
public:
    explicit ReplayConnection(std::deque<std::string> packets) : packets_(std::move(packets)) {}

    lumi::platform::NetStatus Connect(const std::string&, lumi::platform::AddressKind, uint16_t, int, int) override {
        return lumi::platform::NetStatus::Ok;
    }
    lumi::platform::NetStatus Send(std::string_view, int) override { return lumi::platform::NetStatus::Ok; }
    lumi::platform::NetStatus Receive(char* buffer, size_t capacity, size_t& received, int) override {
        received = 0;
        if (packets_.empty()) return lumi::platform::NetStatus::Closed;
        std::string& front = packets_.front();
        received = std::min(capacity, front.size());
        std::memcpy(buffer, front.data(), received);
        front.erase(0, received);
        if (front.empty()) packets_.pop_front();
        return lumi::platform::NetStatus::Ok;
    }
    lumi::platform::NetStatus StartTls(const std::string&, lumi::platform::AddressKind, int) override {
        return lumi::platform::NetStatus::Ok;
    }
    void Close() override {}
    std::string LastError() const override { return "replayed"; }

private:
    std::deque<std::string> packets_;
};

int Run(const std::deque<std::string>& packets, lumi::MailSecurity security) {
    std::atomic<int> running{0};
    lumi::MailAccount account;
    account.popServer = "127.0.0.1";
    account.loginName = "skywatcher";
    account.password = "moon";
    account.security = security;
    const lumi::MailConnectionFactory connect = [&packets] { return std::make_unique<ReplayConnection>(packets); };
    lumi::MailCount.store(-7);
    const int result = lumi::CheckMailbox(running, account, lumi::MailTimeouts{}, connect, nullptr);
    if (running.load() != 0) std::abort();                         // the next check would never run
    if (result < -1) std::abort();
    if (result >= 0 && lumi::MailCount.load() != result) std::abort();
    if (result == -1 && lumi::MailCount.load() != -7) std::abort();  // a failure keeps the count
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static char path[] = "/tmp/lumivane-pop3-fuzz-XXXXXX";
    const int fd = mkstemp(path);
    if (fd >= 0) close(fd);
    lumi::RestartLogAt(path);
    return 0;
}

// Byte 0xFE marks a packet boundary; over plain POP3 the same stream as one packet must end
// the same way. With STLS it may not: bytes that came with the go-ahead are refused.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::deque<std::string> cut(1);
    std::string whole;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFE) {
            cut.emplace_back();
            continue;
        }
        cut.back() += static_cast<char>(data[i]);
        whole += static_cast<char>(data[i]);
    }
    std::deque<std::string> packets;
    for (std::string& p : cut)
        if (!p.empty()) packets.push_back(std::move(p));
    std::deque<std::string> single;
    if (!whole.empty()) single.push_back(whole);
    if (Run(packets, lumi::MailSecurity::Plain) != Run(single, lumi::MailSecurity::Plain)) std::abort();
    Run(packets, lumi::MailSecurity::StartTls);
    return 0;
}
