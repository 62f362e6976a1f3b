// The key map of one adapter as a table: each row names a remote key code and
// the one action that it calls.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "adapters/app_adapter.h"
#include "platform/platform.h"

enum class ActionKind : std::uint8_t {
    Keystroke,            // bring the window forward, then keys as a chord (one key: PressKey)
    PostKeyDown,          // each of keys as WM_KEYDOWN with lParam 0
    PostKeyDownExtended,  // each of keys as WM_KEYDOWN with the extended-key lParam
    PostKeyDownLParam,    // each of keys as WM_KEYDOWN with the row's lParam
    PostCommand,          // the row's message, wParam and lParam
    Custom,               // the row's own operation, which makes its own lookup if any
};

struct KeyAction {
    std::uint8_t code;
    ActionKind kind;
    std::uint8_t keys[maxChordKeys];  // in order; 0 ends the list early
    // Posting kinds only: bring the window forward first, as a keystroke does.
    std::uint8_t foreground;
    std::uint32_t message;
    platform::WParam wParam;
    platform::LParam lParam;
    // Sleep after the action, whether or not the window was found; it blocks
    // the program's only thread.
    std::uint32_t pauseMs;
    AdapterOperation custom;
};

using KeyMap = std::initializer_list<KeyAction>;

// The row for code, if any: the window is looked up anew, stored in the
// record's window, and the action runs only when it was found. A code without
// a row does nothing at all, not even the lookup.
void RunKeyMap(AppAdapter& record, FindWindowOperation findAppWindow, KeyMap keyMap, std::uint32_t code);

// Rows, as the key maps write them.
constexpr KeyAction Keystroke(std::uint8_t code, std::uint8_t key1, std::uint8_t key2 = 0,
                              std::uint8_t key3 = 0, std::uint8_t key4 = 0) {
    return KeyAction{code, ActionKind::Keystroke, {key1, key2, key3, key4}, 0, 0, 0, 0, 0, nullptr};
}
constexpr KeyAction PostedKey(std::uint8_t code, std::uint8_t key, std::uint8_t thenKey = 0) {
    return KeyAction{code, ActionKind::PostKeyDown, {key, thenKey, 0, 0}, 0, 0, 0, 0, 0, nullptr};
}
constexpr KeyAction PostedExtendedKey(std::uint8_t code, std::uint8_t key, std::uint8_t foreground = 0) {
    return KeyAction{code, ActionKind::PostKeyDownExtended, {key, 0, 0, 0}, foreground, 0, 0, 0, 0, nullptr};
}
constexpr KeyAction PostedKeyWithLParam(std::uint8_t code, std::uint8_t key, platform::LParam lParam) {
    return KeyAction{code, ActionKind::PostKeyDownLParam, {key, 0, 0, 0}, 0, 0, 0, lParam, 0, nullptr};
}
constexpr KeyAction Command(std::uint8_t code, std::uint32_t message, platform::WParam wParam,
                            platform::LParam lParam, std::uint32_t pauseMs = 0) {
    return KeyAction{code,   ActionKind::PostCommand, {0, 0, 0, 0}, 0, message, wParam, lParam, pauseMs,
                     nullptr};
}
constexpr KeyAction CustomAction(std::uint8_t code, AdapterOperation operation) {
    return KeyAction{code, ActionKind::Custom, {0, 0, 0, 0}, 0, 0, 0, 0, 0, operation};
}
