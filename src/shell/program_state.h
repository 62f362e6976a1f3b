// What the whole program knows of itself: its module, its hidden main window
// (the owner of the timers and dialogs) and whether the receiver was found.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct MainWindowState {
    platform::InstanceHandle appInstance;
    platform::WindowHandle mainWindow;
    // Cleared when the receiver cannot be opened during WM_CREATE; never set again.
    std::int32_t receiverFound;

    void Reset() { *this = MainWindowState{0, 0, 1}; }
};
extern MainWindowState program;
