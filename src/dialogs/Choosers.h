// The small helpers every dialog shares: the file and folder choosers with their capacity
// rules, a mail link, and a modal dialog that reports when it could not be shown.
#pragma once

#include <cstddef>
#include <string>

#include "dialogs/Controls.h"

namespace lumi::dialogs {

// The filters for a kind, compared without regard to case: "WAV", "MID" or "BMP".
std::vector<FileFilter> FileFiltersFor(const std::string& kind);

// True when a file was chosen; path (at most size - 1 characters) then holds it. A size of
// 260 or less reports internal error 2394 first and goes on. A cancel or a failure logs
// the chooser's error and leaves path as it was. readSize, when not 0, is the size with
// which the path's key is read back (IniFile::ReadString): a path that would come back cut
// is refused with a message box, and path is left as it was.
bool ChooseFile(Controls& owner, const std::string& title, const std::string& kind, std::string& path,
                size_t size, size_t readSize = 0);

// True when a folder was chosen; path then holds it. A size below 260 reports internal
// error 7724 first; a chosen folder that does not fit, or that a read with readSize (when
// not 0) would give back cut, is refused with a message box.
bool ChooseFolder(Controls& owner, const std::string& title, std::string& path, size_t size,
                  size_t readSize = 0);

// Opens "mailto:address?subject=subject" with the user's mail program. Texts longer than
// 4999 characters together report internal error 4112 and send nothing.
void SendMail(const std::string& address, const std::string& subject);

// Opens a modal dialog; -1 (it could not be shown) gives the "PROBLEM" box "Dialog Box
// returned -1". Returns the dialog's result.
int ModalDialog(Controls& owner, int templateId, DialogLogic& logic);

}  // namespace lumi::dialogs
