// What the "E-mail parameters" dialog shows and stores, without the dialog itself: the
// settings dialog draws the controls and moves their values through these two calls.
#pragma once

#include <string>

#include "mail/NewMail.h"

namespace lumi {

// Template and control numbers of the dialog.
enum EmailDialogIds {
    kEmailDialogTemplate = 2016,
    kEmailLogOnName = 1032,
    kEmailPassword = 1004,
    kEmailServer = 1005,
    kEmailCheckEvery = 1033,
    kEmailLan = 1034,
    kEmailModem = 1035,
};

// The controls' contents.
struct EmailDialogFields {
    std::string loginName;
    std::string password;
    std::string popServer;
    unsigned long checkEvery = 0;
    bool lan = false;  // "LAN connection" checked, else "Modem connection"
    MailSecurity security = MailSecurity::Implicit;
    unsigned long port = 0;
};

// On opening: the stored settings, read through the dialog's own instance.
EmailDialogFields LoadEmailDialog(NewMailClass& mail);

// OK: the texts cut to 78 characters, the period stored as typed (the clamp applies when
// it is read back), a port outside 1..65535 replaced by the security kind's own; saved.
void SaveEmailDialog(NewMailClass& mail, const EmailDialogFields& fields);

}  // namespace lumi
