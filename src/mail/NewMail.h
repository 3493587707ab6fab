// The new-mail checker: now and then, while the saver runs, asks the user's POP3 server
// how many messages wait, on a worker thread so the sky never stalls. It never reads or
// deletes mail.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/MailConnection.h"
#include "settings/IniFile.h"

namespace lumi {

class ProfileStore;

// How the connection is protected: the number stored as Email/Security.
enum class MailSecurity { Plain = 0, StartTls = 1, Implicit = 2 };

// Limits on every wait of one check, so a server that never answers cannot hold the
// worker (and with it every later check) forever.
struct MailTimeouts {
    int connectMs = 20000;
    int replyMs = 30000;
    int checkMs = 90000;
};

// What one check needs, copied for the worker so the saver's thread may change its own.
struct MailAccount {
    std::string popServer;
    std::string loginName;
    std::string password;  // readable
    MailSecurity security = MailSecurity::Implicit;
    int port = 995;
};

// Why a check failed, for `--check-mail`: the step ("connect", "USER", ...) and the cause.
struct MailCheckReport {
    std::string step;
    std::string why;
};

using MailConnectionFactory = std::function<std::unique_ptr<platform::MailConnection>()>;

class NewMailClass {
public:
    static constexpr const char* kPrivateFile = "LumivanPrivateSettings.ini";
    static constexpr int kMinCheckEvery = 5;
    static constexpr int kMaxCheckEvery = 65;
    static constexpr uint16_t kPop3Port = 110;
    static constexpr uint16_t kPop3sPort = 995;

    // Opens the private file in the settings folder ("$CURRENT") or in folder (ending with
    // a separator; "$DISABLE" opens nothing); store and user for tests.
    explicit NewMailClass(const std::string& folder = "$CURRENT", ProfileStore* store = nullptr,
                          std::string_view userName = {});
    NewMailClass(const NewMailClass&) = delete;
    NewMailClass& operator=(const NewMailClass&) = delete;

    void ReadMailSettings();
    void SaveMailSettings();
    void SuppressMail() { suppressed = 1; }
    void StartTimer();
    void StopMail();
    // The number of messages, 0 when a check is already running, -1 on failure, -2 when
    // the network library cannot start. Sets MailCount on success.
    int GetNumberOfMails(MailCheckReport* report = nullptr);

    // The timer without a window: the saver's thread calls this on every tick, and each
    // time a period has passed since the last firing, CheckTimerProc runs once.
    void TimerTick();

    MailAccount Account() const;

    // The account and its schedule, in the order of the private file.
    std::string popServer;
    std::string loginName;
    std::string password;  // readable in memory, scrambled in the file
    int checkEvery = 15;   // minutes as the dialog calls them; seconds of timer period
    int lan = 0;
    int enabled = 0;
    MailSecurity security = MailSecurity::Implicit;
    int port = kPop3sPort;
    int timerId = 0;
    std::atomic<int> eRunning{0};
    int suppressed = 0;

    // How long each wait may take and what connects; tests shorten and replace them.
    MailTimeouts timeouts;
    MailConnectionFactory connect;

private:
    IniFile ini_;
    uint32_t timerPeriodMs_ = 0;
    uint32_t lastFiredMs_ = 0;
};

// One check with a copied account: the body of GetNumberOfMails, shared with the worker.
int CheckMailbox(std::atomic<int>& eRunning, const MailAccount& account, const MailTimeouts& timeouts,
                 const MailConnectionFactory& connect, MailCheckReport* report);

// The timer callback: every 61st call after the first starts a check on a worker thread
// (when the LAN is set or exactly one modem connection is up).
void CheckTimerProc();

// The timer's tick for the instance StartTimer set running (none: nothing). Cheap enough
// for every sky step: no allocation, no file.
void MailTimerTick();

// Starts a check's worker. The default makes a detached thread; tests run it their way.
using MailThreadStarter = std::function<void(std::function<void()>)>;
void SetMailThreadStarter(MailThreadStarter starter);

// For tests: the timer counter back to its start and no instance served.
void ResetMailTimer();

// Whether a server name is a literal address: it starts with a decimal digit and holds a
// dot. Anything else is looked up by name.
bool IsLiteralAddress(const std::string& server);

// The module-wide instance, opened on first use (saver's thread).
NewMailClass& TheNewMail();
// For a run that must never check mail (a snapshot): the instance opens no file and is
// suppressed. Call before the first TheNewMail().
void SuppressMailForProcess();

}  // namespace lumi
