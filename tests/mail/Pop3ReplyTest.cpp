// Reply lines read whole however the bytes arrive, and STAT counts read as atoi does but
// never wrapped.
#include "mail/Pop3Reply.h"

#include <gtest/gtest.h>

#include "mail/MailTestSupport.h"

namespace lumi {
namespace {

using testing::ScriptedConnection;

std::chrono::steady_clock::time_point Soon() { return std::chrono::steady_clock::now() + std::chrono::seconds(5); }

TEST(Pop3LineReader, JoinsALineThatArrivesInPieces) {
    ScriptedConnection c;
    c.chunks = {"+OK 1", "2 4521\r", "\n"};
    Pop3LineReader reader;
    std::string line;
    ASSERT_EQ(reader.ReadLine(c, Soon(), line), ReplyStatus::Ok);
    EXPECT_EQ(line, "+OK 12 4521");
    EXPECT_EQ(StatCount(line), 12);
}

TEST(Pop3LineReader, KeepsBytesAfterTheLineEndForTheNextReply) {
    ScriptedConnection c;
    c.chunks = {"+OK ready\r\n-ERR no\r\n+OK 3 10\n"};
    Pop3LineReader reader;
    std::string line;
    ASSERT_EQ(reader.ReadLine(c, Soon(), line), ReplyStatus::Ok);
    EXPECT_EQ(line, "+OK ready");
    ASSERT_EQ(reader.ReadLine(c, Soon(), line), ReplyStatus::Ok);
    EXPECT_EQ(line, "-ERR no");
    ASSERT_EQ(reader.ReadLine(c, Soon(), line), ReplyStatus::Ok);
    EXPECT_EQ(line, "+OK 3 10");
    EXPECT_EQ(reader.ReadLine(c, Soon(), line), ReplyStatus::Closed);
}

TEST(Pop3LineReader, RefusesALineLongerThan1024BytesAndNeverAsksForMore) {
    // 1023 bytes and CRLF make 1025: one too many.
    ScriptedConnection c;
    c.chunks = {std::string(1023, 'x') + "\r\n"};
    Pop3LineReader reader;
    std::string line;
    EXPECT_EQ(reader.ReadLine(c, Soon(), line), ReplyStatus::TooLong);
    EXPECT_LE(c.largestAsk, 1024u);

    // 1022 and CRLF just fit, even in pieces.
    ScriptedConnection fits;
    fits.chunks = {"+" + std::string(1021, 'y') + "\r", "\n"};
    Pop3LineReader other;
    ASSERT_EQ(other.ReadLine(fits, Soon(), line), ReplyStatus::Ok);
    EXPECT_EQ(line.size(), 1022u);
}

TEST(Pop3LineReader, ReportsACloseInTheMiddleOfALineAndATimeOut) {
    ScriptedConnection closes;
    closes.chunks = {"+OK 1"};
    Pop3LineReader reader;
    std::string line;
    EXPECT_EQ(reader.ReadLine(closes, Soon(), line), ReplyStatus::Closed);
    EXPECT_EQ(line, "");

    ScriptedConnection silent;
    silent.whenEmpty = platform::NetStatus::TimedOut;
    Pop3LineReader second;
    EXPECT_EQ(second.ReadLine(silent, Soon(), line), ReplyStatus::TimedOut);
    // A deadline already passed never waits at all.
    ScriptedConnection late;
    late.chunks = {"+OK\r\n"};
    Pop3LineReader third;
    EXPECT_EQ(third.ReadLine(late, std::chrono::steady_clock::now() - std::chrono::seconds(1), line),
              ReplyStatus::TimedOut);
}

TEST(Pop3Reply, OnlyTheFirstByteDecides) {
    EXPECT_TRUE(IsPositiveReply("+OK"));
    EXPECT_TRUE(IsPositiveReply("+"));
    EXPECT_FALSE(IsPositiveReply("-ERR +OK"));
    EXPECT_FALSE(IsPositiveReply(" +OK"));
    EXPECT_FALSE(IsPositiveReply(""));
}

TEST(Pop3Reply, StatCountStartsAtTheFifthCharacterAsAtoiReadsIt) {
    EXPECT_EQ(StatCount("+OK 3 4521"), 3);
    EXPECT_EQ(StatCount("+OK 0 0"), 0);
    EXPECT_EQ(StatCount("+OK   7 100"), 7);      // leading blanks skipped
    EXPECT_EQ(StatCount("+OK +8 1"), 8);         // a plus sign is allowed
    EXPECT_EQ(StatCount("+OK 12abc"), 12);       // digits up to the first other byte
    EXPECT_EQ(StatCount("+OK"), 0);              // nothing there reads as 0
    EXPECT_EQ(StatCount("+OK messages"), 0);
    EXPECT_EQ(StatCount("+YES 5 9"), 5);         // index 4 is the blank before "5"
    EXPECT_EQ(StatCount("+OK 2147483647 1"), 2147483647);
    EXPECT_EQ(StatCount("+OK -0 1"), 0);
}

TEST(Pop3Reply, StatCountRefusesWhatAtoiWouldWrap) {
    EXPECT_EQ(StatCount("+OK 99999999999999999999"), std::nullopt);
    EXPECT_EQ(StatCount("+OK 2147483648 1"), std::nullopt);
    EXPECT_EQ(StatCount("+OK 4294967299 1"), std::nullopt);  // would wrap to 3 in 32 bits
    EXPECT_EQ(StatCount("+OK -1 0"), std::nullopt);
    EXPECT_EQ(StatCount("+OK -2147483648"), std::nullopt);
}

}  // namespace
}  // namespace lumi
