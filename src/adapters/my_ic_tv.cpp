// My IC-TV (AppId 3): driven by posted command messages, never by keystrokes,
// so neither its key actions nor its Close change the foreground window.
#include "adapters/app_registry.h"
#include "adapters/key_map.h"

namespace {

constexpr MainWindowIdentity identity = {nullptr, "My IC-TV Media Center"};
constexpr int appId = 3;

// Posted, never sent: wParam is always commandWParam, lParam the command number.
constexpr std::uint32_t commandMessage = 5401;
constexpr platform::WParam commandWParam = 5400;
constexpr platform::LParam closeCommand = 1;

constexpr KeyMap keyMap = {};

platform::WindowHandle FindAppWindow() {
    return platform::FindWindowA(identity.className, identity.title);
}
// Leaves window as the previous key action left it.
void Close() {
    CloseWithCommand(myIcTvRecord, FindAppWindow, commandMessage, commandWParam, closeCommand);
}
void Power() {
    PowerWithWatch(myIcTvRecord, appId, FindAppWindow, Close);
}
void HandleKey(std::uint32_t code) {
    RunKeyMap(myIcTvRecord, FindAppWindow, keyMap, code);
}

}  // namespace

const AdapterOperations myIcTvAdapter = {identity, FindAppWindow, Close, Power, HandleKey};
