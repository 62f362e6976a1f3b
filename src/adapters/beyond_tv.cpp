// Beyond TV (AppId 7): found by the window class "Streamzap.WM.D3D", which its
// record keeps as the title; the record's class "Beyond TV" serves Launch only.
#include "adapters/app_registry.h"
#include "adapters/key_map.h"

namespace {

constexpr MainWindowIdentity identity = {"Streamzap.WM.D3D", nullptr};
constexpr int appId = 7;

constexpr KeyMap keyMap = {};

platform::WindowHandle FindAppWindow() {
    return FindMainWindow(identity);
}
void Close() {
    CloseWithAltF4(beyondTvRecord, FindAppWindow);
}
void Power() {
    PowerWithWatch(beyondTvRecord, appId, FindAppWindow, Close);
}
void HandleKey(std::uint32_t code) {
    RunKeyMap(beyondTvRecord, FindAppWindow, keyMap, code);
}

}  // namespace

const AdapterOperations beyondTvAdapter = {identity, FindAppWindow, Close, Power, HandleKey};
