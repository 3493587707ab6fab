// The "Countdown Timer" (2012) and "Please enter your Birthday" (2015) dialogs: the date
// fields of the two counters, checked before they are kept.
#pragma once

#include "content/Counters.h"
#include "dialogs/Controls.h"

namespace lumi::dialogs {

// Shows the stored countdown target; OK keeps the fields once they pass the checks and
// ends with 1, Cancel ends with 0 and keeps nothing.
class CountdownDialog : public DialogLogic {
public:
    void Open(Controls& controls) override;
    void Command(Controls& controls, int id) override;
};

// Shows birthday (which the caller parsed from the message being edited); OK takes the
// fields into it and saves them once they pass, and ends with 1; Cancel ends with 0.
class BirthdayDialog : public DialogLogic {
public:
    explicit BirthdayDialog(Birthday& birthday) : birthday_(birthday) {}
    void Open(Controls& controls) override;
    void Command(Controls& controls, int id) override;

private:
    Birthday& birthday_;
};

}  // namespace lumi::dialogs
