// The user's star messages: numbered slots of message, bottom line and password in the
// settings file, the pick of the next one to show, and the secret messages a password opens.
#pragma once

#include <string>
#include <string_view>

#include "platform/MessageBox.h"

namespace lumi {

class IniFile;

class MessageStore {
public:
    // Buffer sizes of the three texts of a slot; what travels is cut one shorter still,
    // as the settings store's reads deliver at most size - 2 characters.
    static constexpr size_t kMessageSize = 100;
    static constexpr size_t kBottomLineSize = 300;
    static constexpr size_t kPasswordSize = 300;
    static constexpr size_t kMessageChars = kMessageSize - 2;
    static constexpr size_t kBottomLineChars = kBottomLineSize - 2;
    static constexpr size_t kPasswordChars = kPasswordSize - 2;
    // Slots 1 .. kMaxSlots - 1 may hold messages; FindFirstFree returns kMaxSlots when
    // none of them is free, so a full list is never overwritten.
    static constexpr int kMaxSlots = 1000;

    // Works on the main settings instance unless given another (tests, tools).
    explicit MessageStore(IniFile* ini = nullptr);

    void Read();
    void Write();
    int IsFree(int i);
    int FindFirstFree();
    void GetNext();
    int GotIt();
    int CountUnlocked();
    void GoFirst();
    int CurrentIndex() const { return index_; }
    // False when the list is full; nothing changes then.
    bool AddNew();
    void ClearCurrent();
    void Compact();
    void EditorNext();
    void EditorPrevious();
    void LoadOptions();
    void SaveOptions();
    void LoadUnlock();
    void SaveUnlock();
    void SetPreview();
    void ClearPreview();
    void WriteDefaults();

    // Makes slot i current without reading it (the editor pages pick a slot, then Read).
    void SetCurrentIndex(int i);

    const std::string& Message() const { return message_; }
    const std::string& BottomLine() const { return bottomLine_; }
    const std::string& Password() const { return password_; }
    const std::string& UnlockPassword() const { return unlock_; }
    // The setters cut at the lengths a slot can carry through the settings file.
    void SetMessage(std::string_view text);
    void SetBottomLine(std::string_view text);
    void SetPassword(std::string_view text);
    void SetUnlockPassword(std::string_view text);

    int ShowRandomly() const { return showRandomly_; }
    int DisableMultiple() const { return disableMultiple_; }
    void SetShowRandomly(int on) { showRandomly_ = on ? 1 : 0; }
    void SetDisableMultiple(int on) { disableMultiple_ = on ? 1 : 0; }

private:
    IniFile& Ini() const;
    // The current slot as stored, without the first-run greeting and without logging.
    void Load();
    // GotIt without its log line and error report, for the retries after a first miss.
    bool Showable() const;
    void StepForGetNext();

    IniFile* ini_;
    int index_ = 0;
    std::string message_;
    std::string bottomLine_;
    std::string password_;
    std::string unlock_;
    int showRandomly_ = 0;
    int disableMultiple_ = 0;
    int firstPick_ = 1;
    bool reported167_ = false;
};

// The module-wide store shared by the saver and the settings dialog.
MessageStore& TheMessageStore();
// For tests: a fresh store (index 0, first pick pending) on the given or the main settings.
void ResetMessageStore(IniFile* ini = nullptr);

// The settings dialog's main page confirmed: stores the main message and bottom line as
// slot 0, takes the bottom line as the unlocking password when it opens secret messages
// (then says so with a box and a fanfare), and saves the unlocking password. Returns the
// number of secret messages opened (0 when none).
int UnlockFromMainPage(MessageStore& store, WindowHandle owner, std::string_view mainMessage,
                       std::string_view mainBottomLine);

}  // namespace lumi
