// The one set of run values of the process.
#include "sky/SaverRun.h"

namespace lumi {

namespace {
SaverRunValues theRun;
}

SaverRunValues& SaverRun() { return theRun; }
void ResetSaverRun() { theRun = SaverRunValues(); }

}  // namespace lumi
