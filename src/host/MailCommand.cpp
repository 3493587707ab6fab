// The command-line mail check.
#include "host/MailCommand.h"

#include <cstdio>

#include "mail/NewMail.h"
#include "platform/Console.h"
#include "settings/IniFile.h"

namespace lumi {

namespace {

const char* SecurityName(MailSecurity security) {
    switch (security) {
        case MailSecurity::Plain: return "plain POP3";
        case MailSecurity::StartTls: return "POP3 with STLS";
        case MailSecurity::Implicit: return "POP3S";
    }
    return "";
}

}  // namespace

int RunMailCheckCommand() {
    platform::UseParentConsole();
    MainIni().Init("$CURRENT", "Lumivan.ini");
    NewMailClass& mail = TheNewMail();
    mail.ReadMailSettings();
    std::printf("Checking %s at %s port %d as %s...\n", SecurityName(mail.security), mail.popServer.c_str(),
                mail.port, mail.loginName.c_str());
    std::fflush(stdout);
    MailCheckReport report;
    const int count = mail.GetNumberOfMails(&report);
    if (count >= 0 && report.step.empty()) {
        std::printf("%d\n", count);
        return 0;
    }
    std::fprintf(stderr, "lumivane: the mail check failed at %s: %s\n", report.step.c_str(),
                 report.why.empty() ? "unknown reason" : report.why.c_str());
    return 1;
}

}  // namespace lumi
