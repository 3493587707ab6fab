// POP3 reply lines and the STAT count.
#include "mail/Pop3Reply.h"

#include <cstdint>

namespace lumi {

namespace {

int MsUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left);
}

bool IsAtoiSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

ReplyStatus Pop3LineReader::ReadLine(platform::MailConnection& connection,
                                     std::chrono::steady_clock::time_point deadline, std::string& line) {
    line.clear();
    for (;;) {
        const size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            if (end + 1 > kMaxReplyLine) return ReplyStatus::TooLong;
            line.assign(pending_, 0, end);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            pending_.erase(0, end + 1);
            return ReplyStatus::Ok;
        }
        if (pending_.size() >= kMaxReplyLine) return ReplyStatus::TooLong;
        const int left = MsUntil(deadline);
        if (left == 0) return ReplyStatus::TimedOut;
        // Never more than the line may still hold, so a flood costs one buffer.
        char buffer[kMaxReplyLine];
        size_t got = 0;
        switch (connection.Receive(buffer, kMaxReplyLine - pending_.size(), got, left)) {
            case platform::NetStatus::Ok:
                pending_.append(buffer, got);
                break;
            case platform::NetStatus::TimedOut:
                return ReplyStatus::TimedOut;
            case platform::NetStatus::Closed:
                return ReplyStatus::Closed;
            default:
                return ReplyStatus::Failed;
        }
    }
}

bool IsPositiveReply(std::string_view line) { return !line.empty() && line.front() == '+'; }

std::optional<int> StatCount(std::string_view reply) {
    if (reply.size() <= 4) return 0;
    std::string_view text = reply.substr(4);
    size_t i = 0;
    while (i < text.size() && IsAtoiSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        digits = true;
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX) return std::nullopt;
    }
    if (negative && digits && value != 0) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace lumi
