// Message files: one slot written as a small INI file with instructions for the e-mail,
// and the import of such a file, which comes from someone else and is trusted for nothing.
#include "content/MessageFile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "content/MessageStore.h"
#include "platform/Desktop.h"
#include "platform/System.h"
#include "settings/IniFile.h"
#include "base/BoundedText.h"
#include "support/TextSearch.h"
#include "base/Log.h"

namespace lumi {

namespace {

constexpr const char* kSection = "MessageIN";
constexpr const char* kNotReceived = "NotReceived";
constexpr const char* kMessageFileName = "NewMessage.Lumivan";
constexpr const char* kInstructionsFileName = "Receive Instructions.txt";
// The received file is read from a copy: the friend's file may be read-only (mail
// programs often open attachments so), and opening a settings file writes to it.
constexpr const char* kReceivedCopyName = "Received.Lumivan";
// Where a friend gets the saver; the project names no web address of its own yet.
constexpr const char* kDownloadPlace = "the Lumivane home page";

// A work file is made anew each time: whatever has the name (an earlier file, or a link
// that would lead the write elsewhere) is removed, and the new file is created only if
// the name is still free.
std::FILE* CreateWorkFile(const std::string& path) {
    std::remove(path.c_str());
    return platform::OpenUserFile(path.c_str(), "wbx");
}

// Written with CR LF on every platform: the text is pasted into e-mails, read anywhere.
bool WriteInstructions(const std::string& path) {
    const std::string lines[] = {
        "EMAIL SUBJECT: A Lumivane for you.",
        "",
        "EMAIL BODY:",
        "This email has a special message for you.",
        "",
        "To see the message you must have the \"Lumivane\" screen saver.",
        "If you don't already have this screen saver, you can download it from",
        std::string("the internet: ") + kDownloadPlace,
        "and install it to your computer.",
        "",
        "To load and view the message, simply open the \"NewMessage.Lumivan\" file",
        "that you can find attached to this email.",
    };
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    std::FILE* f = CreateWorkFile(path);
    if (!f) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && written;
}

// The file's bytes, or nothing when it is not a regular file of a message file's size.
bool ReadSmallFile(const std::string& path, std::string& bytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), ec) || ec) return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes.clear();
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        bytes.append(buffer, n);
        if (bytes.size() > kMaxMessageFileBytes) break;
    }
    const bool ok = !std::ferror(f) && bytes.size() <= kMaxMessageFileBytes;
    std::fclose(f);
    return ok;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::FILE* f = CreateWorkFile(path);
    if (!f) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

// A missing key reads as this, which no written value can be.
constexpr const char* kMissing = "\x01";

// The store skips a write that would not change what the key reads as, and a missing key
// reads as empty; but a file without BottomLine0 is refused by the receiver, so an empty
// text is written over a marker to make sure the key is there.
void WriteKeyAlways(IniFile& file, const char* key, const std::string& value) {
    if (value.empty() && file.ReadString(kSection, key, kMissing) == kMissing)
        file.WriteString(kSection, key, "-");
    file.WriteString(kSection, key, value);
}

void ShowSendFailure(WindowHandle owner, const std::string& folder) {
    ShowMessageBox(owner,
                   "The message files could not be written in the folder\n" + folder +
                       "\n\nPlease check that the temporary folder exists and is not full.",
                   "The message was not sent", BoxIcon::Error);
}

}  // namespace

std::string MessageWorkFolder() { return platform::PrivateWorkFolder(); }

bool SendMessageFile(const MessageStore& store, WindowHandle owner) {
    const std::string folder = MessageWorkFolder();
    if (folder.empty() || !WriteInstructions(folder + kInstructionsFileName)) {
        AppLog().Warning.Log("SendMessageFile", "cannot write in " + folder);
        ShowSendFailure(owner, folder);
        return false;
    }
    // The settings store edits a file through a link; a link under this name is no file
    // of ours to edit.
    const std::string messagePath = folder + kMessageFileName;
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(messagePath, ec)))
        std::remove(messagePath.c_str());
    IniFile file;
    if (file.Init("", messagePath) != 0) {
        ShowSendFailure(owner, folder);
        return false;
    }
    WriteKeyAlways(file, "Message___0", store.Message());
    WriteKeyAlways(file, "BottomLine0", store.BottomLine());
    WriteKeyAlways(file, "Password__0", store.Password());
    // The friend gets exactly what is read back here, so a write that did not hold is
    // reported now rather than discovered by the friend.
    if (file.ReadString(kSection, "Message___0", kMissing) != store.Message() ||
        file.ReadString(kSection, "BottomLine0", kMissing) != store.BottomLine() ||
        file.ReadString(kSection, "Password__0", kMissing) != store.Password()) {
        ShowSendFailure(owner, folder);
        return false;
    }
    // Shown once both files exist, so the file manager lists them.
    Desktop().OpenFolder(folder);
    ShowMessageBox(owner,
                   "Two new files named \"NewMessage.Lumivan\" and \"Receive Instructions.txt\"\n"
                   "will be created in a new temporal folder.\n"
                   "The \"NewMessage.Lumivan\" file contains your message.\n"
                   "The \"Receive Instructions.txt\" file contains instuctions for your friend.\n"
                   "\n"
                   "Your job is to:\n"
                   "1) Create a new blank email for your friend.\n"
                   "2) Copy the contents of the \"Receive Instructions.txt\" file to the email body.\n"
                   "3) Attach the \"NewMessage.Lumivan\" file to the email.\n"
                   "4) Send the email.\n"
                   "5) Wish this procedure works. (I will improve it in the future versions)",
                   "How to send the message to your friend.");
    return true;
}

int ReceiveMessageFile(MessageStore& store, const std::vector<std::string>& args, WindowHandle owner) {
    TpelurLogger& log = AppLog().Info;
    log.Log("ReceiveMessage", "Entering");
    log.Log("argc", static_cast<int>(args.size()));
    for (const std::string& arg : args) log.Log("argv", Truncated(arg, 300));
    if (args.size() <= 2) {
        log.Log("ReceiveMessage", "Exiting0");
        return 0;
    }
    log.Log("ConvertShortToLongFileName input", Truncated(args[2], 300));
    std::string path = ConvertShortToLongFileName(args[2]);
    log.Log("ArgumentFileName", Truncated(path, 300));
    // No real path is that long, and the text search would complain about it in a box.
    const std::string& named = path.empty() ? args[2] : path;
    if (named.size() >= 4000 || StrContainsText(named, ".Lumivan") < 0) return 0;

    // The user opened a message file and expects a message: one that cannot be read is
    // said so, never passed over in silence.
    std::string bytes;
    if (path.empty() || !ReadSmallFile(path, bytes)) {
        AppLog().Warning.Log("ReceiveMessage", "cannot read the message file " + Truncated(named, 300));
        ShowMessageBox(owner,
                       "The message file\n" + Truncated(named, 300) +
                           "\ncould not be read: it is missing, not readable, or not a message file.",
                       "The message was not received", BoxIcon::Warning);
        return 0;
    }
    const std::string folder = MessageWorkFolder();
    std::string copy = folder + kReceivedCopyName;
    // A file opened from the work folder under the copy's own name would be deleted with
    // the copy; it gets a copy of another name.
    std::error_code ec;
    if (std::filesystem::equivalent(std::filesystem::path(path), std::filesystem::path(copy), ec))
        copy = folder + "Received again.Lumivan";
    if (folder.empty() || !WriteBytes(copy, bytes)) {
        AppLog().Warning.Log("ReceiveMessage", "cannot copy the message file to " + folder);
        return 0;
    }
    std::string message, bottomLine, password;
    {
        IniFile file;
        file.Init("", copy);
        // The whole value is read and cut only once unescaped, so a full-length text with
        // line breaks arrives whole; the store then cuts at the slot's capacities.
        message = file.ReadString(kSection, "Message___0", kNotReceived, IniFile::kValueBuffer);
        bottomLine = file.ReadString(kSection, "BottomLine0", kNotReceived, IniFile::kValueBuffer);
        password = file.ReadString(kSection, "Password__0", "", IniFile::kValueBuffer);
    }
    std::remove(copy.c_str());

    if (message == kNotReceived || bottomLine == kNotReceived) {
        log.Log("ReceiveMessage", "Not received: the file holds no message");
        return 0;
    }
    // Three empty texts (a text ends at its first NUL) would be stored as a free slot:
    // nothing would arrive, yet the empty slot would be shown first and taken by the next
    // new message.
    auto blank = [](const std::string& text) { return text.empty() || text[0] == '\0'; };
    if (blank(message) && blank(bottomLine) && blank(password)) {
        log.Log("ReceiveMessage", "Not received: the message is empty");
        return 0;
    }
    if (!store.AddNew()) {
        ShowMessageBox(owner,
                       "Your list of star messages is full, so the message in\n" + Truncated(path, 300) +
                           "\ncould not be added.\n\nDelete a message on the \"Star Messages\" page, then open "
                           "the file again.",
                       "The message was not received", BoxIcon::Warning);
        return 0;
    }
    store.SetMessage(message);
    store.SetBottomLine(bottomLine);
    store.SetPassword(password);
    if (store.Password().empty()) {
        log.Log("ReceiveMessage-LUVA::message", store.Message());
        log.Log("ReceiveMessage-LUVA::BottomLine", store.BottomLine());
    } else {
        log.Log("ReceiveMessage-LUVA::message", "(secret)");
        log.Log("ReceiveMessage-LUVA::BottomLine", "(secret)");
    }
    store.Write();
    store.SetPreview();
    return 1;
}

int ReceiveMessageFile(MessageStore& store) {
    return ReceiveMessageFile(store, SplitCommandLine(platform::CommandLine()));
}

std::string ConvertShortToLongFileName(const std::string& path) { return LongFileName(path); }

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> args;
    size_t i = 0;
    const size_t n = line.size();
    auto blank = [&](size_t at) { return line[at] == ' ' || line[at] == '\t'; };

    // The program name: quotes group and vanish, backslashes are plain characters.
    if (n > 0) {
        std::string program;
        bool quoted = false;
        for (; i < n && (quoted || !blank(i)); ++i) {
            if (line[i] == '"') quoted = !quoted;
            else program += line[i];
        }
        args.push_back(program);
    }
    for (;;) {
        while (i < n && blank(i)) ++i;
        if (i >= n) break;
        std::string arg;
        bool quoted = false;
        while (i < n && (quoted || !blank(i))) {
            if (line[i] == '\\') {
                size_t slashes = 0;
                while (i < n && line[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && line[i] == '"') {
                    arg.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(slashes, '\\');
                }
            } else if (line[i] == '"') {
                // Inside quotes, a doubled quote stands for one literal quote.
                if (quoted && i + 1 < n && line[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg += line[i++];
            }
        }
        args.push_back(arg);
    }
    return args;
}

}  // namespace lumi
