// The one set of step flags shared by the scene and its stars.
#include "scene/StepFlags.h"

namespace lumi {

namespace {
StarStepFlags stepFlags;
}

StarStepFlags& StepFlags() { return stepFlags; }
void ResetStepFlags() { stepFlags = StarStepFlags(); }

}  // namespace lumi
