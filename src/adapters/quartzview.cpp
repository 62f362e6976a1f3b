// Quartzview (AppId 6): the card maker's own application takes every command,
// closing included, as a private message posted to its main panel.
#include "adapters/app_registry.h"
#include "adapters/key_map.h"

namespace {

constexpr MainWindowIdentity identity = {"TarvexMainPanel_Class", nullptr};
constexpr int appId = 6;

// WM_USER + 3000; wParam carries the command number, lParam is always 0.
constexpr std::uint32_t PANEL_COMMAND_MESSAGE = 0x0FB8;
constexpr platform::WParam closeCommand = 1;

constexpr KeyMap keyMap = {};

platform::WindowHandle FindAppWindow() {
    return FindMainWindow(identity);
}
void Close() {
    CloseWithCommand(quartzviewRecord, FindAppWindow, PANEL_COMMAND_MESSAGE, closeCommand, 0);
}
void Power() {
    PowerWithWatch(quartzviewRecord, appId, FindAppWindow, Close);
}
void HandleKey(std::uint32_t code) {
    RunKeyMap(quartzviewRecord, FindAppWindow, keyMap, code);
}

}  // namespace

const AdapterOperations quartzviewAdapter = {identity, FindAppWindow, Close, Power, HandleKey};
