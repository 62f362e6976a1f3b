// Media Center (AppId 4): found by its window class and closed with WM_CLOSE.
// DetectMediaCenter can mark it installed besides the registry read.
#include "adapters/app_registry.h"
#include "adapters/key_map.h"

namespace {

constexpr MainWindowIdentity identity = {"eHome Render Window", nullptr};
constexpr int appId = 4;

constexpr KeyMap keyMap = {};

platform::WindowHandle FindAppWindow() {
    return FindMainWindow(identity);
}
void Close() {
    CloseWithWmClose(mediaCenterRecord, FindAppWindow);
}
void Power() {
    PowerWithWatch(mediaCenterRecord, appId, FindAppWindow, Close);
}
void HandleKey(std::uint32_t code) {
    RunKeyMap(mediaCenterRecord, FindAppWindow, keyMap, code);
}

}  // namespace

const AdapterOperations mediaCenterAdapter = {identity, FindAppWindow, Close, Power, HandleKey};
