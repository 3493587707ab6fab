// Dial-up state on Linux: there is no remote-access library, so "one connection up"
// means exactly one ppp interface that is up.
#include "platform/DialUp.h"

#include <filesystem>
#include <fstream>

namespace lumi::platform {

namespace {

const char kNetFolder[] = "/sys/class/net/";

class PosixDialUp : public DialUpLibrary {
public:
    // Nothing to load: the kernel's interface list is always there.
    DialUpLoad Load() override { return DialUpLoad::Loaded; }
    void Unload() override {}
    bool HasFunctions() const override { return true; }

    DialUpEnumeration EnumerateOne(uint32_t recordSize) override {
        DialUpEnumeration e;
        e.count = static_cast<uint32_t>(CountPointToPointUp(kNetFolder));
        e.bufferSize = e.count * recordSize;
        // As the remote-access call does: more connections than room is a failure.
        e.succeeded = e.count <= 1;
        return e;
    }

    bool FirstConnected(uint32_t) override { return CountPointToPointUp(kNetFolder) >= 1; }
};

}  // namespace

std::unique_ptr<DialUpLibrary> MakeDialUpLibrary() { return std::make_unique<PosixDialUp>(); }

int CountPointToPointUp(const std::string& netFolder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    int up = 0;
    for (fs::directory_iterator it(netFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("ppp", 0) != 0) continue;
        std::ifstream state(it->path() / "operstate");
        std::string word;
        if (!(state >> word)) continue;
        if (word == "up") {
            ++up;
        } else if (word == "unknown") {
            // The ppp driver reports no carrier state, so a working link often reads
            // "unknown"; its flags then tell: up (0x1) and running (0x40).
            std::ifstream flagsFile(it->path() / "flags");
            unsigned long flags = 0;
            if (flagsFile >> std::hex >> flags && (flags & 0x41) == 0x41) ++up;
        }
    }
    return up;
}

}  // namespace lumi::platform
