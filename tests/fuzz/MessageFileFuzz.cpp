// Fuzz entry for receiving a message file: any bytes named on the command line are either
// taken into one new slot or refused; they never crash the saver, never bring up a box,
// and never reach the slots the user already has.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "content/MessageFile.h"
#include "content/MessageStore.h"
#include "platform/MessageBox.h"
#include "settings/IniFile.h"
#include "platform/IniText.h"
#include "base/Log.h"

namespace {

// A box in front of the sky, raised by a file someone else wrote, is a finding.
class NoBoxes : public lumi::MessageBoxService {
public:
    lumi::BoxResult Show(lumi::WindowHandle, const std::string& text, const std::string& caption, lumi::BoxIcon,
                         lumi::BoxButtons) override {
        std::fprintf(stderr, "unexpected box '%s': %s\n", caption.c_str(), text.c_str());
        std::abort();
    }
};

// The user's settings, kept in memory with the same INI text rules as the file store: the
// input under test is the message file, and a settings file rewritten a dozen times per
// input would slow the search a hundredfold. The message file itself goes through files.
class MemoryProfiles : public lumi::ProfileStore {
public:
    std::string Read(const std::string& path, std::string_view section, std::string_view key, std::string_view def,
                     size_t size) override {
        if (size == 0) return {};
        const auto file = files.find(path);
        std::optional<std::string> value;
        if (file != files.end()) value = lumi::IniLookup(file->second, section, key);
        std::string result = value ? std::move(*value) : std::string(def);
        if (result.size() > size - 1) result.resize(size - 1);
        return result;
    }
    bool Write(const std::string& path, std::string_view section, std::string_view key,
               std::string_view value) override {
        std::optional<std::string> updated = lumi::IniAssign(files[path], section, key, value);
        if (!updated) return false;
        files[path] = std::move(*updated);
        return true;
    }
    std::map<std::string, std::string> files;
};

// The user's list before the file arrives: three slots, one of them secret.
constexpr const char* kSettings =
    "[params]\nFirstTime=0\nMultiUser=0\n"
    "[Messages]\n"
    "Message___0=main\nBottomLine0=first line\nPassword__0=\n"
    "Message___1=PEACE\nBottomLine1=Peace\nPassword__1=\n"
    "Message___2=HEART\nBottomLine2=and love\nPassword__2=\n";

// The workspace goes when the run ends, however libFuzzer ends it (it calls exit).
std::string removeAtExit;

struct Workspace {
    Workspace() {
        // Memory-backed when the machine has it: every input writes the settings file often.
        std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        pattern += "/lumi-msgfuzz-XXXXXX";
        const char* made = mkdtemp(pattern.data());
        if (!made) std::abort();
        root = std::string(made) + "/";
        removeAtExit = made;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(removeAtExit, ec);
        });
        // The receiver copies the file into a work folder of its own: under the temporary
        // folder or the user's runtime folder, both kept inside the workspace here.
        setenv("TMPDIR", root.c_str(), 1);
        const std::string runtime = root + "run";
        mkdir(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        settings = root + "settings/";
        mkdir(settings.c_str(), 0700);
        input = root + "in.Lumivan";
        // No log: a line per step, opened and appended each time, would be most of the work.
        lumi::RestartLogAt("");
        lumi::SetMessageBoxes(&boxes);
    }
    std::string root, settings, input;
    NoBoxes boxes;
};

bool WriteAll(const std::string& path, const void* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

std::string Slot(lumi::MessageStore& store, int i) {
    store.SetCurrentIndex(i);
    store.Read();
    return store.Message() + "|" + store.BottomLine() + "|" + store.Password();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Workspace* work = new Workspace;  // lives for the whole fuzzing run
    if (!WriteAll(work->input, data, size)) std::abort();

    MemoryProfiles textStore;
    textStore.files[work->settings + "Lumivan.ini"] = kSettings;
    lumi::IniFile ini(&textStore, "fuzz");
    Check(ini.Init(work->settings, "Lumivan.ini") == 0, "settings open");
    lumi::MessageStore store(&ini);
    const int received = lumi::ReceiveMessageFile(store, {"lumivane", "/s", work->input});
    const std::string arrived = store.Message() + "|" + store.BottomLine() + "|" + store.Password();
    const std::string kept[3] = {Slot(store, 0), Slot(store, 1), Slot(store, 2)};

    Check(received == 0 || received == 1, "result is 0 or 1");
    Check(kept[0] == "main|first line|", "slot 0 untouched");
    Check(kept[1] == "PEACE|Peace|", "slot 1 untouched");
    Check(kept[2] == "HEART|and love|", "slot 2 untouched");
    Check(ini.IsMultiUser() == false, "multi-user flag untouched");
    Check(ini.ReadString("Messages", "DecryptPassword", "-") == "-", "unlocking password untouched");

    // A fresh store on the same file sees exactly what the receiver wrote.
    lumi::IniFile again(&textStore, "fuzz");
    Check(again.Init(work->settings, "Lumivan.ini") == 0, "settings reopen");
    lumi::MessageStore fresh(&again);
    if (received == 1) {
        Check(fresh.FindFirstFree() == 4, "one slot added");
        Check(again.ReadInt("Messages", "Preview", -1) == 3, "new slot shown first");
        fresh.SetCurrentIndex(3);
        fresh.Read();
        Check(fresh.Message().size() <= lumi::MessageStore::kMessageChars, "message within its slot");
        Check(fresh.BottomLine().size() <= lumi::MessageStore::kBottomLineChars, "bottom line within its slot");
        Check(fresh.Password().size() <= lumi::MessageStore::kPasswordChars, "password within its slot");
        // What was received is what the next run shows, byte for byte.
        Check(Slot(fresh, 3) == arrived, "slot reads back as received");
    } else {
        Check(fresh.FindFirstFree() == 3, "nothing added");
        Check(again.ReadInt("Messages", "Preview", -1) == -1, "no preview set");
    }
    // The copy the receiver reads from is gone again, wherever it was made.
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(work->root, ec))
        Check(entry.path().filename() != "Received.Lumivan", "copy removed");
    return 0;
}
