// A supported application: everything the system knows about one TV
// application, as one constant description beside its runtime AppAdapter
// record, and the operations that every application shares. An application's
// file holds its description and key map and only the actions that no shared
// shape can say.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "adapters/app_adapter.h"
#include "adapters/app_ids.h"
#include "adapters/key_map.h"
#include "adapters/window_lookup.h"
#include "platform/platform.h"

// How an application is closed; every shape acts only when its lookup finds
// the window, and then clears active.
enum class CloseKind : std::uint8_t {
    // FindAppWindow, stored in window; brought forward; Alt+F4.
    AltF4,
    // FindAppWindow, stored in window; brought forward; WM_CLOSE posted, so
    // active is cleared without waiting for the window to go.
    WmClose,
    // FindAppWindow, not stored; the close message posted; no foreground change.
    Message,
    // The record's own title (FindByTitle), not stored; Alt+Ctrl+Shift+F8
    // without bringing anything forward, so it goes to the focused window.
    ExitChord,
};

struct CloseShape {
    CloseKind kind;
    std::uint32_t message;  // CloseKind::Message only
    platform::WParam wParam;
    platform::LParam lParam;
};

constexpr CloseShape CloseByAltF4() {
    return CloseShape{CloseKind::AltF4, 0, 0, 0};
}
constexpr CloseShape CloseByWmClose() {
    return CloseShape{CloseKind::WmClose, 0, 0, 0};
}
constexpr CloseShape CloseByMessage(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) {
    return CloseShape{CloseKind::Message, message, wParam, lParam};
}
constexpr CloseShape CloseByExitChord() {
    return CloseShape{CloseKind::ExitChord, 0, 0, 0};
}

// Which other applications Power closes first, and in what order, before
// launching this one.
enum class CloseOrder : std::uint8_t {
    ByAppId,          // the others in AppId order
    TotalMediaFirst,  // the same, but TotalMedia before Media Center
};

struct SupportedApp {
    AppId appId;
    // The name of the tray menu entry and of the Setting dialog's list.
    const char* name;
    // The whole name, where the menu's is short; null: the same.
    const char* fullName = nullptr;
    InstallLocation install;
    // What Launch looks for once it has started the program: by class when
    // there is one, else by the whole title. Copied into the record.
    const char* windowClass;
    const char* windowTitle;
    // The main-window identity and how this application's FindAppWindow
    // looks it up.
    WindowQuery mainWindow;
    // How the dispatcher recognises it running while no application is active.
    WindowQuery detection;
    // How the tray menu and the Setting dialog ask whether it runs.
    WindowQuery running;
    CloseShape close;
    CloseOrder closeOrder;
    // The key that offers the Shut Down dialog while this is the default
    // application and none runs.
    std::int32_t shutDownKey;
    std::span<const KeyRow> keyMap;
    // Optional. A test of the system that can find the application installed
    // although its registry value was not read; every pass marks the record
    // installed.
    int (*detectInstalled)(char* shellPath, std::size_t shellPathSize) = nullptr;
    // Optional. Puts the application's own key-map state back when the
    // dispatcher finds it running and makes it the active application.
    void (*resetOnDetection)() = nullptr;
    // Optional. Where every launch starts from while this is the default
    // application (see LaunchRule).
    LaunchRule launchRule = nullptr;

    AppAdapter& record() const;
};

platform::WindowHandle FindAppWindow(const SupportedApp& app);
// The main window by FindWindowExA under the desktop, whatever lookup the
// application itself uses: how NoAppRunning and the watch ask for it.
platform::WindowHandle FindMainWindow(const SupportedApp& app);
void Close(const SupportedApp& app);

enum class PowerAction : std::uint8_t {
    Closes,  // its main window is present (the close may find nothing to send to)
    Starts,  // activated or launched; whoever follows the launch takes over
};
// What Power does to the application now: its one lookup, made first.
PowerAction PowerOutcome(const SupportedApp& app);
// Closes the application, or activates or launches it, as PowerOutcome said.
// defaultAppRule: the default application's launch rule, or null.
void CarryOutPower(const SupportedApp& app, PowerAction action, LaunchRule defaultAppRule);
// Both: closes the application when its main window is present; otherwise
// activates or launches it.
PowerAction Power(const SupportedApp& app, LaunchRule defaultAppRule);

// The one way a key action brings the window found forward; SetActiveWindow
// takes the record's window, which the caller has just set to it.
void BringForward(const AppAdapter& record, platform::WindowHandle found, Forward forward);
