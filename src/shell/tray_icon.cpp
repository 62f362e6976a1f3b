// Adding and removing the notification-area icon.
#include "shell/tray_icon.h"

#include <cstring>

#include "platform/win32_constants.h"

TrayIconState tray;

namespace {
// The 88-byte NOTIFYICONDATA that every shell version accepts.
constexpr std::uint32_t NOTIFY_ICON_DATA_V1_SIZE = 88;

void StopRetrying() {
    tray.addRetriesLeft = 0;
    platform::KillTimer(tray.trayIcon.hWnd, TRAY_RETRY_TIMER_ID);
}

// A failed NIM_ADD can still have added the icon (it timed out while Explorer
// was busy): NIM_MODIFY tells, and a second NIM_ADD of a shown icon would fail.
void RetryTrayIcon(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
    if (tray.trayIconShown != 1) return StopRetrying();
    const bool shown = platform::Shell_NotifyIconA(NIM_MODIFY, &tray.trayIcon) != 0 ||
                       platform::Shell_NotifyIconA(NIM_ADD, &tray.trayIcon) != 0;
    if (shown || --tray.addRetriesLeft == 0) StopRetrying();
}

// At logon the program can start before Explorer's notification area is
// ready: the icon is tried again every 2 s for 10 s, and again whenever
// Explorer says it has (re)started.
void AddOrRetry() {
    if (platform::Shell_NotifyIconA(NIM_ADD, &tray.trayIcon) != 0 || tray.addRetriesLeft != 0) return;
    tray.addRetriesLeft = trayAddRetries;
    platform::SetTimer(tray.trayIcon.hWnd, TRAY_RETRY_TIMER_ID, trayRetryPeriodMs, RetryTrayIcon);
}

}  // namespace


void AddTrayIcon(platform::WindowHandle window, std::uint32_t id, platform::IconHandle icon, const char* tip) {
    tray.trayIcon.cbSize = NOTIFY_ICON_DATA_V1_SIZE;
    tray.trayIcon.hWnd = window;
    tray.trayIcon.uID = id;
    tray.trayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    tray.trayIcon.uCallbackMessage = TRAY_CALLBACK_MESSAGE;
    tray.trayIcon.hIcon = icon;
    // As lstrcpynA: at most 63 characters and a NUL; a null tip is empty.
    std::memset(tray.trayIcon.szTip, 0, sizeof tray.trayIcon.szTip);
    if (tip != nullptr) std::strncpy(tray.trayIcon.szTip, tip, sizeof tray.trayIcon.szTip - 1);
    tray.taskbarCreatedMessage = platform::RegisterWindowMessageA("TaskbarCreated");
    // Explorer runs at the user's level: a copy started with administrator
    // rights would not hear it restart, and its icon would stay gone.
    platform::AllowMessageFromLowerLevel(tray.taskbarCreatedMessage);
    tray.trayIconShown = 1;
    AddOrRetry();
}

void RemoveTrayIcon(platform::WindowHandle window) {
    platform::NotifyIconData record = {};
    record.cbSize = NOTIFY_ICON_DATA_V1_SIZE;
    record.hWnd = window;
    record.uID = TRAY_ICON_ID;
    platform::Shell_NotifyIconA(NIM_DELETE, &record);
    tray.trayIconShown = 0;
    if (tray.addRetriesLeft != 0) StopRetrying();
}

bool IsTaskbarCreated(std::uint32_t message) { return tray.taskbarCreatedMessage != 0 && message == tray.taskbarCreatedMessage; }

void RestoreTrayIcon() {
    if (tray.trayIconShown == 1) AddOrRetry();
}
