// The program started over on an empty fake desktop, for every harness that
// runs the product code many times in one process (the unit tests' fixture,
// the fuzz targets, the benchmark): no state one run leaves behind may steer
// the next.
#pragma once

#include "platform/platform.h"

namespace fake {

// Every module's state back to its start-up values, but for a 1024x768
// screen's pointer limits; no application installed.
void ResetProductState();

// The fake desktop emptied, the clock at 1,000,000 ms, the product's state
// reset, the program's main window added (it owns both timers), the receiver
// opened and the log cleared. Returns the main window.
platform::WindowHandle StartOnFreshDesktop();

}  // namespace fake
