// `lumivane --check-mail`: one mail check now with the stored account, so users can test
// their settings.
#pragma once

namespace lumi {

// Prints the message count (standard output) or the step that failed and why (standard
// error). Returns the exit code: 0 on success, 1 on failure.
int RunMailCheckCommand();

}  // namespace lumi
