// Private files on POSIX systems: mode 0600.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/PrivateFile.h"

namespace lumi::platform {

bool MakePrivateFile(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) return false;
    struct stat st{};
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok && (st.st_mode & 077) != 0) ok = st.st_uid == geteuid() && fchmod(fd, st.st_mode & 0700) == 0;
    close(fd);
    return ok;
}

}  // namespace lumi::platform
