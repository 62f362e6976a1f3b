// The program's two timer slots and the procedure each runs: the wiring of
// the timers to the dispatcher and the watch, kept apart from the slot
// operations that both of those call.
#include "dispatch/key_dispatcher.h"
#include "dispatch/launch_watch.h"
#include "dispatch/timer_slot.h"

TimerSlot pollTimer(1, DispatchKey);
TimerSlot watchTimer(2, WatchTick);
