// The PollTimer procedure: every tick reads at most one remote key code and
// sends it to exactly one consumer.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Dispatcher state, all 0 at start; changed only on ticks where a code was read.
struct DispatcherState {
    std::int32_t lastCode;       // the previous read, before any suppression
    std::uint32_t lastReadTime;  // GetTickCount right after the previous read
    std::int32_t repeatCount;    // consecutive repeats of lastCode; 0 for a fresh press
    // Set while a Power-key launch runs. Its message boxes are modal and ticks
    // keep arriving inside them; a held Power key would otherwise open box
    // upon box, each running the whole launch again.
    bool powerLaunchRunning;

    void Reset() { *this = DispatcherState{}; }
};
extern DispatcherState dispatcher;

// The same code again within this time of the previous read is a repeat.
constexpr std::uint32_t repeatWindowMs = 250;

// Measured from the previous read, as an unsigned 32-bit difference so that
// the tick counter wrapping past 2^32 changes nothing.
constexpr bool IsRepeat(std::int32_t code, std::uint32_t now, std::int32_t previousCode,
                        std::uint32_t previousReadTime) {
    return code == previousCode && static_cast<std::uint32_t>(now - previousReadTime) < repeatWindowMs;
}

// While an application is active, a held key acts on the fresh press and on
// every tenth repeat.
constexpr bool PassesWhileAppActive(std::int32_t repeats) {
    return repeats % 10 == 0;
}

void DispatchKey(platform::WindowHandle window, std::uint32_t message, std::uintptr_t timerId,
                 std::uint32_t tickCount);

struct Decision;
// One code read at now: noted, decided and carried out. window owns the Shut
// Down dialog. Returns the decision that was carried out.
Decision DispatchCode(platform::WindowHandle window, std::int32_t code, std::uint32_t now);
