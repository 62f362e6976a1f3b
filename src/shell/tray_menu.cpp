// The tray menu: the default application's entry (when it is installed,
// checked while it runs), Setting, About and Exit; and the commands that the
// menu and the accelerators send to the main window.
#include "shell/tray_menu.h"

#include "adapters/app_table.h"
#include "dispatch/app_switching.h"
#include "platform/win32_constants.h"
#include "resources/resource_ids.h"
#include "shell/about_dialog.h"
#include "shell/app_choice.h"
#include "shell/main_window.h"
#include "shell/setting_dialog.h"
#include "shell/settings.h"

platform::MenuHandle trayMenu = 0;

namespace {

// TrackPopupMenu runs a message loop in which another tray click can arrive.
// Rebuilding then would destroy the menu being tracked under the loop's feet,
// and a second menu could not be tracked anyway; the open menu stays.
bool menuTracked = false;

}  // namespace

void ShowTrayMenu(platform::WindowHandle window) {
    if (menuTracked) return;
    platform::Point cursor = {};
    platform::GetCursorPos(&cursor);
    if (trayMenu != 0) platform::DestroyMenu(trayMenu);
    trayMenu = platform::CreatePopupMenu();
    // defaultApp holds one value, so at most one application entry; none when
    // it names no application or one that is not installed.
    for (int k = 1; k <= appCount; ++k) {
        if (defaultApp != k || !IsAvailable(k)) continue;
        const std::uint32_t flags = IsRunning(k) ? MF_CHECKED : MF_STRING;
        platform::AppendMenuA(trayMenu, flags, IDM_APPLICATION_BASE + k, AdapterFor(k).name);
    }
    platform::AppendMenuA(trayMenu, MF_SEPARATOR, 0, nullptr);
    platform::AppendMenuA(trayMenu, MF_STRING, IDM_SETTING, "Setting");
    platform::AppendMenuA(trayMenu, MF_SEPARATOR, 0, nullptr);
    platform::AppendMenuA(trayMenu, MF_STRING, IDM_ABOUT, "About");
    platform::AppendMenuA(trayMenu, MF_SEPARATOR, 0, nullptr);
    platform::AppendMenuA(trayMenu, MF_STRING, IDM_EXIT, "Exit");
    // Without the foreground the menu would not close when the user clicks
    // elsewhere.
    platform::SetForegroundWindow(window);
    menuTracked = true;
    platform::TrackPopupMenu(trayMenu, 0, cursor.x, cursor.y, 0, window, nullptr);
    menuTracked = false;
}

void OnMenuCommand(std::uint32_t id) {
    if (id == IDM_ABOUT) {
        platform::DialogBoxParamA(appInstance, IDD_ABOUT, mainWindow, AboutDialogProc, 0);
    } else if (id == IDM_SETTING) {
        platform::DialogBoxParamA(appInstance, IDD_SETTING, mainWindow, SettingDialogProc, 0);
    } else if (id >= IDM_FIRST_APPLICATION && id <= IDM_LAST_APPLICATION) {
        const int appId = static_cast<int>(id - IDM_APPLICATION_BASE);
        SwitchTo(appId);
        // For this run only: the Setting dialog is what saves the choice.
        defaultApp = appId;
    }
}
