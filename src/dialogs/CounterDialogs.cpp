#include "dialogs/CounterDialogs.h"

#include <cstdint>
#include <optional>
#include <string>

#include "dialogs/DialogIds.h"
#include "dialogs/FieldText.h"
#include "platform/MessageBox.h"
#include "settings/IniFile.h"

namespace lumi::dialogs {

namespace {

// A field without a number is refused like one out of range: every check has an upper
// bound this value passes, so the user sees that field's box instead of a silent 0.
unsigned FieldNumber(const Controls& controls, int id) {
    return static_cast<unsigned>(ReadUnsigned(controls.Text(id)).value_or(UINT32_MAX));
}

void SetNumber(Controls& controls, int id, int value) { controls.SetText(id, std::to_string(value)); }

// True when the fields passed; otherwise the first refusal was shown.
bool Passes(Controls& controls, const std::optional<FieldError>& error) {
    if (!error) return true;
    ShowMessageBox(controls.Window(), error->text, error->title);
    return false;
}

}  // namespace

void CountdownDialog::Open(Controls& controls) {
    const CountdownTarget target = LoadCountdown(MainIni());
    SetNumber(controls, IDC_DATE_YEAR, target.year);
    SetNumber(controls, IDC_DATE_MONTH, target.month);
    SetNumber(controls, IDC_DATE_DAY, target.day);
    SetNumber(controls, IDC_DATE_HOUR, target.hour);
    SetNumber(controls, IDC_DATE_MINUTE, target.minute);
}

void CountdownDialog::Command(Controls& controls, int id) {
    if (id == IDC_CANCEL) {
        controls.End(0);
        return;
    }
    if (id != IDC_OK) return;
    CountdownFields fields;
    fields.year = FieldNumber(controls, IDC_DATE_YEAR);
    fields.month = FieldNumber(controls, IDC_DATE_MONTH);
    fields.day = FieldNumber(controls, IDC_DATE_DAY);
    fields.hour = FieldNumber(controls, IDC_DATE_HOUR);
    fields.minute = FieldNumber(controls, IDC_DATE_MINUTE);
    if (!Passes(controls, CheckCountdownFields(fields))) return;
    CountdownTarget target;
    target.year = static_cast<int>(fields.year);
    target.month = static_cast<int>(fields.month);
    target.day = static_cast<int>(fields.day);
    target.hour = static_cast<int>(fields.hour);
    target.minute = static_cast<int>(fields.minute);
    SaveCountdown(MainIni(), target);
    controls.End(1);
}

void BirthdayDialog::Open(Controls& controls) {
    SetNumber(controls, IDC_DATE_YEAR, birthday_.year);
    SetNumber(controls, IDC_DATE_MONTH, birthday_.month);
    SetNumber(controls, IDC_DATE_DAY, birthday_.day);
}

void BirthdayDialog::Command(Controls& controls, int id) {
    if (id == IDC_CANCEL) {
        controls.End(0);
        return;
    }
    if (id != IDC_OK) return;
    BirthdayFields fields;
    fields.year = FieldNumber(controls, IDC_DATE_YEAR);
    fields.month = FieldNumber(controls, IDC_DATE_MONTH);
    fields.day = FieldNumber(controls, IDC_DATE_DAY);
    if (!Passes(controls, CheckBirthdayFields(fields))) return;
    birthday_.year = static_cast<int>(fields.year);
    birthday_.month = static_cast<int>(fields.month);
    birthday_.day = static_cast<int>(fields.day);
    SaveBirthday(MainIni(), birthday_);
    controls.End(1);
}

}  // namespace lumi::dialogs
