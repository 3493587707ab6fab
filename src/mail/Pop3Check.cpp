// One POP3 check: connect, greet, log on, STAT, QUIT. Every wait is limited and every
// reply is read to its line end; any failure leaves MailCount as it was.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "mail/MailCount.h"
#include "mail/NewMail.h"
#include "mail/Pop3Reply.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi {

namespace {

using SteadyClock = std::chrono::steady_clock;
using platform::NetStatus;

void Trace(const char* text) { AppLog().Info.Log("GetNumberOfMails", text); }

int MsUntil(SteadyClock::time_point t) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(t - SteadyClock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left);
}

// A name or password with a line end would let the text after it run as a command of
// its own on the server.
bool FitsOneCommand(const std::string& text) { return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos; }

const char* ReplyProblem(ReplyStatus status) {
    switch (status) {
        case ReplyStatus::TooLong: return "the reply line is too long";
        case ReplyStatus::TimedOut: return "the server did not answer in time";
        case ReplyStatus::Closed: return "the server closed the connection";
        case ReplyStatus::Failed: return "receive failed";
        case ReplyStatus::Ok: break;
    }
    return "";
}

class Pop3Session {
public:
    Pop3Session(platform::MailConnection& connection, const MailTimeouts& timeouts, MailCheckReport* report)
        : connection_(connection),
          timeouts_(timeouts),
          checkDeadline_(SteadyClock::now() + std::chrono::milliseconds(timeouts.checkMs)),
          report_(report) {}

    SteadyClock::time_point ReplyDeadline() const {
        return std::min(checkDeadline_, SteadyClock::now() + std::chrono::milliseconds(timeouts_.replyMs));
    }
    int ConnectLimit() const { return std::min(timeouts_.connectMs, MsUntil(checkDeadline_)); }
    int CheckLeft() const { return MsUntil(checkDeadline_); }

    // Sends a command; a failed send is left for the reply to decide, as it always shows there.
    void Send(const std::string& command) {
        connection_.Send(command, MsUntil(ReplyDeadline()));
    }

    // The reply line; an empty line (never positive) when none came whole.
    std::string Reply(const char* step) {
        std::string line;
        const ReplyStatus status = reader_.ReadLine(connection_, ReplyDeadline(), line);
        if (status == ReplyStatus::Ok) {
            lastReply_ = line;
            return line;
        }
        Fail(step, status == ReplyStatus::Failed ? connection_.LastError() : ReplyProblem(status));
        lastReply_.clear();
        return {};
    }

    bool ReplyHasMore() const { return reader_.HasPending(); }

    void Fail(const char* step, const std::string& why) {
        if (report_ && report_->step.empty()) {
            report_->step = step;
            report_->why = why;
        }
    }
    // A negative reply: the server's own words say why.
    void Refused(const char* step) { Fail(step, lastReply_.empty() ? "no reply" : "the server said \"" + lastReply_ + "\""); }

private:
    platform::MailConnection& connection_;
    MailTimeouts timeouts_;
    SteadyClock::time_point checkDeadline_;
    MailCheckReport* report_;
    Pop3LineReader reader_;
    std::string lastReply_;
};

// Connects and, for POP3S, starts TLS at once; for STLS after the greeting. False on
// any failure, with the log line and the report written.
bool OpenProtected(Pop3Session& session, platform::MailConnection& connection, const MailAccount& account) {
    const platform::AddressKind kind =
        IsLiteralAddress(account.popServer) ? platform::AddressKind::Literal : platform::AddressKind::Name;
    const NetStatus connected = connection.Connect(account.popServer, kind, static_cast<uint16_t>(account.port),
                                                   session.ConnectLimit(), session.CheckLeft());
    if (connected != NetStatus::Ok) {
        session.Fail("connect", connection.LastError());
        return false;
    }
    Trace("Connected");
    auto startTls = [&]() {
        const NetStatus tls = connection.StartTls(account.popServer, kind, session.CheckLeft());
        if (tls == NetStatus::Ok) return true;
        if (tls == NetStatus::NotTrusted) Trace("certificate not trusted");
        session.Fail("TLS", connection.LastError());
        return false;
    };
    if (account.security == MailSecurity::Implicit && !startTls()) return false;

    if (!IsPositiveReply(session.Reply("greeting"))) {
        Trace("Cannot receive");
        session.Refused("greeting");
        return false;
    }
    if (account.security == MailSecurity::StartTls) {
        session.Send("STLS\r\n");
        if (!IsPositiveReply(session.Reply("STLS"))) {
            Trace("STLS refused");
            session.Refused("STLS");
            return false;
        }
        if (session.ReplyHasMore()) {
            // Plain bytes sent after the go-ahead would be read as if TLS protected them.
            Trace("STLS refused");
            session.Fail("STLS", "the server sent more than its reply");
            return false;
        }
        if (!startTls()) return false;
    }
    return true;
}

}  // namespace

int CheckMailbox(std::atomic<int>& eRunning, const MailAccount& account, const MailTimeouts& timeouts,
                 const MailConnectionFactory& connect, MailCheckReport* report) {
    Trace("Entering");
    const int running = eRunning.load();
    if (running < 0 || running > 1) {
        char text[40];
        std::snprintf(text, sizeof text, "eRunning=%i", running);
        AddError(text);
        AppLog().Warning.Log("GetNumberOfMails/running", text);
    }
    if (eRunning.fetch_add(1) != 0) {
        eRunning.fetch_sub(1);
        if (report) *report = {"start", "a check is already running"};
        return 0;
    }
    // However the check ends, even by an exception, the next one may run.
    struct RunGuard {
        std::atomic<int>& count;
        ~RunGuard() { count.fetch_sub(1); }
    } runGuard{eRunning};
    if (!platform::NetworkStart()) {
        if (report) *report = {"start", "the network library cannot start"};
        return -2;
    }
    struct NetworkGuard {
        ~NetworkGuard() { platform::NetworkStop(); }
    } networkGuard;

    // Closed before the network library is released (declared after its guard).
    std::unique_ptr<platform::MailConnection> connection = connect ? connect() : platform::MakeMailConnection();
    auto abort = [&]() {
        if (connection) connection->Close();
        Trace("aborted");
        return -1;
    };
    if (!connection) {
        if (report) *report = {"connect", "no connection could be made"};
        return abort();
    }
    Pop3Session session(*connection, timeouts, report);
    if (!FitsOneCommand(account.loginName) || !FitsOneCommand(account.password)) {
        session.Fail("settings", "the log-on name or password holds a line break");
        return abort();
    }
    if (!OpenProtected(session, *connection, account)) return abort();

    session.Send("USER " + account.loginName + "\r\n");
    if (!IsPositiveReply(session.Reply("USER"))) {
        Trace("Does not accept user");
        session.Refused("USER");
        return abort();
    }
    session.Send("PASS " + account.password + "\r\n");
    if (!IsPositiveReply(session.Reply("PASS"))) {
        Trace("Does not accept password");
        session.Refused("PASS");
        return abort();
    }
    Trace("password accepted");
    session.Send("STAT \r\n");
    const std::string stat = session.Reply("STAT");
    if (!IsPositiveReply(stat)) {
        session.Refused("STAT");
        return abort();
    }
    const std::optional<int> count = StatCount(stat);
    if (!count) {
        Trace("Bad message count");
        session.Fail("STAT", "the message count \"" + stat + "\" is not a count");
        return abort();
    }
    session.Send("QUIT \r\n");
    connection->Close();
    MailCount.store(*count);
    return *count;
}

}  // namespace lumi
