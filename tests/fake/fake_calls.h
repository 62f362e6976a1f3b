// What the fake's platform functions share: the desktop they act on, the
// log entry each one writes, and Win32 rules that more than one follows.
//
// Each function first logs itself (format in fake_desktop.h). Beyond those
// rules: an output pointer is left out of the entry; a record passed in is
// written as its fields in braces ({hwnd,message,wParam,lParam} for a MSG,
// the fields of NOTIFYICONDATA); a registry key is written as the path by
// which the program opened it ("HKLM\Software\X"), an unknown handle in hex;
// show commands are decimal, as in the ShellExecuteA example.
#pragma once

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>

#include "fake/fake_desktop.h"
#include "fake/fake_text.h"
#include "platform/platform.h"
#include "platform/win32_constants.h"

namespace platform::calls {

using fake::Dec;
using fake::Hex;
using fake::Hex32;
using fake::Str;
using fake::W;

inline fake::Desktop& D() {
    return fake::Desktop::Get();
}

// Writes Function(arg,arg,...) to the log.
inline void Log(const char* function, std::initializer_list<std::string> arguments) {
    std::string entry = function;
    entry += '(';
    bool first = true;
    for (const std::string& argument : arguments) {
        if (!first) entry += ',';
        entry += argument;
        first = false;
    }
    entry += ')';
    D().Record(std::move(entry));
}

// The failure switch (fake_desktop.h): counts this call of function and tells
// whether it must fail; if so, sets the last error to lastError. The caller
// then returns its documented failure answer.
inline bool FailingAt(const char* function, std::uint32_t lastError, const void* site) {
    fake::Desktop& desktop = D();
    const int n = ++desktop.callCounts[function];
    desktop.callSites[function][site].push_back(n);
    const fake::Desktop::FailureSwitch& failure = desktop.failure;
    if (failure.call != function) return false;
    if (n != failure.occurrence && !(failure.persistent && n > failure.occurrence)) return false;
    desktop.lastError = lastError;
    ++desktop.failuresMade;
    return true;
}

// Used in the body of each fake call, so that the return address is the
// program's call site.
#define Failing(function, lastError) FailingAt(function, lastError, __builtin_return_address(0))

// Win32 error codes the fake sets besides those of win32_constants.h.
constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorInsufficientBuffer = 122;
constexpr long kErrorKeyDeleted = 1018;
constexpr long kErrorNoSuchPrivilege = 1313;
constexpr long kErrorPrivilegeNotHeld = 1314;
constexpr long kErrorInvalidWindowHandle = 1400;
constexpr long kErrorCannotFindWindowClass = 1407;
constexpr long kErrorClassAlreadyExists = 1410;

// DestroyWindow: the procedure sees WM_DESTROY while the window still exists.
inline void DestroyWindowNow(WindowHandle handle) {
    const fake::Window* window = D().Find(handle);
    if (!window) return;
    if (window->procedure) {
        window->procedure(handle, WM_DESTROY, 0, 0);
    } else if (window->dialogProcedure) {
        window->dialogProcedure(handle, WM_DESTROY, 0, 0);
    }
    D().RemoveWindow(handle);
}

// Copies text into a buffer of bufferMax chars, cut to bufferMax - 1 and a NUL.
inline int CopyCut(const std::string& text, char* buffer, int bufferMax) {
    if (!buffer || bufferMax <= 0) return 0;
    const int count = std::min(static_cast<int>(text.size()), bufferMax - 1);
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(count));
    buffer[count] = 0;
    return count;
}

}  // namespace platform::calls
