// Private files on Windows: the settings folder is the user's own (%APPDATA% or the
// program folder), whose access list already keeps other users out.
#include "platform/PrivateFile.h"

namespace lumi::platform {

bool MakePrivateFile(const std::string&) { return true; }

}  // namespace lumi::platform
