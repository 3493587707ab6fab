// Whether the cursor rests in a hot corner when a saver run starts.
#pragma once
#include "host/SaverHost.h"

namespace lumi {

// Reads the switches and the cursor, logs them and answers the corner code.
int MouseInCorner(SaverHost& host);

}  // namespace lumi
