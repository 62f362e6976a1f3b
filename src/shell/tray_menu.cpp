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
#include "shell/program_state.h"
#include "shell/setting_dialog.h"
#include "settings/settings.h"

TrayMenuState trayMenuState;

void ShowTrayMenu(platform::WindowHandle window) {
    // TrackPopupMenu runs a message loop in which another tray click can
    // arrive. Rebuilding then would destroy the menu being tracked under the
    // loop's feet, and a second menu could not be tracked anyway; the open
    // menu stays.
    if (trayMenuState.menuTracked) return;
    platform::Point cursor = {};
    platform::GetCursorPos(&cursor);
    if (trayMenuState.trayMenu != 0) platform::DestroyMenu(trayMenuState.trayMenu);
    trayMenuState.trayMenu = platform::CreatePopupMenu();
    // defaultApp holds one value, so at most one application entry; none when
    // it names no application or one that is not installed.
    for (int k = 1; k <= appCount; ++k) {
        if (settings.defaultApp != k || !IsAvailable(k)) continue;
        const std::uint32_t flags = IsRunning(k) ? MF_CHECKED : MF_STRING;
        platform::AppendMenuA(trayMenuState.trayMenu, flags, IDM_APPLICATION_BASE + k, AppFor(k).name);
    }
    platform::AppendMenuA(trayMenuState.trayMenu, MF_SEPARATOR, 0, nullptr);
    platform::AppendMenuA(trayMenuState.trayMenu, MF_STRING, IDM_SETTING, "Setting");
    platform::AppendMenuA(trayMenuState.trayMenu, MF_SEPARATOR, 0, nullptr);
    platform::AppendMenuA(trayMenuState.trayMenu, MF_STRING, IDM_ABOUT, "About");
    platform::AppendMenuA(trayMenuState.trayMenu, MF_SEPARATOR, 0, nullptr);
    platform::AppendMenuA(trayMenuState.trayMenu, MF_STRING, IDM_EXIT, "Exit");
    // Without the foreground the menu would not close when the user clicks
    // elsewhere.
    platform::SetForegroundWindow(window);
    trayMenuState.menuTracked = true;
    platform::TrackPopupMenu(trayMenuState.trayMenu, 0, cursor.x, cursor.y, 0, window, nullptr);
    // Without a message after it, a menu opened from the tray may not close
    // when the user clicks elsewhere, or open only on the second click.
    platform::PostMessageA(window, WM_NULL, 0, 0);
    trayMenuState.menuTracked = false;
}

void OnMenuCommand(std::uint32_t id) {
    if (id == IDM_ABOUT) {
        platform::DialogBoxParamA(program.appInstance, IDD_ABOUT, program.mainWindow, AboutDialogProc, 0);
    } else if (id == IDM_SETTING) {
        platform::DialogBoxParamA(program.appInstance, IDD_SETTING, program.mainWindow, SettingDialogProc, 0);
    } else if (IsApplicationCommand(id)) {
        const int appId = static_cast<int>(id - IDM_APPLICATION_BASE);
        SwitchTo(appId);
        // For this run only: the Setting dialog is what saves the choice.
        settings.defaultApp = appId;
    }
}
