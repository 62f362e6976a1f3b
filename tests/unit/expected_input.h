// The vocabulary of expected input sequences: one short builder per shape the
// system sends, each written out by hand as the fake desktop logs it, so that
// an expected sequence reads one line per action and is compared whole, in
// order, with what was recorded.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "fake/fake_desktop.h"
#include "fake/fake_text.h"

using Calls = std::vector<std::string>;

inline Calls operator+(Calls first, const Calls& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

namespace expect {

using platform::WindowHandle;

// SetForegroundWindow, then SetActiveWindow: how a window is brought forward.
inline Calls Activate(WindowHandle w) {
    return {"SetForegroundWindow(" + fake::W(w) + ")", "SetActiveWindow(" + fake::W(w) + ")"};
}
// BringWindowToTop first, then as Activate.
inline Calls ActivateTop(WindowHandle w) {
    return Calls{"BringWindowToTop(" + fake::W(w) + ")"} + Activate(w);
}
inline std::string KeyDown(std::uint8_t vk) {
    return "keybd_event(" + fake::Hex(vk) + ",0x0,0x1,0x0)";
}
inline std::string KeyUp(std::uint8_t vk) {
    return "keybd_event(" + fake::Hex(vk) + ",0x0,0x3,0x0)";
}
// One key pressed and released, both with the extended-key flag.
inline Calls Key(std::uint8_t vk) {
    return {KeyDown(vk), KeyUp(vk)};
}
// Downs in the order written, ups in reverse.
inline Calls Chord(std::initializer_list<std::uint8_t> keys) {
    Calls calls;
    for (const std::uint8_t vk : keys) calls.push_back(KeyDown(vk));
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) calls.push_back(KeyUp(*it));
    return calls;
}
inline Calls Posted(WindowHandle w, std::uint32_t message, std::uint64_t wParam, std::uint64_t lParam) {
    return {"PostMessageA(" + fake::W(w) + "," + fake::Hex(message) + "," + fake::Hex32(wParam) + "," +
            fake::Hex32(lParam) + ")"};
}
// WM_KEYDOWN posted, with no key-up.
inline Calls PostedKey(WindowHandle w, std::uint8_t vk, std::uint64_t lParam) {
    return Posted(w, 0x100, vk, lParam);
}
inline Calls Pause(std::uint32_t ms) {
    return {"Sleep(" + std::to_string(ms) + ")"};
}

}  // namespace expect

// The window brought forward, then Alt+F4: how most applications are closed.
inline Calls AltF4After(platform::WindowHandle window) {
    return expect::Activate(window) + expect::Chord({0x12, 0x73});
}

// Alt+Ctrl+Shift+F8 without a foreground change: the exit chord of Home
// Theater and WinDVR 6.
inline Calls ExitChord() {
    return expect::Chord({0x12, 0x11, 0x10, 0x77});
}
