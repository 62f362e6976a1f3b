// The program's entry, its hidden main window and the tray icon.
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

// The body of WinMain: returns the exit code.
int RunRemoteControl(platform::InstanceHandle instance);

void RegisterMainClass(platform::InstanceHandle instance);
int CreateMainWindow(platform::InstanceHandle instance);
platform::LResult MainWndProc(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                              platform::LParam lParam);
