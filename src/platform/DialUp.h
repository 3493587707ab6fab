// Whether the machine is on line through a dial-up (point-to-point) connection. Windows
// asks the remote-access library, loaded at run time; Linux reads its network interfaces.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace lumi::platform {

enum class DialUpLoad { Loaded, LibraryMissing, FunctionMissing };

// What listing the connections into room for exactly one record gave.
struct DialUpEnumeration {
    bool succeeded = false;
    uint32_t bufferSize = 0;  // the size the call reported back
    uint32_t count = 0;       // connections it reported
};

class DialUpLibrary {
public:
    virtual ~DialUpLibrary() = default;
    // Loads the library and finds its two functions; on FunctionMissing the library stays
    // loaded (Unload frees it).
    virtual DialUpLoad Load() = 0;
    virtual void Unload() = 0;
    virtual bool HasFunctions() const = 0;
    // The connection record's size for this build: 704 bytes, or 708 where the library's
    // handles are 64 bits wide (the 64-bit Windows build), which refuses 704.
    virtual uint32_t ConnectionRecordSize() const { return 704; }
    // Lists connections into a buffer for one record of recordSize bytes.
    virtual DialUpEnumeration EnumerateOne(uint32_t recordSize) = 0;
    // The state of the connection EnumerateOne found: connected and without error.
    virtual bool FirstConnected(uint32_t statusSize) = 0;
};

std::unique_ptr<DialUpLibrary> MakeDialUpLibrary();

// Linux: the point-to-point interfaces (ppp*) under netFolder (normally /sys/class/net/)
// whose operstate is "up", or "unknown" with the up and running flags set (what a working
// ppp link reports). Other systems: 0.
int CountPointToPointUp(const std::string& netFolder);

}  // namespace lumi::platform
