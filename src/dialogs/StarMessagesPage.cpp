#include "dialogs/StarMessagesPage.h"

#include <cctype>
#include <string>
#include <string_view>

#include "base/Log.h"
#include "base/Random.h"
#include "content/MessageFile.h"
#include "content/MessageStore.h"
#include "dialogs/Choosers.h"
#include "dialogs/CounterDialogs.h"
#include "dialogs/DialogIds.h"
#include "dialogs/FieldText.h"
#include "dialogs/WorldTimeDialog.h"
#include "platform/MessageBox.h"
#include "settings/IniFile.h"

namespace lumi::dialogs {

namespace {

constexpr char kHelpPage[] = "lumivan.htm";

// What may be edited only while one of the further messages is current.
constexpr int kSlotControls[] = {
    IDC_STAR_MESSAGE, IDC_STAR_BOTTOMLINE, IDC_STAR_PASSWORD,    IDC_STAR_HEART, IDC_STAR_HAPPY,      IDC_STAR_PEACE,
    IDC_STAR_STAR,    IDC_STAR_COUNTDOWN,  IDC_STAR_DAY_COUNTER, IDC_STAR_TIME,  IDC_STAR_WORLD_TIME,
};

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The store's test of whether a slot may be shown, without its log line and error report:
// with no password typed only the open messages, with one only the messages it opens.
bool Showable(const MessageStore& store) {
    if (store.UnlockPassword().empty() && store.Password().empty()) return true;
    return EqualNoCase(store.UnlockPassword(), store.Password());
}

}  // namespace

MessageStore& StarMessagesPage::Store() { return TheMessageStore(); }

void StarMessagesPage::Open(Controls& controls) {
    opened_ = true;
    Store().LoadOptions();
    // The password the saver was last unlocked with opens the same messages here.
    Store().LoadUnlock();
    controls.SetChecked(IDC_STAR_PREFER_HAPPY, true);
    controls.SetChecked(IDC_STAR_PREFER_PEACE, true);
    controls.SetChecked(IDC_STAR_RANDOM, Store().ShowRandomly() != 0);
    controls.SetChecked(IDC_STAR_FORMAT24, MainIni().ReadIntForUser("params", "FormatTime24H", 0) != 0);
    // The page edits the messages after the main one: start on the first of them.
    Store().GoFirst();
    Store().EditorNext();
    KeepToShowable();
    ShowCurrent(controls);
}

void StarMessagesPage::Command(Controls& controls, int id) {
    switch (id) {
        case IDC_STAR_PREVIOUS:
            StoreTexts(controls);
            Store().EditorPrevious();
            KeepToShowable();
            ShowCurrent(controls);
            break;
        case IDC_STAR_NEXT:
            // When the slot was emptied, the next message has moved into its place.
            if (!StoreTexts(controls) || Store().CurrentIndex() == 0) Store().EditorNext();
            KeepToShowable();
            ShowCurrent(controls);
            break;
        case IDC_STAR_NEW: NewMessage(controls); break;
        case IDC_STAR_DELETE: DeleteMessage(controls); break;
        case IDC_STAR_SEND:
            StoreTexts(controls);
            SendMessageFile(Store(), controls.Window());
            break;
        case IDC_STAR_HELP:
            if (!controls.OpenHelpPage(kHelpPage)) AppLog().Warning.Log("help page not shown", kHelpPage);
            break;
        case IDC_STAR_PREVIEW: Preview(controls); break;
        case IDC_STAR_HEART: controls.SetText(IDC_STAR_MESSAGE, "HEART"); break;
        case IDC_STAR_HAPPY: controls.SetText(IDC_STAR_MESSAGE, "HAPPY_FACE"); break;
        case IDC_STAR_PEACE:
            controls.SetText(IDC_STAR_MESSAGE, "PEACE");
            controls.SetText(IDC_STAR_BOTTOMLINE, RandomRange(0, 2) == 1
                                                      ? "In time of war the first casualty is truth."
                                                      : "Since you don't eat them, why do you kill them?");
            break;
        case IDC_STAR_STAR: controls.SetText(IDC_STAR_MESSAGE, "STAR"); break;
        case IDC_STAR_TIME: controls.SetText(IDC_STAR_MESSAGE, "TIME 0"); break;
        case IDC_STAR_COUNTDOWN: Countdown(controls); break;
        case IDC_STAR_DAY_COUNTER: DayCounter(controls); break;
        case IDC_STAR_WORLD_TIME: WorldTime(controls); break;
        case IDC_STAR_PREFER_HAPPY:
        case IDC_STAR_PREFER_PEACE:
            // Some wishes cannot be taken back.
            controls.SetChecked(id, true);
            break;
        default:
            break;
    }
}

void StarMessagesPage::Apply(Controls& controls) {
    if (!opened_) return;
    Store().SetShowRandomly(controls.Checked(IDC_STAR_RANDOM) ? 1 : 0);
    Store().SaveOptions();
    StoreTexts(controls);
    MainIni().WriteUIntForUser("params", "FormatTime24H", controls.Checked(IDC_STAR_FORMAT24) ? 1 : 0);
}

void StarMessagesPage::Leave(Controls&) {
    // A page never shown started no preview and unlocked nothing.
    if (!opened_) return;
    Store().ClearPreview();
    Store().SetUnlockPassword("");
    Store().SaveUnlock();
}

bool StarMessagesPage::StoreTexts(const Controls& controls) {
    const int slot = Store().CurrentIndex();
    if (slot <= 0) return false;
    Store().SetMessage(controls.Text(IDC_STAR_MESSAGE));
    Store().SetBottomLine(controls.Text(IDC_STAR_BOTTOMLINE));
    Store().SetPassword(controls.Text(IDC_STAR_PASSWORD));
    Store().Write();
    // A slot emptied by hand would end the list there and hide every message after it.
    if (Store().IsFree(slot) == 0) return false;
    Store().Compact();
    return true;
}

void StarMessagesPage::KeepToShowable() {
    if (Store().CurrentIndex() == 0 || Showable(Store())) return;
    Store().EditorNext();
    if (Store().CurrentIndex() != 0 && !Showable(Store())) Store().GoFirst();
}

void StarMessagesPage::ShowCurrent(Controls& controls) {
    const int slot = Store().CurrentIndex();
    controls.SetText(IDC_STAR_MESSAGE, WithCrLf(Store().Message()));
    controls.SetText(IDC_STAR_BOTTOMLINE, WithCrLf(Store().BottomLine()));
    controls.SetText(IDC_STAR_PASSWORD, Store().Password());
    controls.SetText(IDC_STAR_POSITION,
                     "Message " + std::to_string(slot) + " of " + std::to_string(Store().FindFirstFree() - 1));
    for (int id : kSlotControls) controls.Enable(id, slot > 0);
}

void StarMessagesPage::NewMessage(Controls& controls) {
    StoreTexts(controls);
    if (!Store().AddNew()) {
        ShowMessageBox(controls.Window(),
                       "Your list of star messages is full.\n\nDelete a message to make room for a new one.", "New",
                       BoxIcon::Information);
        ShowCurrent(controls);
        return;
    }
    // Made while a password is typed, the message is one of the secret ones it opens.
    Store().SetPassword(Store().UnlockPassword());
    Store().Write();
    ShowCurrent(controls);
    controls.Focus(IDC_STAR_MESSAGE, true);
}

void StarMessagesPage::DeleteMessage(Controls& controls) {
    if (Store().CurrentIndex() > 0) Store().ClearCurrent();
    Store().Compact();
    KeepToShowable();
    ShowCurrent(controls);
}

void StarMessagesPage::Preview(Controls& controls) {
    StoreTexts(controls);
    Store().SetPreview();
    Store().SaveUnlock();
    if (!controls.StartPreview()) AppLog().Warning.Log("Preview", "the saver could not be started");
}

void StarMessagesPage::Countdown(Controls& controls) {
    CountdownDialog dialog;
    if (ModalDialog(controls, IDD_COUNTDOWN, dialog) == 1) controls.SetText(IDC_STAR_MESSAGE, "COUNTDOWN");
}

void StarMessagesPage::DayCounter(Controls& controls) {
    // A message without a date keeps the one shown last.
    ParseBirthday(controls.Text(IDC_STAR_MESSAGE), birthday_);
    BirthdayDialog dialog(birthday_);
    if (ModalDialog(controls, IDD_BIRTHDAY, dialog) != 1) return;
    controls.SetText(IDC_STAR_MESSAGE, FormatBirthday(birthday_));
    controls.SetText(IDC_STAR_BOTTOMLINE, "Just don't spare it");
}

void StarMessagesPage::WorldTime(Controls& controls) {
    WorldTimeDialog dialog(controls.Text(IDC_STAR_MESSAGE), controls.Text(IDC_STAR_BOTTOMLINE));
    if (ModalDialog(controls, IDD_WORLD_TIME, dialog) != 1) return;
    controls.SetText(IDC_STAR_MESSAGE, WithCrLf(dialog.Result().message));
    controls.SetText(IDC_STAR_BOTTOMLINE, dialog.Result().bottomLine);
}

}  // namespace lumi::dialogs
