// The `Universe`: the one object that owns every element of the sky and fixes the order
// in which they are built, stepped and torn down.
#pragma once

#include "host/SkyScene.h"

namespace lumi {

// The module-wide scene the saver window drives.
SkyScene& TheUniverse();

}  // namespace lumi
