// Adding and removing the notification-area icon.
#include "shell/tray_icon.h"

#include <cstring>

#include "platform/win32_constants.h"

platform::NotifyIconData trayIcon = {};

namespace {
// The 88-byte NOTIFYICONDATA that every shell version accepts.
constexpr std::uint32_t NOTIFY_ICON_DATA_V1_SIZE = 88;
}  // namespace

std::uint32_t taskbarCreatedMessage = 0;
std::uint8_t trayIconShown = 0;

void AddTrayIcon(platform::WindowHandle window, std::uint32_t id, platform::IconHandle icon, const char* tip) {
    trayIcon.cbSize = NOTIFY_ICON_DATA_V1_SIZE;
    trayIcon.hWnd = window;
    trayIcon.uID = id;
    trayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIcon.uCallbackMessage = TRAY_CALLBACK_MESSAGE;
    trayIcon.hIcon = icon;
    // As lstrcpynA: at most 63 characters and a NUL; a null tip is empty.
    std::memset(trayIcon.szTip, 0, sizeof trayIcon.szTip);
    if (tip != nullptr) std::strncpy(trayIcon.szTip, tip, sizeof trayIcon.szTip - 1);
    taskbarCreatedMessage = platform::RegisterWindowMessageA("TaskbarCreated");
    platform::Shell_NotifyIconA(NIM_ADD, &trayIcon);
    trayIconShown = 1;
}

void RemoveTrayIcon(platform::WindowHandle window) {
    platform::NotifyIconData record = {};
    record.cbSize = NOTIFY_ICON_DATA_V1_SIZE;
    record.hWnd = window;
    record.uID = TRAY_ICON_ID;
    platform::Shell_NotifyIconA(NIM_DELETE, &record);
    trayIconShown = 0;
}

bool IsTaskbarCreated(std::uint32_t message) { return taskbarCreatedMessage != 0 && message == taskbarCreatedMessage; }

void RestoreTrayIcon() {
    if (trayIconShown == 1) platform::Shell_NotifyIconA(NIM_ADD, &trayIcon);
}
