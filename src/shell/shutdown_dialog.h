// The Shut Down dialog that the remote's shut-down key opens.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct ShutDownDialogState {
    // 1 from just before the dialog is created until it ends.
    std::int32_t shutDownDialogOpen;
    // Stored while the dialog initialises; valid while shutDownDialogOpen is 1.
    platform::WindowHandle shutDownDialog;

    void Reset() { *this = ShutDownDialogState{}; }
};
extern ShutDownDialogState shutDownState;

// Runs dialog 107 modally, owned by owner; returns the dialog result.
std::intptr_t ShowShutDownDialog(platform::WindowHandle owner);
