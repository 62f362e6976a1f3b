// Window timers, the tick clock and Sleep.
#include <windows.h>

#include "platform/win32/handles.h"

namespace {

// SetTimer calls a stdcall TIMERPROC; the portable procedure of each
// (window, id) pair is kept here and found by TimerTrampoline.
struct TimerBinding {
    HWND window;
    UINT_PTR id;
    platform::TimerProc procedure;
};
TimerBinding timerBindings[8];

void CALLBACK TimerTrampoline(HWND window, UINT message, UINT_PTR id, DWORD tickCount) {
    for (const TimerBinding& binding : timerBindings) {
        if (binding.procedure != nullptr && binding.window == window && binding.id == id) {
            binding.procedure(FromWin(window), message, id, tickCount);
            return;
        }
    }
}

void Bind(HWND window, UINT_PTR id, platform::TimerProc procedure) {
    TimerBinding* freeSlot = nullptr;
    for (TimerBinding& binding : timerBindings) {
        if (binding.procedure != nullptr && binding.window == window && binding.id == id) {
            binding.procedure = procedure;
            return;
        }
        if (binding.procedure == nullptr && freeSlot == nullptr) freeSlot = &binding;
    }
    if (freeSlot != nullptr) *freeSlot = {window, id, procedure};
}

}  // namespace

namespace platform {

std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t timerId, std::uint32_t periodMs,
                        TimerProc procedure) {
    Bind(ToHwnd(window), timerId, procedure);
    return ::SetTimer(ToHwnd(window), timerId, periodMs, TimerTrampoline);
}

int KillTimer(WindowHandle window, std::uintptr_t timerId) {
    // The binding stays: a later SetTimer of the same pair reuses it.
    return ::KillTimer(ToHwnd(window), timerId);
}

std::uint32_t GetTickCount() { return ::GetTickCount(); }
void Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace platform
