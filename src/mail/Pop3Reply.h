// Reading a POP3 server's replies: whole lines up to the line end, however the bytes
// arrive, and the message count of a STAT reply.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/MailConnection.h"

namespace lumi {

enum class ReplyStatus {
    Ok,
    TooLong,   // no line end within the first kMaxReplyLine bytes
    TimedOut,  // the line did not complete before the deadline
    Closed,    // the server closed the connection (also in the middle of a line)
    Failed,    // network error, see the connection's LastError
};

class Pop3LineReader {
public:
    // A reply line with its line end takes at most this many bytes.
    static constexpr size_t kMaxReplyLine = 1024;

    // One reply line without its line end ("\r\n"; a bare "\n" is taken as well). Bytes
    // after the line end stay for the next call.
    ReplyStatus ReadLine(platform::MailConnection& connection, std::chrono::steady_clock::time_point deadline,
                         std::string& line);

    // Bytes received after the last line. After STLS there must be none: whatever came
    // before the handshake was not protected by it.
    bool HasPending() const { return !pending_.empty(); }

private:
    std::string pending_;
};

// Whether a reply is positive: only its first byte counts.
bool IsPositiveReply(std::string_view line);

// The count of a STAT reply ("+OK 3 4521" gives 3): the number that starts at the fifth
// character, read as atoi reads it (leading blanks, a sign, digits; none gives 0).
// nullopt for a negative count or one that does not fit 32 bits.
std::optional<int> StatCount(std::string_view reply);

}  // namespace lumi
