// The PollTimer procedure: every tick reads at most one remote key code and
// sends it to exactly one consumer.
#pragma once

#include <cstdint>

#include "dispatch/code_decision.h"
#include "platform/platform.h"

void DispatchKey(platform::WindowHandle window, std::uint32_t message, std::uintptr_t timerId,
                 std::uint32_t tickCount);

// One code read at now: noted, decided and carried out. window owns the Shut
// Down dialog. Returns the decision that was carried out.
Decision DispatchCode(platform::WindowHandle window, std::int32_t code, std::uint32_t now);
