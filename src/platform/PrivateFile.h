// Files that hold secrets (the mail password): only their owner may read them.
#pragma once

#include <string>

namespace lumi::platform {

// Creates the file when missing, readable and writable by its owner only, and takes
// group and other access away from an existing one of ours. Never follows a link. Does
// nothing where the platform's per-user folders already keep others out (Windows).
// False when the file could not be made private.
bool MakePrivateFile(const std::string& path);

}  // namespace lumi::platform
