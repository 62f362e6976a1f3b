// TotalMedia (AppId 5): the reference adapter, every operation in the common
// shape. Its main window is "Arcsoft TotalMedia", while its record (and so
// ActivateOrLaunch) looks for "TotalMedia".
#include "adapters/app_registry.h"
#include "adapters/key_map.h"

namespace {

constexpr MainWindowIdentity identity = {nullptr, "Arcsoft TotalMedia"};
constexpr int appId = 5;

constexpr KeyMap keyMap = {};

platform::WindowHandle FindAppWindow() {
    return FindMainWindow(identity);
}
void Close() {
    CloseWithAltF4(totalMediaRecord, FindAppWindow);
}
void Power() {
    PowerWithWatch(totalMediaRecord, appId, FindAppWindow, Close);
}
void HandleKey(std::uint32_t code) {
    RunKeyMap(totalMediaRecord, FindAppWindow, keyMap, code);
}

}  // namespace

const AdapterOperations totalMediaAdapter = {identity, FindAppWindow, Close, Power, HandleKey};
