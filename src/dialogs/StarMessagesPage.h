// The "Star Messages" page (2019): the editor of the messages that follow the main one,
// each with its bottom line and an optional password that makes it a secret message.
#pragma once

#include "content/Counters.h"
#include "dialogs/Controls.h"

namespace lumi {
class MessageStore;
}

namespace lumi::dialogs {

// Works on the program's one message store, as the main dialog does.
class StarMessagesPage : public DialogLogic {
public:
    void Open(Controls& controls) override;
    void Command(Controls& controls, int id) override;
    void Apply(Controls& controls) override;
    void Leave(Controls& controls) override;

private:
    // The page's texts into the current slot when it is one of the further messages.
    // True when that emptied the slot and the list was closed up behind it.
    bool StoreTexts(const Controls& controls);
    // Moves off a slot the typed password does not open, so its texts never show.
    void KeepToShowable();
    void ShowCurrent(Controls& controls);
    void NewMessage(Controls& controls);
    void DeleteMessage(Controls& controls);
    void Preview(Controls& controls);
    void Countdown(Controls& controls);
    void DayCounter(Controls& controls);
    void WorldTime(Controls& controls);
    // The program's store, looked up at each use: tests replace it.
    static MessageStore& Store();

    // The date the day counter showed last, kept while a message without one is edited.
    Birthday birthday_;
    // Apply and Leave act only on a page that was filled: empty boxes are no choice.
    bool opened_ = false;
};

}  // namespace lumi::dialogs
