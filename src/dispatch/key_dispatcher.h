// The PollTimer procedure: every tick reads at most one remote key code and
// sends it to exactly one consumer.
#pragma once

#include <cstdint>

#include "platform/platform.h"

void DispatchKey(platform::WindowHandle window, std::uint32_t message, std::uintptr_t timerId,
                 std::uint32_t tickCount);
