// Loading the remote-access library and asking it for the one dial-up connection.
#include "mail/RasApi.h"

#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi {

namespace {

std::function<void()> showErrors;

void Report(const char* text) {
    AddError(text);
    if (showErrors) showErrors();
}

// Made on first use by the saver's thread, the only one that asks it; never destroyed,
// so nothing depends on the order of destruction at exit.
RasApiDLLClass* rasApiDll = nullptr;

}  // namespace

RasApiDLLClass::RasApiDLLClass(std::unique_ptr<platform::DialUpLibrary> library)
    : library_(library ? std::move(library) : platform::MakeDialUpLibrary()) {}

int RasApiDLLClass::LoadDLL() {
    AppLog().Info.Log("RasApiDLLClass", "LoadDLL");
    if (loaded_) {
        Report("StartDLL-Already loaded ");
        return 1;
    }
    const platform::DialUpLoad result = library_->Load();
    if (result == platform::DialUpLoad::LibraryMissing) {
        Report("StartDLL-fail1 ");
        return 2;
    }
    loaded_ = true;
    AppLog().Info.Log("RasApiDLLClass", "LoadDLL-point1");
    if (result == platform::DialUpLoad::Loaded) {
        AppLog().Info.Log("RasApiDLLClass", "LoadDLL-exit-normal");
        return 0;
    }
    Report("LoadDLL-fail2 ");
    return 3;
}

void RasApiDLLClass::UnloadDLL() {
    if (!loaded_) {
        Report("UnloadDLL-Nothing to unload ");
        return;
    }
    library_->Unload();
    loaded_ = false;
}

int RasApiDLLClass::IsModemConnected() {
    if (!loaded_ || !library_->HasFunctions()) return 0;
    const uint32_t recordSize = library_->ConnectionRecordSize();
    const platform::DialUpEnumeration e = library_->EnumerateOne(recordSize);
    if (e.bufferSize != e.count * recordSize) Report("RECP-Size1");
    if (e.bufferSize > recordSize) Report("RECP-Size2");
    // Two connections or more count as not connected: which one would carry the check?
    if (!e.succeeded || e.count != 1) return 0;
    return library_->FirstConnected(kStatusRecordSize) ? 1 : 0;
}

void SetMailErrorShower(std::function<void()> show) { showErrors = std::move(show); }

RasApiDLLClass& RasApiDLL() {
    if (!rasApiDll) rasApiDll = new RasApiDLLClass();
    return *rasApiDll;
}

}  // namespace lumi
