// The two window timers that drive all work after start-up.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// One window timer that remembers whether it is set, so that arming an armed
// slot or disarming a disarmed one does nothing.
struct TimerSlot {
    std::uint8_t armed;
    std::uint32_t timerId;
    platform::WindowHandle ownerWindow;
    std::uint32_t periodMs;
    platform::TimerProc timerProc;

    TimerSlot(std::uint32_t id, platform::TimerProc procedure);
    ~TimerSlot();
    TimerSlot(const TimerSlot&) = delete;
    TimerSlot& operator=(const TimerSlot&) = delete;

    // Forgets the timer without killing it: for a process that starts its
    // run over (the tests).
    void Reset();
    void Configure(platform::WindowHandle window, std::uint32_t period);
    void Arm();
    void Disarm();
};

extern TimerSlot pollTimer;   // id 1, 65 ms, DispatchKey
extern TimerSlot watchTimer;  // id 2, 1000 ms, WatchTick

// Both owned by the program's main window.
void StartPollTimer(platform::WindowHandle owner);
void PrepareWatchTimer(platform::WindowHandle owner);
void ArmPollTimer();
void DisarmPollTimer();
void ArmWatchTimer();
void DisarmWatchTimer();
