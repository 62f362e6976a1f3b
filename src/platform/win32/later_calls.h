// Calls of newer Windows than the oldest the programs run on (98, ME, XP):
// looked up when needed, so that the programs import nothing a system lacks.
#pragma once

#include <windows.h>

// The function name of dll, as Function; null where that Windows lacks it.
template <typename Function>
Function LaterCall(const char* dll, const char* name) {
    const HMODULE module = LoadLibraryA(dll);
    if (module == nullptr) return nullptr;
    // Through void (*)(void), the one cast that says "a function of another type" on purpose.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}
