// The new-mail checker: its settings in the private file, its timer and its worker.
#include "mail/NewMail.h"

#include <system_error>
#include <thread>
#include <vector>

#include "base/Clock.h"
#include "base/Log.h"
#include "mail/MailCount.h"
#include "mail/RasApi.h"
#include "platform/PrivateFile.h"
#include "platform/System.h"

namespace lumi {

namespace {

constexpr const char* kSection = "Email";
// The dialog keeps 78 characters of each text. Stored, a character may take two: a
// backslash (a DOMAIN\user log-on) is doubled, and scrambling turns some password
// characters into two bytes. The texts are read and scrambled with room for all of it,
// so what the dialog saved comes back whole.
constexpr size_t kTextChars = 78;
constexpr size_t kTextSize = 2 * kTextChars + 2;
constexpr size_t kScrambleCapacity = 2 * kTextChars + 1;
// The examples the dialog shows until the user types real values.
constexpr const char* kExampleLoginName = "<your log-on name>";
constexpr const char* kExampleServer = "<pop.example.com>";
// No key of an account can hold this, so reading it back means "never saved".
constexpr const char* kUnset = "\x01";

void Trace(const char* text) { AppLog().Info.Log("NewMailClass", text); }

// Module-wide timer state, saver's thread only.
uint16_t checkTimerCounter = 60;
NewMailClass* timerInstance = nullptr;
MailThreadStarter threadStarter;
// Never destroyed, nor the instances it replaced: a worker may still be waiting on the
// network at exit.
NewMailClass* theNewMail = nullptr;
std::string theNewMailFolder;
std::vector<NewMailClass*>* retiredNewMail = nullptr;
bool mailSuppressedForProcess = false;

uint16_t DefaultPort(MailSecurity security) {
    return security == MailSecurity::Implicit ? NewMailClass::kPop3sPort : NewMailClass::kPop3Port;
}

std::string PrivateFilePath(const std::string& folder) {
    std::string base = folder == "$CURRENT" ? platform::SettingsFolder() : folder;
    return base + NewMailClass::kPrivateFile;
}

void StartWorker(std::function<void()> work) {
    if (threadStarter) {
        threadStarter(std::move(work));
        return;
    }
    try {
        std::thread(std::move(work)).detach();
    } catch (const std::system_error&) {
        AppLog().Warning.Log("NewMailClass", "Cannot create thread");
    }
}

}  // namespace

NewMailClass::NewMailClass(const std::string& folder, ProfileStore* store, std::string_view userName)
    : ini_(store, userName) {
    if (folder == "$DISABLE") {
        ini_.Init("$DISABLE", kPrivateFile);
        return;
    }
    // Made owner-only before the first write puts anything in it; the store keeps the
    // mode of an existing file when it rewrites it.
    const std::string path = PrivateFilePath(folder);
    if (!store && !platform::MakePrivateFile(path)) AppLog().Warning.Log("NewMailClass", "Cannot protect " + path);
    ini_.Init(folder, folder == "$CURRENT" ? "\\LumivanPrivateSettings.ini" : kPrivateFile);
}

void NewMailClass::ReadMailSettings() {
    enabled = MainIni().ReadIntForUser(kSection, "Enabled", 0) != 0 ? 1 : 0;
    const std::string storedLogin = ini_.ReadStringForUser(kSection, "LoginName", kUnset, kTextSize);
    const std::string storedServer = ini_.ReadStringForUser(kSection, "PopServer", kUnset, kTextSize);
    const bool neverSaved = storedLogin == kUnset && storedServer == kUnset;
    loginName = storedLogin == kUnset ? kExampleLoginName : storedLogin;
    popServer = storedServer == kUnset ? kExampleServer : storedServer;
    password = ini_.ReadStringForUser(kSection, "Password", "", kTextSize);
    UnscrambleText(password);

    const long every = ini_.ReadIntForUser(kSection, "CheckEvery", 15);
    checkEvery = every <= kMinCheckEvery ? kMinCheckEvery : every >= kMaxCheckEvery ? kMaxCheckEvery
                                                                                    : static_cast<int>(every);
    lan = ini_.ReadIntForUser(kSection, "LAN", 0) != 0 ? 1 : 0;

    // A new account gets TLS; an account saved before there was a choice keeps plain
    // POP3, so nothing changes under a user's feet. Anything else stored means TLS.
    const long stored = ini_.ReadIntForUser(kSection, "Security", -1);
    if (stored == -1) security = neverSaved ? MailSecurity::Implicit : MailSecurity::Plain;
    else if (stored == 0 || stored == 1) security = static_cast<MailSecurity>(stored);
    else security = MailSecurity::Implicit;
    const long p = ini_.ReadIntForUser(kSection, "Port", DefaultPort(security));
    port = p >= 1 && p <= 65535 ? static_cast<int>(p) : DefaultPort(security);
}

void NewMailClass::SaveMailSettings() {
    ini_.WriteStringForUser(kSection, "LoginName", loginName);
    // Scrambled in a copy: the readable password stays usable for the next check.
    std::string stored = password;
    ScrambleText(stored, kScrambleCapacity);
    ini_.WriteStringForUser(kSection, "Password", stored);
    ini_.WriteStringForUser(kSection, "PopServer", popServer);
    ini_.WriteUIntForUser(kSection, "CheckEvery", static_cast<unsigned long>(checkEvery));
    ini_.WriteUIntForUser(kSection, "LAN", static_cast<unsigned long>(lan));
    ini_.WriteUIntForUser(kSection, "Security", static_cast<unsigned long>(security));
    ini_.WriteUIntForUser(kSection, "Port", static_cast<unsigned long>(port));
}

void NewMailClass::StartTimer() {
    Trace("StartTimer");
    ReadMailSettings();
    if (enabled && !suppressed) {
        RasApiDLL().LoadDLL();
        timerInstance = this;
        timerPeriodMs_ = static_cast<uint32_t>(checkEvery) * 1000u;
        lastFiredMs_ = TheClock().TickCount();
        timerId = 1;
        Trace("StartTimer-exit");
    } else {
        Trace("StartTimer-Aborted");
    }
}

void NewMailClass::StopMail() {
    if (!enabled || suppressed) return;
    RasApiDLL().UnloadDLL();
    timerId = 0;
    if (timerInstance == this) timerInstance = nullptr;
}

void NewMailClass::TimerTick() {
    if (timerId == 0 || timerPeriodMs_ == 0) return;
    const uint32_t now = TheClock().TickCount();
    if (now - lastFiredMs_ < timerPeriodMs_) return;
    // Like a window timer, a late tick fires once rather than catching up.
    lastFiredMs_ = now;
    CheckTimerProc();
}

MailAccount NewMailClass::Account() const {
    MailAccount a;
    a.popServer = popServer;
    a.loginName = loginName;
    a.password = password;
    a.security = security;
    a.port = port;
    return a;
}

int NewMailClass::GetNumberOfMails(MailCheckReport* report) {
    return CheckMailbox(eRunning, Account(), timeouts, connect, report);
}

void CheckTimerProc() {
    const uint16_t was = checkTimerCounter++;
    if (was < 60) return;
    checkTimerCounter = 0;
    NewMailClass* mail = timerInstance;
    if (!mail) return;
    Trace("Its time to check for emails");
    if (mail->lan || RasApiDLL().IsModemConnected() == 1) {
        Trace("Creating thread");
        // The worker gets its own copy of the account; the instance itself lives for the
        // process, and the worker touches only its atomic run counter.
        StartWorker([mail, account = mail->Account(), timeouts = mail->timeouts, connect = mail->connect] {
            // Nothing may escape a thread: out of memory ends this check, not the saver.
            try {
                CheckMailbox(mail->eRunning, account, timeouts, connect, nullptr);
                AppLog().Info.Log("GetNumberOfMails returned", MailCount.load());
            } catch (...) {
            }
        });
    } else {
        Trace("Modem not connected");
    }
}

void MailTimerTick() {
    if (timerInstance) timerInstance->TimerTick();
}

void SetMailThreadStarter(MailThreadStarter starter) { threadStarter = std::move(starter); }

void ResetMailTimer() {
    checkTimerCounter = 60;
    timerInstance = nullptr;
}

bool IsLiteralAddress(const std::string& server) {
    return !server.empty() && server[0] >= '0' && server[0] <= '9' && server.find('.') != std::string::npos;
}

NewMailClass& TheNewMail() {
    // The private file lies beside the main settings file, wherever that was opened.
    std::string folder = "$CURRENT";
    IniFile& main = MainIni();
    if (mailSuppressedForProcess || main.IsDisabled()) {
        folder = "$DISABLE";
    } else if (main.IsOpened() && !main.FilePath().empty()) {
        const std::string& path = main.FilePath();
        const size_t cut = path.find_last_of("/\\");
        folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    }
    if (theNewMail && folder != theNewMailFolder && theNewMail->timerId == 0) {
        // Kept, not freed: a worker of the old instance may still be on the network.
        if (!retiredNewMail) retiredNewMail = new std::vector<NewMailClass*>();
        retiredNewMail->push_back(theNewMail);
        theNewMail = nullptr;
    }
    if (!theNewMail) {
        theNewMail = new NewMailClass(folder);
        theNewMailFolder = folder;
        if (mailSuppressedForProcess) theNewMail->SuppressMail();
    }
    return *theNewMail;
}

void SuppressMailForProcess() {
    mailSuppressedForProcess = true;
    if (theNewMail) theNewMail->SuppressMail();
}

}  // namespace lumi
