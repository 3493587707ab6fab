// A POSIX program already writes to the terminal that started it.
#include "platform/Console.h"

namespace lumi::platform {

void UseParentConsole() {}

}  // namespace lumi::platform
