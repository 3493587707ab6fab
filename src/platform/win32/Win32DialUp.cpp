// Dial-up state on Windows through "rasapi32", loaded at run time because machines
// without remote access do not have it.
#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/DialUp.h"

namespace lumi::platform {

namespace {

using EnumConnectionsFn = DWORD(WINAPI*)(void* connections, DWORD* bufferSize, DWORD* count);
using GetConnectStatusFn = DWORD(WINAPI*)(HANDLE connection, void* status);

constexpr DWORD kConnected = 0x2000;  // RASCS_Connected

class Win32DialUp : public DialUpLibrary {
public:
    ~Win32DialUp() override { Unload(); }

    DialUpLoad Load() override {
        module_ = LoadLibraryA("rasapi32");
        if (!module_) return DialUpLoad::LibraryMissing;
        enumConnections_ = reinterpret_cast<EnumConnectionsFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "RasEnumConnectionsA")));
        getConnectStatus_ = reinterpret_cast<GetConnectStatusFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "RasGetConnectStatusA")));
        return HasFunctions() ? DialUpLoad::Loaded : DialUpLoad::FunctionMissing;
    }

    void Unload() override {
        if (module_) FreeLibrary(module_);
        module_ = nullptr;
        enumConnections_ = nullptr;
        getConnectStatus_ = nullptr;
    }

    bool HasFunctions() const override { return enumConnections_ && getConnectStatus_; }

    uint32_t ConnectionRecordSize() const override { return sizeof(void*) == 8 ? 708 : 704; }

    DialUpEnumeration EnumerateOne(uint32_t recordSize) override {
        DialUpEnumeration e;
        first_ = nullptr;
        if (!HasFunctions() || recordSize < 2 * sizeof(HANDLE)) return e;
        // The record starts with its size; the connection handle follows at pointer alignment.
        std::vector<unsigned char> buffer(recordSize);
        const DWORD size = recordSize;
        std::memcpy(buffer.data(), &size, sizeof size);
        DWORD bufferSize = recordSize, count = 0;
        e.succeeded = enumConnections_(buffer.data(), &bufferSize, &count) == 0;
        e.bufferSize = bufferSize;
        e.count = count;
        if (e.succeeded && count == 1) std::memcpy(&first_, buffer.data() + sizeof(HANDLE), sizeof first_);
        return e;
    }

    bool FirstConnected(uint32_t statusSize) override {
        if (!HasFunctions() || !first_ || statusSize < 3 * sizeof(DWORD)) return false;
        std::vector<unsigned char> status(statusSize);
        const DWORD size = statusSize;
        std::memcpy(status.data(), &size, sizeof size);
        if (getConnectStatus_(first_, status.data()) != 0) return false;
        DWORD state = 0, error = 0;
        std::memcpy(&state, status.data() + sizeof(DWORD), sizeof state);
        std::memcpy(&error, status.data() + 2 * sizeof(DWORD), sizeof error);
        return state == kConnected && error == 0;
    }

private:
    HMODULE module_ = nullptr;
    EnumConnectionsFn enumConnections_ = nullptr;
    GetConnectStatusFn getConnectStatus_ = nullptr;
    HANDLE first_ = nullptr;
};

}  // namespace

std::unique_ptr<DialUpLibrary> MakeDialUpLibrary() { return std::make_unique<Win32DialUp>(); }

int CountPointToPointUp(const std::string&) { return 0; }

}  // namespace lumi::platform
