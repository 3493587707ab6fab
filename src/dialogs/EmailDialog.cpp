// The "E-mail parameters" dialog's logic and its account test on a worker thread.
#include "dialogs/EmailDialog.h"

#include <atomic>
#include <cctype>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "base/Log.h"
#include "dialogs/DialogIds.h"
#include "mail/EmailDialog.h"
#include "settings/IniFile.h"

namespace lumi::dialogs {

namespace {

constexpr size_t kEditText = 78;
constexpr int kResultOk = 1;
constexpr int kResultCancel = 0;

std::string Cut(const std::string& text) { return text.size() > kEditText ? text.substr(0, kEditText) : text; }

// An unsigned number as a number box gives it: digits only (blanks around allowed),
// at most 32 bits; anything else is 0.
unsigned long UnsignedFrom(const std::string& text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return 0;
    const size_t end = text.find_last_not_of(' ') + 1;
    unsigned long long value = 0;
    for (size_t i = begin; i < end; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!std::isdigit(c)) return 0;
        value = value * 10 + (c - '0');
        if (value > 0xFFFFFFFFull) return 0;
    }
    return static_cast<unsigned long>(value);
}

int DefaultPort(MailSecurity security) {
    return security == MailSecurity::Implicit ? NewMailClass::kPop3sPort : NewMailClass::kPop3Port;
}

MailSecurity SecurityFrom(int index) {
    if (index == static_cast<int>(MailSecurity::Plain)) return MailSecurity::Plain;
    if (index == static_cast<int>(MailSecurity::StartTls)) return MailSecurity::StartTls;
    return MailSecurity::Implicit;
}

std::string Folder(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// The dialog's own instance and the folder it was opened in. A new folder (a test's)
// gets a new instance; a dialog still up keeps the old one alive, and no worker ever
// touches an instance.
std::shared_ptr<NewMailClass> dialogMail;
std::string dialogMailFolder;

std::atomic<int> runningMailTests{0};

std::shared_ptr<NewMailClass> SharedDialogMail() {
    IniFile& main = MainIni();
    std::string folder = "$CURRENT";
    if (main.IsDisabled()) folder = "$DISABLE";
    else if (main.IsOpened() && !main.FilePath().empty()) folder = Folder(main.FilePath());
    if (!dialogMail || folder != dialogMailFolder) {
        dialogMail = std::make_shared<NewMailClass>(folder);
        dialogMailFolder = folder;
    }
    return dialogMail;
}

}  // namespace

// What the worker and the dialog share: the worker writes the result under the lock and
// then sets done; the dialog reads it once done is seen. Either may outlive the other.
struct EmailDialog::TestState {
    std::atomic<int> eRunning{0};
    std::atomic<bool> done{false};
    std::mutex lock;
    int count = -1;
    MailCheckReport report;
};

const std::vector<std::string>& MailSecurityChoices() {
    static const std::vector<std::string> choices = {
        "Plain POP3 (port 110)", "POP3 with STLS (port 110)", "POP3S, TLS from the start (port 995)"};
    return choices;
}

std::string MailTestResultText(int count, const MailCheckReport& report) {
    if (count >= 0 && report.step.empty()) {
        if (count == 0) return "No messages waiting.";
        if (count == 1) return "1 message waiting.";
        return std::to_string(count) + " messages waiting.";
    }
    std::string why = report.why.empty() ? "unknown reason" : report.why;
    if (why.back() != '.') why += '.';
    return "The check failed at " + (report.step.empty() ? std::string("start") : report.step) + ": " + why;
}

NewMailClass& EmailDialogMail() { return *SharedDialogMail(); }

int RunningMailTests() { return runningMailTests.load(std::memory_order_acquire); }

EmailDialog::EmailDialog() : ownMail_(SharedDialogMail()), mail_(*ownMail_) {}
EmailDialog::EmailDialog(NewMailClass& mail) : mail_(mail) {}
EmailDialog::~EmailDialog() = default;

void EmailDialog::Open(Controls& controls) {
    const EmailDialogFields f = LoadEmailDialog(mail_);
    controls.SetCaption("E-mail parameters");
    controls.SetText(IDC_EMAIL_LOGON, f.loginName);
    controls.SetText(IDC_EMAIL_PASSWORD, f.password);
    controls.SetText(IDC_EMAIL_SERVER, f.popServer);
    controls.SetText(IDC_EMAIL_CHECK_EVERY, std::to_string(f.checkEvery));
    controls.SetChecked(IDC_EMAIL_LAN, f.lan);
    controls.SetChecked(IDC_EMAIL_MODEM, !f.lan);
    controls.SetItems(IDC_EMAIL_SECURITY, MailSecurityChoices());
    shownSecurity_ = static_cast<int>(f.security);
    controls.SetSelection(IDC_EMAIL_SECURITY, shownSecurity_);
    controls.SetText(IDC_EMAIL_PORT, std::to_string(f.port));
    controls.SetText(IDC_EMAIL_TEST_RESULT, "");
    controls.Enable(IDC_EMAIL_TEST, true);
}

void EmailDialog::Command(Controls& controls, int id) {
    switch (id) {
        case IDC_OK: {
            EmailDialogFields f;
            f.loginName = Cut(controls.Text(IDC_EMAIL_LOGON));
            f.password = Cut(controls.Text(IDC_EMAIL_PASSWORD));
            f.popServer = Cut(controls.Text(IDC_EMAIL_SERVER));
            f.checkEvery = UnsignedFrom(controls.Text(IDC_EMAIL_CHECK_EVERY));
            f.lan = controls.Checked(IDC_EMAIL_LAN);
            f.security = SecurityFrom(controls.Selection(IDC_EMAIL_SECURITY));
            f.port = UnsignedFrom(controls.Text(IDC_EMAIL_PORT));
            SaveEmailDialog(mail_, f);
            Close(controls, kResultOk);
            break;
        }
        case IDC_CANCEL:
            Close(controls, kResultCancel);
            break;
        case IDC_EMAIL_LAN:
        case IDC_EMAIL_MODEM: {
            const bool lan = id == IDC_EMAIL_LAN;
            controls.SetChecked(IDC_EMAIL_LAN, lan);
            controls.SetChecked(IDC_EMAIL_MODEM, !lan);
            break;
        }
        case IDC_EMAIL_SECURITY: {
            // The port follows the kind while it holds the old kind's usual port.
            const int chosen = controls.Selection(IDC_EMAIL_SECURITY);
            if (chosen < 0 || chosen == shownSecurity_) break;
            const std::string port = controls.Text(IDC_EMAIL_PORT);
            if (port.empty() || UnsignedFrom(port) == static_cast<unsigned long>(DefaultPort(SecurityFrom(shownSecurity_))))
                controls.SetText(IDC_EMAIL_PORT, std::to_string(DefaultPort(SecurityFrom(chosen))));
            shownSecurity_ = chosen;
            break;
        }
        case IDC_EMAIL_TEST:
            StartTest(controls);
            break;
        default:
            break;
    }
}

MailAccount EmailDialog::AccountFromControls(const Controls& controls) const {
    MailAccount account;
    account.loginName = Cut(controls.Text(IDC_EMAIL_LOGON));
    account.password = Cut(controls.Text(IDC_EMAIL_PASSWORD));
    account.popServer = Cut(controls.Text(IDC_EMAIL_SERVER));
    account.security = SecurityFrom(controls.Selection(IDC_EMAIL_SECURITY));
    const unsigned long port = UnsignedFrom(controls.Text(IDC_EMAIL_PORT));
    account.port = port >= 1 && port <= 65535 ? static_cast<int>(port) : DefaultPort(account.security);
    return account;
}

void EmailDialog::StartTest(Controls& controls) {
    if (test_) return;
    auto state = std::make_shared<TestState>();
    // The worker owns copies of all it reads, so the dialog may close at any time.
    auto work = [state, account = AccountFromControls(controls), timeouts = mail_.timeouts,
                 connect = mail_.connect] {
        int count = -1;
        MailCheckReport report;
        try {
            count = CheckMailbox(state->eRunning, account, timeouts, connect, &report);
        } catch (...) {
            count = -1;
            report = {"start", "out of memory"};
        }
        {
            std::lock_guard<std::mutex> hold(state->lock);
            state->count = count;
            state->report = std::move(report);
        }
        state->done.store(true, std::memory_order_release);
        runningMailTests.fetch_sub(1, std::memory_order_acq_rel);
    };
    runningMailTests.fetch_add(1, std::memory_order_acq_rel);
    try {
        std::thread(std::move(work)).detach();
    } catch (const std::system_error&) {
        runningMailTests.fetch_sub(1, std::memory_order_acq_rel);
        AppLog().Warning.Log("EmailDialog", "Cannot create thread");
        controls.SetText(IDC_EMAIL_TEST_RESULT, MailTestResultText(-1, {"start", "no thread could be started"}));
        return;
    }
    test_ = std::move(state);
    AppLog().Info.Log("EmailDialog", "Test started");
    controls.Enable(IDC_EMAIL_TEST, false);
    controls.SetText(IDC_EMAIL_TEST_RESULT, "Checking...");
    controls.StartTimer(kTestTimerId, kTestTimerMs);
}

void EmailDialog::Timer(Controls& controls, int timerId) {
    if (timerId != kTestTimerId || !test_ || !test_->done.load(std::memory_order_acquire)) return;
    int count;
    MailCheckReport report;
    {
        std::lock_guard<std::mutex> hold(test_->lock);
        count = test_->count;
        report = test_->report;
    }
    test_.reset();
    controls.StopTimer(kTestTimerId);
    const std::string text = MailTestResultText(count, report);
    AppLog().Info.Log("EmailDialog", text);
    controls.SetText(IDC_EMAIL_TEST_RESULT, text);
    controls.Enable(IDC_EMAIL_TEST, true);
}

void EmailDialog::Close(Controls& controls, int result) {
    // A check still on the network finishes on its own and is forgotten.
    if (test_) controls.StopTimer(kTestTimerId);
    test_.reset();
    controls.End(result);
}

}  // namespace lumi::dialogs
