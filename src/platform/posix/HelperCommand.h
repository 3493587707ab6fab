// Starting a desktop's own command-line tool (gsettings, xfconf-query, ...) directly,
// without a shell, so no text of ours is ever parsed as a command.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lumi {

struct HelperResult {
    bool started = false;  // false when the program could not be found or run
    int exitCode = -1;     // -1 when it was killed or did not end in time
    std::string output;    // standard output and error together, at most 64 KiB
};

using HelperRunner = std::function<HelperResult(const std::vector<std::string>& argv)>;

// Runs argv[0], found on PATH, with standard input from /dev/null; a program still
// running after about ten seconds is killed.
HelperResult RunHelperCommand(const std::vector<std::string>& argv);

}  // namespace lumi
