// Checks against a real Dovecot POP3 server, started for this suite from a private
// configuration on free loopback ports with a certificate from a test CA, and stopped
// whatever happens: plain, STLS and POP3S, a wrong password, an untrusted certificate,
// and the --check-mail command.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "common/TestSupport.h"
#include "mail/MailCount.h"
#include "mail/MailTestSupport.h"
#include "mail/NewMail.h"
#include "base/Log.h"

namespace lumi {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

constexpr const char* kDovecot = "/usr/sbin/dovecot";
constexpr const char* kUser = "skywatcher";
constexpr const char* kPassword = "moon-pass-7";

bool Run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// A private Dovecot with three messages waiting for skywatcher.
class Dovecot {
public:
    Dovecot() {
        const std::string d = dir_.Path();
        // The mail processes run as an unprivileged user, who must reach the mail folder.
        chmod(d.c_str(), 0755);
        plainPort_ = testing::FreePort();
        sslPort_ = testing::FreePort();
        if (plainPort_ == sslPort_) return;
        std::filesystem::create_directories(d + "run");
        std::filesystem::create_directories(d + "state");
        const std::string maildir = d + "mail/" + kUser + "/Maildir/";
        for (const char* sub : {"new", "cur", "tmp"}) std::filesystem::create_directories(maildir + sub);
        for (int i = 1; i <= 3; ++i)
            WriteFile(maildir + "new/170000000" + std::to_string(i) + ".M" + std::to_string(i) + ".lumivane",
                      "From: friend@example.org\r\nSubject: note " + std::to_string(i) + "\r\n\r\nHello.\r\n");
        if (!MakeCertificates(d)) return;
        WriteFile(d + "users", std::string(kUser) + ":{PLAIN}" + kPassword + "::::::\n");
        const bool root = getuid() == 0;
        const std::string ids = root ? "uid=nobody gid=nogroup" : "uid=" + std::to_string(getuid()) +
                                                                      " gid=" + std::to_string(getgid());
        if (root && !Run("chown -R nobody:nogroup '" + d + "mail'")) return;
        std::string conf = "base_dir = " + d + "run\nstate_dir = " + d + "state\nlog_path = " + d +
                           "dovecot.log\nprotocols = pop3\nlisten = 127.0.0.1\nssl = yes\nssl_cert = <" + d +
                           "cert.pem\nssl_key = <" + d + "key.pem\ndisable_plaintext_auth = no\n"
                           "auth_mechanisms = plain\npassdb {\n  driver = passwd-file\n  args = scheme=PLAIN "
                           "username_format=%u " + d + "users\n}\nuserdb {\n  driver = static\n  args = " + ids +
                           " home=" + d + "mail/%u\n}\nmail_location = maildir:~/Maildir\n"
                           "service pop3-login {\n  inet_listener pop3 {\n    port = " + std::to_string(plainPort_) +
                           "\n  }\n  inet_listener pop3s {\n    port = " + std::to_string(sslPort_) +
                           "\n    ssl = yes\n  }\n  chroot =\n}\nservice anvil {\n  chroot =\n}\n";
        if (!root) {
            conf += "default_login_user = " + std::string(getenv("USER") ? getenv("USER") : "") +
                    "\ndefault_internal_user = " + std::string(getenv("USER") ? getenv("USER") : "") + "\n";
        }
        WriteFile(d + "dovecot.conf", conf);
        if (!Run(std::string(kDovecot) + " -c '" + d + "dovecot.conf'")) return;
        started_ = true;
        ready_ = WaitForPort(plainPort_) && WaitForPort(sslPort_);
    }

    ~Dovecot() {
        if (!started_) return;
        const std::string pidText = ReadFile(dir_.Path() + "run/master.pid");
        const pid_t pid = static_cast<pid_t>(std::atol(pidText.c_str()));
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        for (int i = 0; i < 100 && kill(pid, 0) == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }

    bool Ready() const { return ready_; }
    uint16_t PlainPort() const { return plainPort_; }
    uint16_t SslPort() const { return sslPort_; }
    std::string CaFile() const { return dir_.Path() + "ca.pem"; }
    std::string OtherCaFile() const { return dir_.Path() + "other-ca.pem"; }
    std::string Log() const { return ReadFile(dir_.Path() + "dovecot.log"); }

private:
    static bool MakeCertificates(const std::string& d) {
        const std::string ca = "-addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign";
        WriteFile(d + "ext.cnf", "subjectAltName=DNS:localhost,IP:127.0.0.1\n");
        return Run("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Lumivane Test CA' -keyout '" + d +
                   "ca.key' -out '" + d + "ca.pem' " + ca) &&
               Run("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Lumivane Other CA' -keyout '" + d +
                   "other-ca.key' -out '" + d + "other-ca.pem' " + ca) &&
               Run("openssl req -newkey rsa:2048 -nodes -subj '/CN=localhost' -keyout '" + d + "key.pem' -out '" + d +
                   "req.pem'") &&
               Run("openssl x509 -req -in '" + d + "req.pem' -CA '" + d + "ca.pem' -CAkey '" + d +
                   "ca.key' -CAcreateserial -days 2 -extfile '" + d + "ext.cnf' -out '" + d + "cert.pem'");
    }

    static bool WaitForPort(uint16_t port) {
        for (int i = 0; i < 200; ++i) {
            auto c = platform::MakeMailConnection();
            if (c->Connect("127.0.0.1", platform::AddressKind::Literal, port, 500, 500) == platform::NetStatus::Ok)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    TempFolder dir_;
    uint16_t plainPort_ = 0;
    uint16_t sslPort_ = 0;
    bool started_ = false;
    bool ready_ = false;
};

class Pop3DovecotTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (access(kDovecot, X_OK) != 0) return;
        server = new Dovecot();
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }

    void SetUp() override {
        if (!server) GTEST_SKIP() << kDovecot << " is not installed";
        ASSERT_TRUE(server->Ready()) << server->Log();
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        MailCount.store(kUnchanged);
        setenv("SSL_CERT_FILE", server->CaFile().c_str(), 1);
        timeouts.connectMs = 5000;
        timeouts.replyMs = 10000;
        timeouts.checkMs = 20000;
    }
    void TearDown() override { unsetenv("SSL_CERT_FILE"); }

    int Check(MailSecurity security, const std::string& host = "127.0.0.1", const std::string& password = kPassword) {
        MailAccount account;
        account.popServer = host;
        account.loginName = kUser;
        account.password = password;
        account.security = security;
        account.port = security == MailSecurity::Implicit ? server->SslPort() : server->PlainPort();
        return CheckMailbox(eRunning, account, timeouts, nullptr, &report);
    }
    bool Logged(const std::string& text) { return FileContainsText(folder.File("log.txt"), text); }

    static constexpr int kUnchanged = 17;
    static Dovecot* server;
    TempFolder folder;
    MailTimeouts timeouts;
    std::atomic<int> eRunning{0};
    MailCheckReport report;
};

Dovecot* Pop3DovecotTest::server = nullptr;

TEST_F(Pop3DovecotTest, PlainStlsAndPop3sEachFindTheThreeMessages) {
    EXPECT_EQ(Check(MailSecurity::Plain), 3) << report.step << ": " << report.why;
    MailCount.store(kUnchanged);
    EXPECT_EQ(Check(MailSecurity::StartTls), 3) << report.step << ": " << report.why;
    MailCount.store(kUnchanged);
    EXPECT_EQ(Check(MailSecurity::Implicit), 3) << report.step << ": " << report.why;
    EXPECT_EQ(MailCount.load(), 3);
    // By name as well: the certificate names localhost, and every address is tried.
    EXPECT_EQ(Check(MailSecurity::Implicit, "localhost"), 3) << report.step << ": " << report.why;
    EXPECT_EQ(eRunning.load(), 0);
}

TEST_F(Pop3DovecotTest, AWrongPasswordGivesMinusOneAndKeepsTheCount) {
    EXPECT_EQ(Check(MailSecurity::Implicit, "127.0.0.1", "not-the-password"), -1);
    EXPECT_EQ(MailCount.load(), kUnchanged);
    EXPECT_EQ(report.step, "PASS");
    EXPECT_TRUE(Logged("GetNumberOfMails: Does not accept password"));
}

TEST_F(Pop3DovecotTest, ACertificateFromAnUntrustedCaAbortsBeforeTheLogOn) {
    setenv("SSL_CERT_FILE", server->OtherCaFile().c_str(), 1);
    EXPECT_EQ(Check(MailSecurity::Implicit), -1);
    EXPECT_EQ(report.step, "TLS");
    EXPECT_TRUE(Logged("GetNumberOfMails: certificate not trusted"));
    report = {};
    EXPECT_EQ(Check(MailSecurity::StartTls), -1);
    EXPECT_EQ(report.step, "TLS");
    // Stopped before USER: nothing of the account went out in clear.
    EXPECT_FALSE(Logged("GetNumberOfMails: password accepted"));
    EXPECT_EQ(MailCount.load(), kUnchanged);
}

TEST_F(Pop3DovecotTest, CheckMailCommandPrintsTheCountOrTheFailingStep) {
    TempFolder home;
    const std::string config = home.Path() + "lumivane/";
    std::filesystem::create_directories(config);
    {
        NewMailClass mail(config);
        mail.loginName = kUser;
        mail.password = kPassword;
        mail.popServer = "localhost";
        mail.security = MailSecurity::StartTls;
        mail.port = server->PlainPort();
        mail.SaveMailSettings();
    }
    const std::string run = "cd '" + home.Path() + "' && XDG_CONFIG_HOME='" + home.Path() + "' TMPDIR='" +
                            home.Path() + "' SSL_CERT_FILE='" + server->CaFile() + "' '" LUMI_BINARY_DIR
                            "/lumivane' --check-mail 2>&1";
    testing::CommandRun ok = testing::RunCommand(run);
    EXPECT_EQ(ok.exitCode, 0) << ok.output;
    EXPECT_NE(ok.output.find("\n3\n"), std::string::npos) << ok.output;

    {
        NewMailClass mail(config);
        mail.ReadMailSettings();
        mail.password = "wrong";
        mail.SaveMailSettings();
    }
    testing::CommandRun refused = testing::RunCommand(run);
    EXPECT_EQ(refused.exitCode, 1) << refused.output;
    EXPECT_NE(refused.output.find("failed at PASS"), std::string::npos) << refused.output;
}

}  // namespace
}  // namespace lumi
