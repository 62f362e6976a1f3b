// The program's entry, its hidden main window and the tray icon.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "shell/program_state.h"

// The body of WinMain: returns the exit code.
int RunRemoteControl(platform::InstanceHandle instance);

void RegisterMainClass(platform::InstanceHandle instance);
int CreateMainWindow(platform::InstanceHandle instance);
platform::LResult MainWndProc(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                              platform::LParam lParam);
