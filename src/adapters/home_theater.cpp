// Home Theater (AppId 2): mostly posted key-downs, each with an lParam of its
// own, five chords, a private message and a minimise/restore toggle. Found by
// its exact title, case-sensitively on purpose: a window titled "HOME
// THEATER" counts as running for the dispatcher but receives nothing from
// here. Closed with its own chord Alt+Ctrl+Shift+F8, sent without bringing it
// forward.
#include "adapters/digit_scan_table.h"
#include "adapters/remote_key_codes.h"
#include "adapters/supported_app.h"

namespace {

// Home Theater's private command message; wParam 24 is its only command here.
constexpr std::uint32_t privateMessage = 911;

void ToggleMinimised(const SupportedApp& app, platform::WindowHandle found, const KeyRow&) {
    const bool minimised = platform::IsIconic(found) != 0;
    platform::ShowWindow(app.record().window, minimised ? SW_RESTORE : SW_MINIMIZE);
}
constexpr CustomAction toggleMinimised = {ToggleMinimised, "minimises its window, or restores it"};

// The lParam values are constants of this key map, not derived from the key:
// Escape and Tab carry the scan code 0x26, not their own.
// clang-format off
constexpr KeyRow keyMap[] = {
    Posted(0, TopRowDigit(1), digitScanTable[1]),
    Posted(1, TopRowDigit(2), digitScanTable[2]),
    Posted(2, TopRowDigit(3), digitScanTable[3]),
    Posted(3, TopRowDigit(4), digitScanTable[4]),
    Posted(4, TopRowDigit(5), digitScanTable[5]),
    Posted(5, TopRowDigit(6), digitScanTable[6]),
    Posted(6, TopRowDigit(7), digitScanTable[7]),
    Posted(7, TopRowDigit(8), digitScanTable[8]),
    Posted(8, TopRowDigit(9), digitScanTable[9]),
    Posted(10, TopRowDigit(0), digitScanTable[0]),
    Posted(9, VK_ESCAPE, 0x00260001),
    Posted(11, VK_RETURN, 0x001C0001),
    Posted(14, VK_RETURN, 0x001C0001),
    Posted(16, VK_UP, 0x01480001),
    Posted(17, VK_DOWN, postedKeyLParam),
    Posted(18, VK_LEFT, 0x014B0001),
    Posted(19, VK_RIGHT, 0x014D0001),
    Posted(20, VK_F8, 0x00320001),
    Posted(21, 'U', 0x00160001),
    Chord(22, VK_CONTROL, 'I'),
    Posted(23, 'Z', 0x002C0001),
    Posted(25, VK_SPACE, 0x00140001),
    ChordToFocus(26, VK_CONTROL, 'S'),
    ChordToFocus(27, VK_CONTROL, 'R'),
    Posted(28, VK_F9, 0x002A0001),
    Posted(29, VK_F10, 0x002A0001),
    Posted(30, VK_PRIOR, 0x01490001),
    Posted(31, VK_NEXT, 0x01510001),
    ChordToFocus(64, VK_CONTROL, VK_SHIFT, 'R'),
    ChordToFocus(65, VK_CONTROL, VK_SHIFT, 'F'),
    Posted(66, 'B', 0x00130001),
    Posted(67, VK_TAB, 0x00260001),
    Command(68, privateMessage, 24, 0),
    ChordToFocus(69, VK_CONTROL, 'S'),
    Posted(72, 'P', 0x00190001),
    Posted(73, 'A', 0x001E0001),
    Posted(74, 'K', 0x00250001),
    AfterLookup(75, toggleMinimised),
    Posted(76, 'F', 0),
    Posted(77, 'C', 0x002E0001),
    Posted(78, 'N', 0x00310001),
    Posted(79, VK_ESCAPE, 0x00260001),
};
// clang-format on

}  // namespace

extern constinit const SupportedApp homeTheaterApp = {
    .appId = homeTheaterId,
    .name = "Home Theater",
    .install = {"Software\\InterVideo\\Home Theater", "PATH", "Home Theater.exe"},
    .windowClass = "",
    .windowTitle = "Home Theater",
    .mainWindow = ByTitle("Home Theater", Lookup::TitleWalk),
    .detection = ByTitle("Home Theater"),
    .running = ByTitle("Home Theater", Lookup::TitleWalk),
    .close = CloseByExitChord(),
    .closeOrder = CloseOrder::ByAppId,
    .shutDownKey = shutDownCode,
    .keyMap = keyMap,
};
