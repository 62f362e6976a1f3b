// An adapter: everything the system knows about one supported TV application,
// as one constant record, and the operations that every adapter shares. An
// application's file holds its record and key map and only the actions that
// no shared shape can say.
#pragma once

#include <cstdint>
#include <span>

#include "adapters/app_adapter.h"
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

struct Adapter {
    int appId;
    AppAdapter& record;
    // The name of the tray menu entry and of the Setting dialog's list.
    const char* name;
    // The main-window identity and how this adapter's FindAppWindow looks it
    // up. The dispatcher's detection, NoAppRunning and the watch find the same
    // class or title their own way.
    WindowQuery mainWindow;
    CloseShape close;
    std::span<const KeyRow> keyMap;
};

platform::WindowHandle FindAppWindow(const Adapter& adapter);
// The main window by FindWindowExA under the desktop, whatever lookup the
// adapter itself uses: how NoAppRunning and the watch ask for it.
platform::WindowHandle FindMainWindow(const Adapter& adapter);
void Close(const Adapter& adapter);
// Closes the application when its main window is present; otherwise activates
// or launches it, arms the WatchTimer and, when that left it active, watches it.
void Power(const Adapter& adapter);
// The key map: a code without a row does nothing, not even a lookup.
void HandleKey(const Adapter& adapter, std::uint32_t code);
