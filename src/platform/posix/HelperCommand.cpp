// Helper programs run with fork and execvp; a failed exec is reported through a pipe
// that a successful exec closes.
#include "platform/posix/HelperCommand.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace lumi {

namespace {

constexpr size_t kMaxOutput = 64 * 1024;
// Poll slices of 100 ms: a helper gets about ten seconds in all.
constexpr int kSliceMs = 100;
constexpr int kSlices = 100;

}  // namespace

HelperResult RunHelperCommand(const std::vector<std::string>& argv) {
    HelperResult result;
    if (argv.empty() || argv[0].empty()) return result;
    std::vector<char*> args;
    for (const std::string& a : argv) {
        if (a.find('\0') != std::string::npos) return result;
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);

    int out[2], report[2];
    if (pipe2(out, O_CLOEXEC) != 0) return result;
    if (pipe2(report, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return result;
    }
    const pid_t child = fork();
    if (child < 0) {
        for (int fd : {out[0], out[1], report[0], report[1]}) close(fd);
        return result;
    }
    if (child == 0) {
        const int devnull = open("/dev/null", O_RDONLY);
        if (devnull >= 0) dup2(devnull, 0);
        dup2(out[1], 1);
        dup2(out[1], 2);
        execvp(args[0], args.data());
        const char failed = 1;
        ssize_t ignored = write(report[1], &failed, 1);
        (void)ignored;
        _exit(127);
    }
    close(out[1]);
    close(report[1]);
    // Non-blocking: a program that leaves a child holding the pipe must not hold us.
    fcntl(out[0], F_SETFL, fcntl(out[0], F_GETFL) | O_NONBLOCK);

    char buffer[4096];
    bool open = true;
    int slices = 0;
    int status = 0;
    bool reaped = false;
    while (!reaped && slices < kSlices) {
        if (open) {
            pollfd p{out[0], POLLIN, 0};
            const int ready = poll(&p, 1, kSliceMs);
            if (ready < 0 && errno != EINTR) open = false;
            if (ready == 0) ++slices;
            if (ready > 0) {
                const ssize_t n = read(out[0], buffer, sizeof buffer);
                if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) open = false;
                if (n > 0 && result.output.size() < kMaxOutput)
                    result.output.append(buffer, std::min(static_cast<size_t>(n), kMaxOutput - result.output.size()));
            }
        }
        const pid_t w = waitpid(child, &status, WNOHANG);
        if (w == child) reaped = true;
        else if (!open) {
            // Output closed but the program still runs: wait for it in slices too.
            pollfd none{-1, 0, 0};
            poll(&none, 0, kSliceMs);
            ++slices;
        }
    }
    if (!reaped) {
        kill(child, SIGKILL);
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        status = -1;
    }
    // Whatever is left in the pipe after the program ended.
    while (open) {
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        if (result.output.size() < kMaxOutput)
            result.output.append(buffer, std::min(static_cast<size_t>(n), kMaxOutput - result.output.size()));
    }
    close(out[0]);
    char failed = 0;
    ssize_t n;
    do {
        n = read(report[0], &failed, 1);
    } while (n < 0 && errno == EINTR);
    close(report[0]);
    result.started = n == 0;
    if (reaped && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}

}  // namespace lumi
