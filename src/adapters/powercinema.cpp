// PowerCinema (AppId 1): found by its whole title, closed with Alt+F4.
#include "adapters/app_registry.h"
#include "adapters/key_map.h"

namespace {

constexpr MainWindowIdentity identity = {nullptr, "PowerCinema"};
constexpr int appId = 1;

constexpr KeyMap keyMap = {};

platform::WindowHandle FindAppWindow() {
    return FindMainWindow(identity);
}
void Close() {
    CloseWithAltF4(powerCinemaRecord, FindAppWindow);
}
void Power() {
    PowerWithWatch(powerCinemaRecord, appId, FindAppWindow, Close);
}
void HandleKey(std::uint32_t code) {
    RunKeyMap(powerCinemaRecord, FindAppWindow, keyMap, code);
}

}  // namespace

const AdapterOperations powerCinemaAdapter = {identity, FindAppWindow, Close, Power, HandleKey};
