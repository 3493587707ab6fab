// The secret message store: slots of message, bottom line and password kept in section
// Messages of the settings file, scrambled when a password guards them.
#include "content/MessageStore.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

#include "media/Sound.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {

namespace {

constexpr const char* kSection = "Messages";
// The scrambler refuses texts of this length, so a stored secret text stays below it.
constexpr size_t kScrambleLimit = 500;

std::string Key(const char* prefix, int i) {
    char key[32];
    std::snprintf(key, sizeof key, "%s%i", prefix, i);
    return key;
}

std::string MessageKey(int i) { return Key("Message___", i); }
std::string BottomLineKey(int i) { return Key("BottomLine", i); }
std::string PasswordKey(int i) { return Key("Password__", i); }

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// The scrambled form of text. A byte may grow to two, so the text is shortened from its
// end until its stored form fits the scrambler's limit; what is stored then reads back
// exactly, instead of being cut in the middle by the store.
std::string ScrambledToFit(std::string& text) {
    for (;;) {
        std::string stored = text;
        ScrambleText(stored, 2 * text.size() + 2);
        if (stored.size() < kScrambleLimit || text.empty()) return stored;
        text.pop_back();
    }
}

std::string Unscrambled(std::string stored) {
    // Only a hand-edited file holds a longer value; cutting it spares the user an error box.
    if (stored.size() >= kScrambleLimit) {
        AppLog().Warning.Log("LUVA::Read", "scrambled value too long, cut");
        stored.resize(kScrambleLimit - 1);
    }
    UnscrambleText(stored);
    return stored;
}

std::string Cut(std::string_view text, size_t chars) {
    // Texts end at a NUL as they would in the C buffers the stored form was made for.
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    return std::string(text.substr(0, std::min(text.size(), chars)));
}

std::unique_ptr<MessageStore> theStore;

}  // namespace

MessageStore::MessageStore(IniFile* ini) : ini_(ini) {}

IniFile& MessageStore::Ini() const { return ini_ ? *ini_ : MainIni(); }

void MessageStore::SetMessage(std::string_view text) { message_ = Cut(text, kMessageChars); }
void MessageStore::SetBottomLine(std::string_view text) { bottomLine_ = Cut(text, kBottomLineChars); }
void MessageStore::SetPassword(std::string_view text) { password_ = Cut(text, kPasswordChars); }
void MessageStore::SetUnlockPassword(std::string_view text) { unlock_ = Cut(text, kPasswordChars); }

void MessageStore::SetCurrentIndex(int i) { index_ = std::clamp(i, 0, kMaxSlots); }

void MessageStore::Load() {
    IniFile& ini = Ini();
    // The whole stored form is read and cut only once it is plain text: scrambling and
    // escaping make it longer than the text, and cutting it earlier garbles the text.
    std::string message = ini.ReadStringForUser(kSection, MessageKey(index_), "", IniFile::kValueBuffer);
    std::string bottomLine = ini.ReadStringForUser(kSection, BottomLineKey(index_), "", IniFile::kValueBuffer);
    std::string password = ini.ReadStringForUser(kSection, PasswordKey(index_), "", IniFile::kValueBuffer);
    if (!password.empty()) {
        message = Unscrambled(std::move(message));
        bottomLine = Unscrambled(std::move(bottomLine));
        password = Unscrambled(std::move(password));
    }
    SetMessage(message);
    SetBottomLine(bottomLine);
    SetPassword(password);
}

void MessageStore::Read() {
    Load();
    // A first run shows a greeting as the first further message without storing it.
    if (index_ == 1 && Ini().FirstTime() == 1) {
        message_ = "Lumivane";
        bottomLine_ = "Try it with the lights off";
        password_.clear();
    }
    // A secret message stays out of the log, which other users of the machine may read.
    if (password_.empty()) {
        AppLog().Info.Log("Read message", message_);
        AppLog().Info.Log("Read bottomline", bottomLine_);
    } else {
        AppLog().Info.Log("Read message", "(secret)");
        AppLog().Info.Log("Read bottomline", "(secret)");
    }
}

void MessageStore::Write() {
    std::string message = message_;
    std::string bottomLine = bottomLine_;
    std::string password = password_;
    if (!password_.empty()) {
        message = ScrambledToFit(message_);
        bottomLine = ScrambledToFit(bottomLine_);
        password = ScrambledToFit(password_);
    }
    IniFile& ini = Ini();
    ini.WriteStringForUser(kSection, MessageKey(index_), message);
    ini.WriteStringForUser(kSection, BottomLineKey(index_), bottomLine);
    ini.WriteStringForUser(kSection, PasswordKey(index_), password);
}

int MessageStore::IsFree(int i) {
    AppLog().Info.Log("LUVA entering IsFree", i);
    // The current texts are kept in memory rather than read again, so an edit that is not
    // written yet survives the look at another slot.
    const int saved = index_;
    std::string message = std::move(message_), bottomLine = std::move(bottomLine_),
                password = std::move(password_);
    index_ = i;
    // What the file holds decides, not the greeting a first run shows in slot 1.
    Load();
    const int free = message_.empty() && bottomLine_.empty() && password_.empty() ? 1 : 0;
    index_ = saved;
    message_ = std::move(message);
    bottomLine_ = std::move(bottomLine);
    password_ = std::move(password);
    AppLog().Info.Log("LUVA exiting IsFree", free);
    return free;
}

int MessageStore::FindFirstFree() {
    for (int i = 1; i < kMaxSlots; ++i) {
        if (IsFree(i)) return i;
    }
    return kMaxSlots;
}

bool MessageStore::Showable() const {
    if (unlock_.empty() && password_.empty()) return true;
    return EqualNoCase(unlock_, password_);
}

int MessageStore::GotIt() {
    if (unlock_.empty() && password_.empty()) return 1;
    // The password itself stays out of the log.
    AppLog().Info.Log("LUVA::GotIt - Found password", static_cast<int>(unlock_.size()));
    if (EqualNoCase(unlock_, password_)) return 1;
    if (!unlock_.empty() && !reported167_ && CountUnlocked() == 0) {
        // Once per run: the saver asks for every message, and a box each time would
        // stand in front of the sky all night.
        reported167_ = true;
        InternalError(nullptr, 167);
    }
    return 0;
}

int MessageStore::CountUnlocked() {
    const int n = FindFirstFree();
    if (unlock_.empty()) return n - 1;
    const int saved = index_;
    std::string message = std::move(message_), bottomLine = std::move(bottomLine_),
                password = std::move(password_);
    int count = 0;
    for (int i = 1; i < n; ++i) {
        index_ = i;
        Load();
        if (password_ == unlock_) ++count;
    }
    index_ = saved;
    message_ = std::move(message);
    bottomLine_ = std::move(bottomLine);
    password_ = std::move(password);
    return count;
}

void MessageStore::StepForGetNext() {
    AppLog().Info.Log("LUVA", "calling FindFirstFree");
    const int n = FindFirstFree();
    AppLog().Info.Log("LUVA", "returned from FindFirstFree");
    ++index_;
    if (index_ >= n) index_ = 0;
    if (showRandomly_) index_ = RandomRange(0, n);
    if (firstPick_) {
        index_ = static_cast<int>(std::clamp(Ini().ReadIntForUser(kSection, "Preview", 0), 0L,
                                             static_cast<long>(kMaxSlots - 1)));
        firstPick_ = 0;
    }
    if (disableMultiple_) index_ = 0;
    AppLog().Info.Log("LUVA::GetNext", "calling Read");
    Read();
    AppLog().Info.Log("LUVA::GetNext", "returned from Read");
}

void MessageStore::GetNext() {
    AppLog().Info.Log("LUVA", "entering GetNext");
    StepForGetNext();
    if (!GotIt()) {
        // One more step per slot is a full pass in order; random picks get the same
        // number of tries and then a pass in order, so a showable slot is always found.
        const int n = FindFirstFree();
        bool found = false;
        for (int tries = 0; tries < n && !found; ++tries) {
            StepForGetNext();
            found = Showable();
        }
        for (int i = 0; i < n && !found; ++i) {
            index_ = i;
            Read();
            found = Showable();
        }
        // No slot may be shown (an unlocking password whose messages are gone): the main
        // message is the one that is always there.
        if (!found) {
            index_ = 0;
            Read();
        }
    }
    AppLog().Info.Log("LUVA", "exiting GetNext");
}

void MessageStore::GoFirst() {
    index_ = 0;
    Read();
}

bool MessageStore::AddNew() {
    const int n = FindFirstFree();
    if (n >= kMaxSlots) {
        AppLog().Warning.Log("LUVA::AddNew", "no free slot");
        return false;
    }
    index_ = n;
    message_ = "<type here your message>";
    bottomLine_ = "<type here your bottomline>";
    password_.clear();
    Write();
    return true;
}

void MessageStore::ClearCurrent() {
    message_.clear();
    bottomLine_.clear();
    password_.clear();
    Write();
}

void MessageStore::Compact() {
    const int s = index_;
    int i = FindFirstFree();
    int j = i;
    for (;;) {
        j = FindFirstFree();
        if (j >= kMaxSlots) break;
        ++i;
        if (!IsFree(i)) {
            index_ = i;
            Load();
            const std::string message = message_, bottomLine = bottomLine_, password = password_;
            index_ = j;
            Write();
            // The old slot is emptied only when the copy reads back whole: a failed write
            // must not cost the user the message.
            Load();
            if (message_ != message || bottomLine_ != bottomLine || password_ != password) {
                AppLog().Error.Log("LUVA::Compact", "copy did not read back, stopped");
                break;
            }
            index_ = i;
            ClearCurrent();
        }
        if (i > j + 20) break;
    }
    index_ = s < j ? s : 0;
    Read();
}

void MessageStore::EditorNext() {
    if (CountUnlocked() <= 0) return;
    const int n = FindFirstFree();
    for (int tries = 0; tries <= n; ++tries) {
        ++index_;
        if (index_ >= FindFirstFree()) index_ = 0;
        Read();
        if (GotIt()) return;
    }
    GoFirst();
}

void MessageStore::EditorPrevious() {
    if (CountUnlocked() <= 0) return;
    const int limit = FindFirstFree();
    for (int tries = 0; tries <= limit; ++tries) {
        if (index_ >= 2) {
            --index_;
        } else {
            const int n = FindFirstFree();
            index_ = n >= 2 ? n - 1 : 1;
        }
        Read();
        if (GotIt()) return;
    }
    GoFirst();
}

void MessageStore::LoadOptions() {
    showRandomly_ = Ini().ReadIntForUser(kSection, "ShowRandomly", 0) != 0 ? 1 : 0;
    disableMultiple_ = Ini().ReadIntForUser(kSection, "DisableMultiple", 0) != 0 ? 1 : 0;
}

void MessageStore::SaveOptions() {
    Ini().WriteUIntForUser(kSection, "ShowRandomly", static_cast<unsigned long>(showRandomly_));
    Ini().WriteUIntForUser(kSection, "DisableMultiple", static_cast<unsigned long>(disableMultiple_));
}

void MessageStore::LoadUnlock() {
    // Room for the stored form of the longest password, where a backslash or a line break
    // takes two characters: read with kPasswordSize, such a password came back short and
    // no longer opened its messages.
    SetUnlockPassword(Ini().ReadStringForUser(kSection, "DecryptPassword", "", 2 * kPasswordChars + 2));
}

void MessageStore::SaveUnlock() { Ini().WriteStringForUser(kSection, "DecryptPassword", unlock_); }

void MessageStore::SetPreview() {
    Ini().WriteUIntForUser(kSection, "Preview", static_cast<unsigned long>(std::max(index_, 0)));
}

void MessageStore::ClearPreview() { Ini().WriteUIntForUser(kSection, "Preview", 0); }

void MessageStore::WriteDefaults() {
    IniFile& ini = Ini();
    if (ini.FirstTime() != 1) return;
    // A file that lost its first-time key but holds messages keeps them: the defaults
    // go only into an empty list.
    for (int i = 0; i <= 2; ++i) {
        if (!ini.ReadStringForUser(kSection, MessageKey(i), "").empty() ||
            !ini.ReadStringForUser(kSection, BottomLineKey(i), "").empty() ||
            !ini.ReadStringForUser(kSection, PasswordKey(i), "").empty()) {
            AppLog().Warning.Log("LUVA::WriteDefaults", "messages present, defaults not written");
            return;
        }
    }
    struct Default {
        const char* message;
        const char* bottomLine;
    };
    static constexpr Default kDefaults[] = {
        {"Your\r\n   name\r\n    here",
         "Psst... the stars can spell. Teach them your own words in the settings, and they will write them "
         "across the night for you."},
        {"PEACE", "Peace"},
        {"HEART", "and love"},
    };
    for (int i = 0; i <= 2; ++i) {
        index_ = i;
        message_ = kDefaults[i].message;
        bottomLine_ = kDefaults[i].bottomLine;
        password_.clear();
        Write();
    }
}

MessageStore& TheMessageStore() {
    if (!theStore) theStore = std::make_unique<MessageStore>();
    return *theStore;
}

void ResetMessageStore(IniFile* ini) { theStore = std::make_unique<MessageStore>(ini); }

int UnlockFromMainPage(MessageStore& store, WindowHandle owner, std::string_view mainMessage,
                       std::string_view mainBottomLine) {
    store.GoFirst();
    store.SetMessage(mainMessage);
    store.Write();
    store.SetBottomLine(mainBottomLine);
    store.Write();
    store.SetUnlockPassword(store.BottomLine());
    const int count = store.CountUnlocked();
    int opened = 0;
    if (count < 1 || store.BottomLine().empty()) {
        store.SetUnlockPassword("");
    } else {
        opened = count;
        char text[64];
        std::snprintf(text, sizeof text, "You have %i secret message(s).", count);
        // The fanfare starts with the box, not after the user has closed it.
        PlayBuiltInSound(owner, 130, SoundLoop::Once);
        ShowMessageBox(owner, text, "You found a password !");
    }
    store.SaveUnlock();
    return opened;
}

}  // namespace lumi
