// The desktop on Linux: xdg-open started directly (no shell, so no text of ours is ever
// parsed as a command), detached so that it never becomes our zombie.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/Desktop.h"

namespace lumi {

namespace {

bool Launch(const std::string& target) {
    if (target.empty() || target.find('\0') != std::string::npos) return false;
    // A target starting with '-' would be taken as an option by xdg-open.
    const std::string arg = target[0] == '-' ? "./" + target : target;
    // The opener reports a failed exec through this pipe; a successful exec closes it.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return false;
    const pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        // The intermediate child forks the opener and leaves as soon as the opener runs,
        // so the opener is adopted by init and we only ever wait for this brief child.
        close(report[0]);
        const pid_t grandchild = fork();
        if (grandchild != 0) {
            close(report[1]);
            _exit(grandchild < 0 ? 1 : 0);
        }
        setsid();
        const int devnull = open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            dup2(devnull, 0);
            dup2(devnull, 1);
            dup2(devnull, 2);
            if (devnull > 2) close(devnull);
        }
        execlp("xdg-open", "xdg-open", arg.c_str(), static_cast<char*>(nullptr));
        const char failed = 1;
        ssize_t ignored = write(report[1], &failed, 1);
        (void)ignored;
        _exit(127);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) break;
    }
    char failed = 0;
    ssize_t n;
    do {
        n = read(report[0], &failed, 1);
    } while (n < 0 && errno == EINTR);
    close(report[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

class PosixDesktop : public DesktopService {
public:
    bool OpenUrl(const std::string& url) override { return Launch(url); }
    bool OpenFolder(const std::string& folder) override { return Launch(folder); }
};

PosixDesktop posixDesktop;

}  // namespace

DesktopService& PlatformDesktop() { return posixDesktop; }

// POSIX file systems have no short names: the path is already the long one.
std::string LongFileName(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) return std::string();
    return path;
}

}  // namespace lumi
