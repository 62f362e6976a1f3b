// The launch watch: once a second while armed, it follows the application that
// the Power key activated or launched, and stops treating it as active once
// its main window has gone.
#pragma once

#include <cstdint>

#include "adapters/app_table.h"
#include "platform/platform.h"

// Entry k - 1 for AppId k: set by adapter k's Power when it leaves the
// application active, cleared by the watch when its window is gone.
extern std::int32_t watchFlags[appCount];

// The WatchTimer procedure.
void WatchTick(platform::WindowHandle window, std::uint32_t message, std::uintptr_t timerId,
               std::uint32_t tickCount);
