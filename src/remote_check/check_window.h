// Remote Check: one window that shows the receiver and every remote code as
// it arrives, with what Remote Control would do with it. It never sends input.
#pragma once

#include "platform/platform.h"

// The body of Remote Check's WinMain: returns the exit code.
int RunRemoteCheck(platform::InstanceHandle instance);
