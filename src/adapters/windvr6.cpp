// WinDVR 6 (AppId 8): found by the exact title "InterVideo WinDVR 6", but
// closed, like Home Theater, through its record's title "WinDVR 6"; Power can
// therefore see it running and still close nothing.
#include "adapters/app_registry.h"
#include "adapters/key_map.h"

namespace {

constexpr MainWindowIdentity identity = {nullptr, "InterVideo WinDVR 6"};
constexpr int appId = 8;

constexpr KeyMap keyMap = {};

platform::WindowHandle FindAppWindow() {
    return FindTopLevelByTitle(identity.title);
}
void Close() {
    CloseWithExitChord(winDvr6.record);
}
void Power() {
    PowerWithWatch(winDvr6.record, appId, FindAppWindow, Close);
}
void HandleKey(std::uint32_t code) {
    RunKeyMap(winDvr6.record, FindAppWindow, keyMap, code);
}

}  // namespace

const AdapterOperations winDvr6Adapter = {identity, FindAppWindow, Close, Power, HandleKey};
