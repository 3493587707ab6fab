// The "E-mail parameters" dialog: the POP3 account the saver checks, its protection and
// port, and a "Test" button that tries the account as typed, on a worker thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dialogs/Controls.h"
#include "mail/NewMail.h"

namespace lumi::dialogs {

// The entries of the security list, in the order of MailSecurity.
const std::vector<std::string>& MailSecurityChoices();

// What a finished test says: "3 messages waiting." or "The check failed at <step>: <why>".
std::string MailTestResultText(int count, const MailCheckReport& report);

class EmailDialog : public DialogLogic {
public:
    static constexpr int kTestTimerId = 1;
    static constexpr int kTestTimerMs = 200;

    // Works on the dialog's own mail instance (EmailDialogMail()).
    EmailDialog();
    // Works on the given instance (tests).
    explicit EmailDialog(NewMailClass& mail);
    ~EmailDialog() override;
    EmailDialog(const EmailDialog&) = delete;
    EmailDialog& operator=(const EmailDialog&) = delete;

    void Open(Controls& controls) override;
    void Command(Controls& controls, int id) override;
    void Timer(Controls& controls, int timerId) override;

    // True from "Test" until its result is shown.
    bool TestRunning() const { return test_ != nullptr; }

private:
    struct TestState;

    MailAccount AccountFromControls(const Controls& controls) const;
    void StartTest(Controls& controls);
    void Close(Controls& controls, int result);

    // The dialog's own instance stays alive with the dialog, even when a later showing
    // beside another settings file makes a new one.
    std::shared_ptr<NewMailClass> ownMail_;
    NewMailClass& mail_;
    std::shared_ptr<TestState> test_;
    int shownSecurity_ = -1;
};

// The dialog's own mail instance, made the first time the dialog is shown beside the main
// settings file and kept for later showings.
NewMailClass& EmailDialogMail();

// Account tests still on their worker threads, including those of dialogs already closed
// (a program about to end, or a test, may wait for them).
int RunningMailTests();

}  // namespace lumi::dialogs
