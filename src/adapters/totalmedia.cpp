// TotalMedia (AppId 5): the reference adapter, every operation in the common
// shape: each key brings the window forward and is typed. Its main window is
// "Arcsoft TotalMedia", while its record (and so ActivateOrLaunch) looks for
// "TotalMedia".
#include "adapters/remote_key_codes.h"
#include "adapters/supported_app.h"

namespace {

// clang-format off
constexpr KeyRow keyMap[] = {
    Key(0, Numpad(1)),
    Key(1, Numpad(2)),
    Key(2, Numpad(3)),
    Key(3, Numpad(4)),
    Key(4, Numpad(5)),
    Key(5, Numpad(6)),
    Key(6, Numpad(7)),
    Key(7, Numpad(8)),
    Key(8, Numpad(9)),
    Key(9, VK_BACK),
    Key(10, Numpad(0)),
    Key(11, VK_RETURN),
    Key(14, VK_RETURN),
    Key(16, VK_UP),
    Key(17, VK_DOWN),
    Key(18, VK_LEFT),
    Key(19, VK_RIGHT),
    Key(20, VK_F8),
    Key(21, VK_F6),
    Key(22, VK_F4),
    Chord(23, VK_MENU, VK_RETURN),
    Key(25, VK_F2),
    Chord(26, VK_CONTROL, 'S'),
    Chord(27, VK_CONTROL, 'R'),
    Key(28, VK_F10),
    Key(29, VK_F9),
    Key(30, VK_ADD),
    Key(31, VK_SUBTRACT),
    Chord(64, VK_CONTROL, VK_SHIFT, 'D'),
    Chord(65, VK_CONTROL, VK_SHIFT, 'F'),
    Chord(66, VK_CONTROL, 'B'),
    Chord(67, VK_CONTROL, 'F'),
    Chord(68, VK_CONTROL, VK_SHIFT, 'P'),
    Chord(69, VK_CONTROL, 'S'),
    Key(72, VK_BACK),
    Chord(73, VK_CONTROL, 'T'),
    Chord(74, VK_CONTROL, 'E'),
    Chord(75, VK_CONTROL, 'G'),
};
// clang-format on

}  // namespace

extern constinit const SupportedApp totalMediaApp = {
    .appId = totalMediaId,
    .name = "TotalMedia",
    .install = {"SOFTWARE\\ArcSoft\\TotalMedia\\2.0", "AppPath", "TotalMedia.exe"},
    .windowClass = "",
    .windowTitle = "TotalMedia",
    .mainWindow = ByTitle("Arcsoft TotalMedia"),
    .detection = ByTitle("Arcsoft TotalMedia"),
    .running = ByTitle("TotalMedia", Lookup::TitleWalk),
    .close = CloseByAltF4(),
    .closeOrder = CloseOrder::ByAppId,
    .shutDownKey = shutDownCode,
    .keyMap = keyMap,
};
