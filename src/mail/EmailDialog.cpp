// Moving the account between the private file and the "E-mail parameters" controls.
#include "mail/EmailDialog.h"

namespace lumi {

namespace {

constexpr size_t kEditText = 78;

std::string Cut(const std::string& text) { return text.size() > kEditText ? text.substr(0, kEditText) : text; }

}  // namespace

EmailDialogFields LoadEmailDialog(NewMailClass& mail) {
    mail.ReadMailSettings();
    EmailDialogFields f;
    f.loginName = mail.loginName;
    f.password = mail.password;
    f.popServer = mail.popServer;
    f.checkEvery = static_cast<unsigned long>(mail.checkEvery);
    f.lan = mail.lan != 0;
    f.security = mail.security;
    f.port = static_cast<unsigned long>(mail.port);
    return f;
}

void SaveEmailDialog(NewMailClass& mail, const EmailDialogFields& fields) {
    mail.loginName = Cut(fields.loginName);
    mail.password = Cut(fields.password);
    mail.popServer = Cut(fields.popServer);
    mail.checkEvery = static_cast<int>(static_cast<unsigned int>(fields.checkEvery));
    mail.lan = fields.lan ? 1 : 0;
    mail.security = fields.security;
    const bool usablePort = fields.port >= 1 && fields.port <= 65535;
    mail.port = usablePort ? static_cast<int>(fields.port)
                           : (fields.security == MailSecurity::Implicit ? NewMailClass::kPop3sPort
                                                                        : NewMailClass::kPop3Port);
    mail.SaveMailSettings();
}

}  // namespace lumi
