// The tray icon's pop-up menu and the commands that reach the main window from
// it and from the accelerators: 30 About, 32 Setting, 1101..1108 switch to an
// application.
#pragma once

#include <cstdint>

#include "platform/platform.h"

void ShowTrayMenu(platform::WindowHandle window);
void OnMenuCommand(std::uint32_t id);
