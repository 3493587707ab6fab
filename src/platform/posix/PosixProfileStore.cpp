// Settings files on POSIX systems: there are no system profile functions, so our own INI
// text store does their work with the same rules.
#include "platform/IniText.h"
#include "platform/ProfileStore.h"

namespace lumi {

namespace {

// Stateless, so one shared instance serves every settings file.
IniTextStore iniTextStore;

}  // namespace

ProfileStore& PlatformProfileStore() { return iniTextStore; }

}  // namespace lumi
