// Home Theater (AppId 2): found by its exact title, and closed with its own
// chord Alt+Ctrl+Shift+F8, sent without bringing it forward.
#include "adapters/app_registry.h"
#include "adapters/key_map.h"

namespace {

constexpr MainWindowIdentity identity = {nullptr, "Home Theater"};
constexpr int appId = 2;

constexpr KeyMap keyMap = {};

// Case-sensitive on purpose: a window titled "HOME THEATER" counts as running
// for the dispatcher's case-insensitive lookup but receives nothing from here.
platform::WindowHandle FindAppWindow() {
    return FindTopLevelByTitle(identity.title);
}
void Close() {
    CloseWithExitChord(homeTheaterRecord);
}
void Power() {
    PowerWithWatch(homeTheaterRecord, appId, FindAppWindow, Close);
}
void HandleKey(std::uint32_t code) {
    RunKeyMap(homeTheaterRecord, FindAppWindow, keyMap, code);
}

}  // namespace

const AdapterOperations homeTheaterAdapter = {identity, FindAppWindow, Close, Power, HandleKey};
