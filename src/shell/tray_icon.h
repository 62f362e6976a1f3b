// The notification-area icon, the only part of the program the user sees.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr std::uint32_t TRAY_ICON_ID = 10;
// Below WM_USER on purpose: the number the icon has always used.
constexpr std::uint32_t TRAY_CALLBACK_MESSAGE = 1001;
// The main window's timer that tries a failed NIM_ADD again; 1 and 2 are the
// poll and watch timers.
constexpr std::uintptr_t TRAY_RETRY_TIMER_ID = 3;
constexpr std::uint32_t trayRetryPeriodMs = 2000;
constexpr std::uint8_t trayAddRetries = 5;

struct TrayIconState {
    // Filled by AddTrayIcon and re-sent as it is on every mouse move over the icon.
    platform::NotifyIconData trayIcon;
    // The registered "TaskbarCreated" number; 0 until registered (no message
    // has that number, so a failed registration leaves the icon without its
    // restore).
    std::uint32_t taskbarCreatedMessage;
    // 1 from AddTrayIcon until RemoveTrayIcon.
    std::uint8_t trayIconShown;
    // Tries of NIM_ADD still to come after a failed one (Explorer not ready
    // at logon, or too busy to answer in time).
    std::uint8_t addRetriesLeft;

    void Reset() { *this = TrayIconState{}; }
};
extern TrayIconState tray;

// Also registers "TaskbarCreated", the message a restarted shell broadcasts.
void AddTrayIcon(platform::WindowHandle window, std::uint32_t id, platform::IconHandle icon, const char* tip);
void RemoveTrayIcon(platform::WindowHandle window);
// True for the shell's "TaskbarCreated" broadcast.
bool IsTaskbarCreated(std::uint32_t message);
// A restarted shell has forgotten every icon: adds trayIcon again as it was,
// unless the icon has been removed since (the program is ending).
void RestoreTrayIcon();
