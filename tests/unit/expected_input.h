// Input sequences that several tests expect, written out by hand as the fake
// desktop logs them: a call sequence is compared whole, in order.
#pragma once

#include <string>
#include <vector>

#include "fake/fake_desktop.h"

using Calls = std::vector<std::string>;

// The window brought forward, then Alt+F4: how most applications are closed.
inline Calls AltF4After(platform::WindowHandle window) {
    const std::string w = fake::W(window);
    return {"SetForegroundWindow(" + w + ")", "SetActiveWindow(" + w + ")",
            "keybd_event(0x12,0x0,0x1,0x0)",  "keybd_event(0x73,0x0,0x1,0x0)",
            "keybd_event(0x73,0x0,0x3,0x0)",  "keybd_event(0x12,0x0,0x3,0x0)"};
}

// Alt+Ctrl+Shift+F8 without a foreground change: the exit chord of Home
// Theater and WinDVR 6.
inline Calls ExitChord() {
    return {"keybd_event(0x12,0x0,0x1,0x0)", "keybd_event(0x11,0x0,0x1,0x0)", "keybd_event(0x10,0x0,0x1,0x0)",
            "keybd_event(0x77,0x0,0x1,0x0)", "keybd_event(0x77,0x0,0x3,0x0)", "keybd_event(0x10,0x0,0x3,0x0)",
            "keybd_event(0x11,0x0,0x3,0x0)", "keybd_event(0x12,0x0,0x3,0x0)"};
}
