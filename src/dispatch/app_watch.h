// Operations that look across all applications: the launch watch and the
// question whether any supported application runs.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The WatchTimer procedure.
void WatchTick(platform::WindowHandle window, std::uint32_t message, std::uintptr_t timerId,
               std::uint32_t tickCount);
