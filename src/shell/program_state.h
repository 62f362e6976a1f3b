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
    // Whether the program's session is the one at the console. Another
    // user's copy, switched away from, must not take the codes of the one
    // receiver from the copy of the user at the screen.
    bool atConsole;
    // Between a suspend and the resume: the timers wait for both.
    bool suspended;

    void Reset() { *this = MainWindowState{0, 0, 1, true, false}; }
};
extern MainWindowState program;
