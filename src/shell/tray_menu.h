// The tray icon's pop-up menu and the commands that reach the main window from
// it and from the accelerators: 30 About, 32 Setting, 1101..1108 switch to an
// application.
#pragma once

#include <cstdint>

#include "adapters/app_ids.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"

struct TrayMenuState {
    // The menu built on the last click; destroyed at the start of the next one.
    platform::MenuHandle trayMenu;
    // True while TrackPopupMenu runs.
    bool menuTracked;

    void Reset() { *this = TrayMenuState{}; }
};
extern TrayMenuState trayMenuState;

// Builds the menu afresh and tracks it at the cursor, owned by window.
void ShowTrayMenu(platform::WindowHandle window);
void OnMenuCommand(std::uint32_t id);

// One of the menu's application entries: IDM_APPLICATION_BASE + AppId.
constexpr bool IsApplicationCommand(std::uint32_t id) {
    return id > IDM_APPLICATION_BASE && id <= IDM_APPLICATION_BASE + appCount;
}
