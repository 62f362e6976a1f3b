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
    if (ownerWindow == 0) {
        armed = 1;
        return;
    }
    // Armed only when Windows set the timer (it refuses under a desktop heap
    // shortage): a later Arm, on resume say, tries again.
    armed = platform::SetTimer(ownerWindow, timerId, periodMs, timerProc) != 0 ? 1 : 0;
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
