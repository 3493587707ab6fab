// What the program asks of the machine besides the clock: paths, the user, the OS version.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace lumi::platform {

// Full path of the program's own module file (the .scr or the executable).
std::string ModuleFilePath();
// The module path cut after its last separator: the program's folder, ending with one.
std::string ModuleFolder();
// The temporary folder, ending with a separator ("" when there is none).
std::string TempFolder();
// The system folder (Windows: GetSystemDirectory; elsewhere /usr/share/lumivane/ or "").
std::string SystemFolder();
// The Windows folder (GetWindowsDirectory, at most 199 characters), without a separator at
// the end; elsewhere the system folder without its last separator.
std::string WindowsFolder();
// The folder that "$CURRENT" means for settings files, ending with a separator and
// created if missing: the program folder when writable, else %APPDATA%\Lumivane\ on
// Windows; $XDG_CONFIG_HOME/lumivane/ (default ~/.config/lumivane/) on Linux.
std::string SettingsFolder();
// The logged-on user, at most 78 characters.
std::string UserName();
// The process's command line as one text, as the platform gives it.
std::string CommandLine();
// Records argv for CommandLine() on platforms that have no system call for it.
void SetCommandLine(int argc, char** argv);
// The packed version value of GetVersion; on other systems a stand-in outside the
// Windows table, built from the kernel's version.
uint32_t PackedOsVersion();
// True when a 32-bit process runs on a 64-bit system (IsWow64Process; on Linux a 64-bit
// kernel under a 32-bit build).
bool Is32BitProcessOn64BitOs();
// The separator this platform puts between folder and file ('\\' or '/').
char PathSeparator();
// Whether a folder exists and we may create files in it.
bool FolderWritable(const std::string& folder);
// Creates a folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& folder);

// The folder for this user's scratch files (message-file work), ending with a separator,
// created on first use; "" when none can be had safely. Windows: "Lumivan.tmp" in the
// user's temporary folder. Linux: $XDG_RUNTIME_DIR/lumivane/ (mode 0700), else a fresh
// mkdtemp folder for the process; a folder found there must be ours and closed to others.
std::string PrivateWorkFolder();
// The folder of the log, ending with a separator; "" when none can be had safely.
// Windows: the temporary folder. Linux: $XDG_STATE_HOME/lumivane/ (default
// ~/.local/state/lumivane/), mode 0700, checked as above.
std::string LogFolder();
// Opens a file of this user's own with an fopen mode ("r", "w", "a", "wx", with "b",
// "t" or "+"). On Linux a link at path is never followed, a new file gets mode 0600,
// and a file that is not a regular file of ours is refused (nullptr, errno set).
std::FILE* OpenUserFile(const char* path, const char* mode);

}  // namespace lumi::platform
