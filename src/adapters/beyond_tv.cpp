// Beyond TV (AppId 7, "SnapStream" in the menu): almost every key is one
// key-down posted with lParam 0, the window left where it is; only Alt+Enter
// and Alt+F4 are typed, after bringing it forward. Found by the window class
// "Streamzap.WM.D3D", which its record keeps as the title; the record's class
// "Beyond TV" serves Launch only.
#include "adapters/remote_key_codes.h"
#include "adapters/supported_app.h"

namespace {

// clang-format off
constexpr KeyRow keyMap[] = {
    Posted(0, Numpad(1), 0),
    Posted(1, Numpad(2), 0),
    Posted(2, Numpad(3), 0),
    Posted(3, Numpad(4), 0),
    Posted(4, Numpad(5), 0),
    Posted(5, Numpad(6), 0),
    Posted(6, Numpad(7), 0),
    Posted(7, Numpad(8), 0),
    Posted(8, Numpad(9), 0),
    Posted(9, 'L', 0),
    Posted(10, Numpad(0), 0),
    Posted(11, VK_RETURN, 0),
    Posted(14, VK_RETURN, 0),
    Posted(16, VK_UP, 0),
    Posted(17, VK_DOWN, 0),
    Posted(18, VK_LEFT, 0),
    Posted(19, VK_RIGHT, 0),
    Posted(20, 'M', 0),
    LookupOnly(21),
    LookupOnly(22),
    Chord(23, VK_MENU, VK_RETURN),
    LookupOnly(25),
    Posted(26, 'S', 0),
    Posted(27, 'R', 0),
    Posted(28, VK_ADD, 0),
    Posted(29, VK_SUBTRACT, 0),
    PostedPair(30, VK_UP, VK_RETURN, 0),
    PostedPair(31, VK_DOWN, VK_RETURN, 0),
    Posted(64, VK_OEM_COMMA, 0),
    Posted(65, VK_OEM_PERIOD, 0),
    Posted(66, VK_LEFT, 0),
    Posted(67, VK_RIGHT, 0),
    Posted(68, VK_MEDIA_PLAY_PAUSE, 0),
    Posted(69, 'S', 0),
    Posted(72, VK_ESCAPE, 0),
    Posted(73, VK_HOME, 0),
    Posted(74, VK_DELETE, 0),
    Posted(75, 'O', 0),
    Posted(76, 'I', 0),
    Posted(77, VK_F11, 0),
    Posted(78, VK_PRIOR, 0),
    Posted(79, VK_NEXT, 0),
};
// clang-format on

}  // namespace

extern constinit const SupportedApp beyondTvApp = {
    .appId = beyondTvId,
    .name = "SnapStream",
    .fullName = "SnapStream Beyond TV",
    .install = {"SOFTWARE\\SnapStream Media\\Beyond TV", "InstallDir", "BTVD3DShell.exe"},
    .windowClass = "Beyond TV",
    .windowTitle = "Streamzap.WM.D3D",
    .mainWindow = ByClass("Streamzap.WM.D3D"),
    .detection = ByClass("Streamzap.WM.D3D"),
    .running = ByClass("Streamzap.WM.D3D"),
    .close = CloseByAltF4(),
    .closeOrder = CloseOrder::TotalMediaFirst,
    .shutDownKey = shutDownCode,
    .keyMap = keyMap,
};
