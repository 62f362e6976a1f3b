// One row of an adapter's key map: the remote key code, how the application's
// window is brought forward, and what is sent to it. Every key map is a
// constant table of these rows, written with the builders below in the order
// and with the values of the application's key map, so that a reader can hold
// the table against it line by line.
#pragma once

#include <cstdint>

#include "adapters/synthetic_input.h"
#include "platform/platform.h"
#include "platform/win32_constants.h"

struct SupportedApp;
struct KeyRow;

// The lParam of most posted key-downs, whatever the key: repeat count 1, scan
// code 0x50 (the Down arrow's), extended-key bit.
constexpr platform::LParam postedKeyLParam = 0x01500001;

// How the window found is brought forward before anything is sent.
enum class Forward : std::uint8_t {
    None,           // input goes where it is sent, or to whatever has the focus
    Activate,       // SetForegroundWindow, then SetActiveWindow
    ActivateOnTop,  // BringWindowToTop first, then as Activate
};

// What a row sends once the lookup has found the window.
enum class Send : std::uint8_t {
    LookupOnly,           // nothing: the row only refreshes the record's window
    Keys,                 // keys as one chord; a single key goes down and up
    PostedKeys,           // each of keys as WM_KEYDOWN with the row's lParam, no key-up
    Message,              // the row's message, wParam and lParam, posted
    CustomAfterLookup,    // the row's action, with the window found (never null)
    CustomWithoutLookup,  // the row's action, with no lookup and a null window
};

// An action no row shape can say: run receives its application, the window
// found (null for CustomWithoutLookup) and its own row; words say what it does
// in the user guide's words (key_words.h). One constant per action and
// wording, beside the key map, so that the rows stay one short line each.
struct CustomAction {
    void (*run)(const SupportedApp& app, platform::WindowHandle found, const KeyRow& row);
    const char* words;
};

struct KeyRow {
    std::uint8_t code;
    Forward forward;
    Send send;
    std::uint8_t keys[maxChordKeys];  // in order; 0 ends the list early
    std::uint32_t message;
    platform::WParam wParam;
    platform::LParam lParam;  // of the posted keys, or of the message
    // Sleep after the row, whether or not the window was found; it blocks the
    // program's only thread.
    std::uint32_t pauseMs;
    const CustomAction* custom;
};

// --- Row builders, one per shape of the key maps ---------------------------
// The window brought forward, then one key pressed and released.
constexpr KeyRow Key(std::uint8_t code, std::uint8_t key) {
    return KeyRow{code, Forward::Activate, Send::Keys, {key, 0, 0, 0}, 0, 0, 0, 0, nullptr};
}
// The window brought forward, then a chord: modifiers in the order written.
constexpr KeyRow Chord(std::uint8_t code, std::uint8_t key1, std::uint8_t key2, std::uint8_t key3 = 0,
                       std::uint8_t key4 = 0) {
    return KeyRow{code, Forward::Activate, Send::Keys, {key1, key2, key3, key4}, 0, 0, 0, 0, nullptr};
}
// A chord without any foreground change: it reaches whichever window has the
// keyboard focus, provided the application's window exists.
constexpr KeyRow ChordToFocus(std::uint8_t code, std::uint8_t key1, std::uint8_t key2,
                              std::uint8_t key3 = 0) {
    return KeyRow{code, Forward::None, Send::Keys, {key1, key2, key3, 0}, 0, 0, 0, 0, nullptr};
}
// WM_KEYDOWN posted to the window, which stays where it is.
constexpr KeyRow Posted(std::uint8_t code, std::uint8_t key, platform::LParam lParam) {
    return KeyRow{code, Forward::None, Send::PostedKeys, {key, 0, 0, 0}, 0, 0, lParam, 0, nullptr};
}
// Two WM_KEYDOWN posted one after the other, with the same lParam.
constexpr KeyRow PostedPair(std::uint8_t code, std::uint8_t key, std::uint8_t thenKey,
                            platform::LParam lParam) {
    return KeyRow{code, Forward::None, Send::PostedKeys, {key, thenKey, 0, 0}, 0, 0, lParam, 0, nullptr};
}
// WM_KEYDOWN posted after bringing the window forward, as a keystroke would.
constexpr KeyRow ForwardPosted(std::uint8_t code, std::uint8_t key, platform::LParam lParam) {
    return KeyRow{code, Forward::Activate, Send::PostedKeys, {key, 0, 0, 0}, 0, 0, lParam, 0, nullptr};
}
// A message posted to the window, optionally followed by a pause.
constexpr KeyRow Command(std::uint8_t code, std::uint32_t message, platform::WParam wParam,
                         platform::LParam lParam, std::uint32_t pauseMs = 0) {
    return KeyRow{code,   Forward::None, Send::Message, {0, 0, 0, 0}, message,
                  wParam, lParam,        pauseMs,       nullptr};
}
// A message posted after BringWindowToTop, SetForegroundWindow and SetActiveWindow.
constexpr KeyRow CommandOnTop(std::uint8_t code, std::uint32_t message, platform::WParam wParam,
                              platform::LParam lParam) {
    return KeyRow{code,   Forward::ActivateOnTop, Send::Message, {0, 0, 0, 0}, message, wParam, lParam, 0,
                  nullptr};
}
// The window looked up and stored, nothing sent.
constexpr KeyRow LookupOnly(std::uint8_t code) {
    return KeyRow{code, Forward::None, Send::LookupOnly, {0, 0, 0, 0}, 0, 0, 0, 0, nullptr};
}
// action must be a constant of static storage: the row keeps its address.
constexpr KeyRow AfterLookup(std::uint8_t code, const CustomAction& action) {
    return KeyRow{code, Forward::None, Send::CustomAfterLookup, {0, 0, 0, 0}, 0, 0, 0, 0, &action};
}
constexpr KeyRow WithoutLookup(std::uint8_t code, const CustomAction& action) {
    return KeyRow{code, Forward::None, Send::CustomWithoutLookup, {0, 0, 0, 0}, 0, 0, 0, 0, &action};
}

// Virtual keys of the digits, for the key maps' digit rows.
constexpr std::uint8_t Numpad(int digit) {
    return static_cast<std::uint8_t>(VK_NUMPAD0 + digit);
}
constexpr std::uint8_t TopRowDigit(int digit) {
    return static_cast<std::uint8_t>('0' + digit);
}
