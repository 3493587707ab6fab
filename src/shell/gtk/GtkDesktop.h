// Where the settings program finds what it starts and opens: the help page and the saver.
#pragma once

#include <string>
#include <vector>

namespace lumi::gtkui {

// The places a help page may be, in the order they are tried: beside the program, in the
// installed data folder (<program folder>/../share/lumivane/), and, when the program runs
// from a build folder (CMakeCache.txt beside it), the sources' resources/help/.
// programFolder ends with '/'.
std::vector<std::string> HelpPageCandidates(const std::string& programFolder, const std::string& page,
                                            const std::string& sourceFolder);

// The saver, started in a window to show the sky at once: "lumivane" beside this program.
std::vector<std::string> PreviewCommand(const std::string& programFolder);

}  // namespace lumi::gtkui
