#include "dialogs/Choosers.h"

#include <cctype>

#include "base/Log.h"
#include "platform/Desktop.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"

namespace lumi::dialogs {

namespace {

// Any path the system hands back fits in this many characters.
constexpr size_t kPathCapacity = 260;
constexpr size_t kMailLinkCapacity = 4999;

bool EqualsNoCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (std::tolower(ca) != std::tolower(cb)) return false;
    }
    return i == a.size() && b[i] == '\0';
}

// A path that does not fit the caller's buffer, or that the key's reader would give back
// cut (a cut path names another file), is refused and the user told why.
bool Fits(const std::string& chosen, size_t size, size_t readSize, const char* who) {
    const bool fitsBuffer = size != 0 && chosen.size() <= size - 1;
    if (fitsBuffer && (readSize == 0 || IniFile::ReadsBackWhole(chosen, readSize))) return true;
    AppLog().Warning.Log(who, "the chosen path is too long: " + chosen);
    ShowErrorBox("Lumivane",
                 "This path is too long to be kept:\n" + chosen + "\n\nPlease choose one with a shorter name.");
    return false;
}

}  // namespace

std::vector<FileFilter> FileFiltersFor(const std::string& kind) {
    if (EqualsNoCase(kind, "WAV")) return {{"WAV files (*.WAV)", "*.WAV"}, {"All files (*.*)", "*.*"}};
    if (EqualsNoCase(kind, "MID")) return {{"MIDI files (*.MID)", "*.MID"}, {"All files (*.*)", "*.*"}};
    if (EqualsNoCase(kind, "BMP")) return {{"BMP files (*.BMP)", "*.BMP"}};
    return {{"All files (*.*)", "*.*"}};
}

bool ChooseFile(Controls& owner, const std::string& title, const std::string& kind, std::string& path,
                size_t size, size_t readSize) {
    if (size <= kPathCapacity) InternalError(owner.Window(), 2394);
    std::string chosen = path;
    unsigned long error = 0;
    if (!owner.ChooseFile(title, FileFiltersFor(kind), chosen, error)) {
        LogCommDlgError(error);
        return false;
    }
    if (!Fits(chosen, size, readSize, "ChooseFile")) return false;
    path = chosen;
    return true;
}

bool ChooseFolder(Controls& owner, const std::string& title, std::string& path, size_t size, size_t readSize) {
    if (size < kPathCapacity) InternalError(owner.Window(), 7724);
    std::string chosen = path;
    if (!owner.ChooseFolder(title, chosen)) return false;
    if (!Fits(chosen, size, readSize, "ChooseFolder")) return false;
    path = chosen;
    return true;
}

void SendMail(const std::string& address, const std::string& subject) {
    if (address.size() + subject.size() > kMailLinkCapacity) {
        InternalError(nullptr, 4112);
        return;
    }
    Desktop().OpenUrl("mailto:" + address + "?subject=" + subject);
}

int ModalDialog(Controls& owner, int templateId, DialogLogic& logic) {
    const int result = owner.RunModal(templateId, logic);
    if (result == -1) ShowProblemBox(owner.Window(), "Dialog Box returned -1");
    return result;
}

}  // namespace lumi::dialogs
