// The notification-area icon, the only part of the program the user sees.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr std::uint32_t TRAY_ICON_ID = 10;
// Below WM_USER on purpose: the number the icon has always used.
constexpr std::uint32_t TRAY_CALLBACK_MESSAGE = 1001;

// Filled by AddTrayIcon and re-sent as it is on every mouse move over the icon.
extern platform::NotifyIconData trayIcon;

void AddTrayIcon(platform::WindowHandle window, std::uint32_t id, platform::IconHandle icon, const char* tip);
void RemoveTrayIcon(platform::WindowHandle window);
