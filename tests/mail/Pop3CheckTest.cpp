// One check against servers in this process that misbehave on purpose: each ends with the
// right result, the count unchanged on failure, and within its (shortened) time-outs.
#include <gtest/gtest.h>

#include <chrono>

#include "common/TestSupport.h"
#include "mail/MailCount.h"
#include "mail/MailTestSupport.h"
#include "mail/NewMail.h"
#include "base/Log.h"

namespace lumi {
namespace {

using testing::ScriptedServer;
using testing::ScriptPeer;
using Clock = std::chrono::steady_clock;

constexpr int kUnchanged = 41;

class Pop3CheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        MailCount.store(kUnchanged);
        // Generous, so a busy machine never fails a well-behaved server; the tests of
        // the time-outs shorten them, since a late server only ends those sooner.
        timeouts.connectMs = 10000;
        timeouts.replyMs = 10000;
        timeouts.checkMs = 30000;
    }
    void ShortTimeOuts() {
        timeouts.replyMs = 400;
        timeouts.checkMs = 1500;
    }

    // Checks plain POP3 against the server; the report says where it stopped.
    int Check(const ScriptedServer& server, const std::string& password = "moon-pass-7") {
        MailAccount account;
        account.popServer = "127.0.0.1";
        account.loginName = "skywatcher";
        account.password = password;
        account.security = MailSecurity::Plain;
        account.port = server.Port();
        const auto start = Clock::now();
        const int result = CheckMailbox(eRunning, account, timeouts, nullptr, &report);
        elapsed = Clock::now() - start;
        return result;
    }
    bool Logged(const std::string& text) { return FileContainsText(folder.File("log.txt"), text); }
    // Well inside the generous limits: the short time-out ended the check, not a hang.
    bool EndedInTime() const { return elapsed < std::chrono::seconds(8); }

    testing::TempFolder folder;
    MailTimeouts timeouts;
    std::atomic<int> eRunning{0};
    MailCheckReport report;
    Clock::duration elapsed{};
};

// A well-behaved server up to the step named, which gets "-ERR" instead.
ScriptedServer RefusingAt(const std::string& step) {
    return ScriptedServer([step](ScriptPeer& peer) {
        if (step == "greeting") {
            peer.Send("-ERR go away\r\n");
            return;
        }
        peer.Send("+OK ready\r\n");
        for (const char* command : {"USER", "PASS", "STAT"}) {
            const std::string line = peer.ReadLine();
            if (line.rfind(command, 0) != 0) return;
            if (step == command) {
                peer.Send("-ERR no " + std::string(command) + "\r\n");
                return;
            }
            peer.Send(std::string(command) == "STAT" ? "+OK 3 4521\r\n" : "+OK\r\n");
        }
        peer.ReadLine();
    });
}

TEST_F(Pop3CheckTest, AWellBehavedServerGivesItsCountAndHearsTheWholeDialogue) {
    std::vector<std::string> heard;
    {
        ScriptedServer server([&heard](ScriptPeer& peer) {
            peer.Send("+OK ready\r\n");
            for (const char* reply : {"+OK\r\n", "+OK\r\n", "+OK 3 4521\r\n"}) {
                heard.push_back(peer.ReadLine());
                peer.Send(reply);
            }
            heard.push_back(peer.ReadLine());
        });
        EXPECT_EQ(Check(server), 3);
    }
    EXPECT_EQ(MailCount.load(), 3);
    EXPECT_EQ(eRunning.load(), 0);
    EXPECT_TRUE(report.step.empty());
    EXPECT_TRUE(Logged("GetNumberOfMails: Connected"));
    EXPECT_TRUE(Logged("GetNumberOfMails: password accepted"));
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard[0], "USER skywatcher");
    EXPECT_EQ(heard[1], "PASS moon-pass-7");
    EXPECT_EQ(heard[2], "STAT ");
    EXPECT_EQ(heard[3], "QUIT ");
}

TEST_F(Pop3CheckTest, ANegativeReplyAtEachStepAborts) {
    const std::pair<const char*, const char*> steps[] = {
        {"greeting", "Cannot receive"}, {"USER", "Does not accept user"}, {"PASS", "Does not accept password"},
        {"STAT", nullptr}};
    for (const auto& [step, line] : steps) {
        report = {};
        {
            ScriptedServer server = RefusingAt(step);
            EXPECT_EQ(Check(server), -1) << step;
        }
        EXPECT_EQ(report.step, step);
        EXPECT_NE(report.why.find("-ERR"), std::string::npos) << report.why;
        if (line) {
            EXPECT_TRUE(Logged(std::string("GetNumberOfMails: ") + line)) << step;
        }
        EXPECT_EQ(MailCount.load(), kUnchanged);
        EXPECT_EQ(eRunning.load(), 0);
    }
    EXPECT_TRUE(Logged("GetNumberOfMails: aborted"));
}

TEST_F(Pop3CheckTest, AServerThatNeverAnswersEndsWithinTheReplyTimeOut) {
    ShortTimeOuts();
    ScriptedServer server([](ScriptPeer& peer) { peer.WaitForClose(); });
    EXPECT_EQ(Check(server), -1);
    EXPECT_EQ(report.step, "greeting");
    EXPECT_TRUE(EndedInTime());
    EXPECT_EQ(MailCount.load(), kUnchanged);
    EXPECT_EQ(eRunning.load(), 0);  // so the next check runs again
}

TEST_F(Pop3CheckTest, OneByteAtATimeCannotStretchAReplyPastItsTimeOut) {
    ShortTimeOuts();
    ScriptedServer server([](ScriptPeer& peer) {
        const std::string greeting = "+OK slow server ready\r\n";
        for (char c : greeting) {
            if (!peer.Send(std::string(1, c))) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
    EXPECT_EQ(Check(server), -1);
    EXPECT_EQ(report.step, "greeting");
    EXPECT_EQ(report.why, "the server did not answer in time");
    EXPECT_TRUE(EndedInTime());
}

TEST_F(Pop3CheckTest, TheWholeCheckHasALimitEvenWhenEachReplyIsInTime) {
    timeouts.replyMs = 1000;
    timeouts.checkMs = 900;
    ScriptedServer server([](ScriptPeer& peer) {
        peer.Send("+OK ready\r\n");
        for (int i = 0; i < 3; ++i) {
            if (peer.ReadLine().empty()) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            peer.Send(i == 2 ? "+OK 3 1\r\n" : "+OK\r\n");
        }
    });
    EXPECT_EQ(Check(server), -1);
    EXPECT_EQ(MailCount.load(), kUnchanged);
}

TEST_F(Pop3CheckTest, TenMegabytesWithoutALineEndAbortAfterOneLine) {
    ScriptedServer server([](ScriptPeer& peer) {
        const std::string block(64 * 1024, 'A');
        for (int i = 0; i < 160 && peer.Send(block); ++i) {
        }
    });
    EXPECT_EQ(Check(server), -1);
    EXPECT_EQ(report.why, "the reply line is too long");
    EXPECT_EQ(MailCount.load(), kUnchanged);
}

TEST_F(Pop3CheckTest, ACountBeyond32BitsIsAnAbortNotAWrappedNumber) {
    for (const char* reply : {"+OK 99999999999999999999\r\n", "+OK 4294967299 10\r\n", "+OK -1 0\r\n"}) {
        ScriptedServer server([reply](ScriptPeer& peer) {
            peer.Send("+OK\r\n");
            for (int i = 0; i < 3; ++i) {
                if (peer.ReadLine().empty()) return;
                peer.Send(i == 2 ? reply : "+OK\r\n");
            }
        });
        EXPECT_EQ(Check(server), -1) << reply;
        EXPECT_EQ(MailCount.load(), kUnchanged);
    }
}

TEST_F(Pop3CheckTest, AConnectionClosedMidLineAborts) {
    ScriptedServer server([](ScriptPeer& peer) {
        peer.Send("+OK\r\n");
        peer.ReadLine();
        peer.Send("+OK\r\n");
        peer.ReadLine();
        peer.Send("+OK\r\n");
        peer.ReadLine();
        peer.Send("+OK 1");  // and gone
    });
    EXPECT_EQ(Check(server), -1);
    EXPECT_EQ(report.why, "the server closed the connection");
    EXPECT_EQ(MailCount.load(), kUnchanged);
}

TEST_F(Pop3CheckTest, ACountSplitAcrossPacketsIsReadWhole) {
    ScriptedServer server([](ScriptPeer& peer) {
        peer.Send("+OK\r\n");
        peer.ReadLine();
        peer.Send("+OK\r\n");
        peer.ReadLine();
        peer.Send("+OK\r\n");
        peer.ReadLine();
        peer.Send("+OK 1");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        peer.Send("2 4521\r\n");
        peer.ReadLine();
    });
    EXPECT_EQ(Check(server), 12);
}

TEST_F(Pop3CheckTest, StatZeroClearsTheNotice) {
    ScriptedServer server([](ScriptPeer& peer) {
        peer.Send("+OK\r\n");
        for (int i = 0; i < 3; ++i) {
            if (peer.ReadLine().empty()) return;
            peer.Send(i == 2 ? "+OK 0 0\r\n" : "+OK\r\n");
        }
        peer.ReadLine();
    });
    EXPECT_EQ(Check(server), 0);
    EXPECT_EQ(MailCount.load(), 0);
}

TEST_F(Pop3CheckTest, APasswordWithALineEndIsNeverSent) {
    std::string first;
    {
        ScriptedServer server([&first](ScriptPeer& peer) { first = peer.ReadLine(2000); });
        EXPECT_EQ(Check(server, "pw\r\nDELE 1"), -1);
        EXPECT_EQ(report.step, "settings");
        // The check never connected; this lets the server's script end.
        auto c = platform::MakeMailConnection();
        c->Connect("127.0.0.1", platform::AddressKind::Literal, server.Port(), 1000, 1000);
        c->Send("probe\r\n", 1000);
    }
    EXPECT_EQ(first, "probe");
}

TEST_F(Pop3CheckTest, RepliesSmuggledInBeforeTheTlsHandshakeAreRefused) {
    MailAccount account;
    account.popServer = "pop.example.org";
    account.security = MailSecurity::StartTls;
    auto connect = []() {
        auto c = std::make_unique<testing::ScriptedConnection>();
        c->chunks = {"+OK ready\r\n", "+OK begin TLS\r\n+OK\r\n+OK\r\n+OK 5 0\r\n"};
        return c;
    };
    EXPECT_EQ(CheckMailbox(eRunning, account, timeouts, connect, &report), -1);
    EXPECT_EQ(report.step, "STLS");
    EXPECT_EQ(MailCount.load(), kUnchanged);
    EXPECT_EQ(eRunning.load(), 0);

    // The same server without the smuggled lines gets the log-on through TLS.
    auto honest = []() {
        auto c = std::make_unique<testing::ScriptedConnection>();
        c->chunks = {"+OK ready\r\n", "+OK begin TLS\r\n", "+OK\r\n", "+OK\r\n", "+OK 5 0\r\n"};
        return c;
    };
    report = {};
    EXPECT_EQ(CheckMailbox(eRunning, account, timeouts, honest, &report), 5) << report.why;
}

TEST_F(Pop3CheckTest, NamesAreLookedUpAndNothingListeningFailsAtConnect) {
    const uint16_t closedPort = testing::FreePort();
    MailAccount account;
    account.popServer = "localhost";  // by name, through the resolver
    account.security = MailSecurity::Plain;
    account.port = closedPort;
    EXPECT_EQ(CheckMailbox(eRunning, account, timeouts, nullptr, &report), -1);
    EXPECT_EQ(report.step, "connect");
    EXPECT_EQ(eRunning.load(), 0);

    // A name that starts with a digit but has no dot goes to the resolver as a name, and
    // "1.2.3.x" is taken as an address however wrong it is: neither is found.
    report = {};
    account.popServer = "999.1.2.x";
    EXPECT_EQ(CheckMailbox(eRunning, account, timeouts, nullptr, &report), -1);
    EXPECT_EQ(report.step, "connect");
    EXPECT_NE(report.why.find("cannot find the server"), std::string::npos);
}

}  // namespace
}  // namespace lumi
