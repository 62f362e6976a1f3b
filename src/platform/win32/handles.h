// Conversions between the seam's portable handles and Win32's.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/platform.h"

// RemoteControl.exe is a 32-bit program: its structure sizes are the 32-bit
// ones and the driver requests carry 32-bit addresses. The 64-bit build of the
// same sources is a test twin for machines that cannot run 32-bit code; it
// departs from the program only where this is false.
constexpr bool thirtyTwoBitProcess = sizeof(void*) == 4;

template <class Handle>
Handle ToWin(std::uintptr_t value) {
    return reinterpret_cast<Handle>(value);
}

inline HWND ToHwnd(platform::WindowHandle window) { return ToWin<HWND>(window); }

template <class Handle>
std::uintptr_t FromWin(Handle handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

inline platform::Message FromMsg(const MSG& msg) {
    return platform::Message{FromWin(msg.hwnd), msg.message, msg.wParam, msg.lParam, msg.time, {msg.pt.x, msg.pt.y}};
}

inline MSG ToMsg(const platform::Message& message) {
    MSG msg = {};
    msg.hwnd = ToHwnd(message.hwnd);
    msg.message = message.message;
    msg.wParam = message.wParam;
    msg.lParam = message.lParam;
    msg.time = message.time;
    msg.pt.x = message.pt.x;
    msg.pt.y = message.pt.y;
    return msg;
}
