// A timer slot, and the operations that start and stop the program's two.
#include "dispatch/timer_slot.h"

TimerSlot::TimerSlot(std::uint32_t id, platform::TimerProc procedure)
    : armed(0), timerId(id), ownerWindow(0), periodMs(0), timerProc(procedure) {}

TimerSlot::~TimerSlot() { Disarm(); }

void TimerSlot::Reset() {
    armed = 0;
    ownerWindow = 0;
    periodMs = 0;
}

void TimerSlot::Configure(platform::WindowHandle window, std::uint32_t period) {
    ownerWindow = window;
    periodMs = period;
}

void TimerSlot::Arm() {
    if (armed) return;
    // A slot that was never configured (a resume after a start without
    // receiver) has no owner: a timer without a window would get an id of the
    // system's choosing that no Disarm could kill, so it stays unset.
    if (ownerWindow != 0) platform::SetTimer(ownerWindow, timerId, periodMs, timerProc);
    // Armed even when SetTimer failed: later Arm calls do not retry until a Disarm.
    armed = 1;
}

void TimerSlot::Disarm() {
    if (!armed) return;
    if (ownerWindow != 0) platform::KillTimer(ownerWindow, timerId);
    armed = 0;
}

void StartPollTimer(platform::WindowHandle owner) {
    pollTimer.Configure(owner, 65);
    pollTimer.Arm();
}

void PrepareWatchTimer(platform::WindowHandle owner) {
    watchTimer.Configure(owner, 1000);
    watchTimer.Disarm();
}

void ArmPollTimer() { pollTimer.Arm(); }
void DisarmPollTimer() { pollTimer.Disarm(); }
void ArmWatchTimer() { watchTimer.Arm(); }
void DisarmWatchTimer() { watchTimer.Disarm(); }
