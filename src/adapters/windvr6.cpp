// WinDVR 6 (AppId 8): posted key-downs with lParam values of their own, like
// Home Theater, but its arrow keys move the mouse pointer in steps that code
// 75 switches between small and large, and code 14 clicks. Found by the exact
// title "InterVideo WinDVR 6", but closed, like Home Theater, through its
// record's title "WinDVR 6": Power can therefore see it running and still
// close nothing.
#include "adapters/windvr6.h"

#include "adapters/digit_scan_table.h"
#include "adapters/remote_key_codes.h"
#include "adapters/supported_app.h"
#include "adapters/synthetic_input.h"

WinDvr6State winDvr6;

namespace {

constexpr std::int32_t smallPointerStep = 10;
constexpr std::int32_t largePointerStep = 50;

// A relative move by one step, after the window was found: code 16 up, 17
// down, 18 left, 19 right.
void MovePointerOneStep(const SupportedApp&, platform::WindowHandle, const KeyRow& row) {
    const std::int32_t step = winDvr6.fastPointer != 0 ? largePointerStep : smallPointerStep;
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    switch (row.code) {
        case 16: dy = -step; break;
        case 17: dy = step; break;
        case 18: dx = -step; break;
        default: dx = step; break;
    }
    // mouse_event takes the signed relative move in its unsigned arguments.
    platform::mouse_event(MOUSEEVENTF_MOVE, static_cast<std::uint32_t>(dx), static_cast<std::uint32_t>(dy), 0, 0);
}

// Needs no window: it clicks wherever the pointer is, WinDVR 6 running or not.
void ClickLeftButton(const SupportedApp&, platform::WindowHandle, const KeyRow&) {
    ClickAtPointer(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

void ToggleStep(const SupportedApp&, platform::WindowHandle, const KeyRow&) {
    winDvr6.fastPointer = winDvr6.fastPointer == 0 ? 1 : 0;
}

constexpr CustomAction pointerUp = {MovePointerOneStep, "pointer up 10 or 50 pixels (code 75 switches)"};
constexpr CustomAction pointerDown = {MovePointerOneStep, "pointer down 10 or 50 pixels (code 75 switches)"};
constexpr CustomAction pointerLeft = {MovePointerOneStep, "pointer left 10 or 50 pixels (code 75 switches)"};
constexpr CustomAction pointerRight = {MovePointerOneStep, "pointer right 10 or 50 pixels (code 75 switches)"};
constexpr CustomAction leftClick = {ClickLeftButton, "left click where the pointer is"};
constexpr CustomAction toggleStep = {ToggleStep, "switches the pointer step between 10 and 50 pixels"};

// Found running by the dispatcher, it starts again with the small step.
void ResetPointerStep() {
    winDvr6.Reset();
}

// The lParam values are constants of this key map, not derived from the key:
// 'H' carries the scan code of 'A'.
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
    Posted(9, 'L', 0),
    Posted(11, VK_RETURN, 0x001C0001),
    WithoutLookup(14, leftClick),
    AfterLookup(16, pointerUp),
    AfterLookup(17, pointerDown),
    AfterLookup(18, pointerLeft),
    AfterLookup(19, pointerRight),
    Posted(20, 'M', 0x00320001),
    Posted(21, 'U', 0x00160001),
    Chord(22, VK_CONTROL, 'I'),
    Posted(23, 'Z', 0x002C0001),
    Posted(25, 'T', 0),
    Posted(26, VK_END, 0),
    Posted(27, VK_HOME, 0),
    Chord(28, VK_SHIFT, VK_UP),
    Chord(29, VK_SHIFT, VK_DOWN),
    Posted(30, VK_PRIOR, 0x01490001),
    Posted(31, VK_NEXT, 0x01510001),
    ChordToFocus(64, VK_CONTROL, VK_SHIFT, 'F'),
    ChordToFocus(65, VK_CONTROL, VK_SHIFT, 'R'),
    Posted(68, VK_SPACE, 0),
    Posted(69, VK_END, 0),
    Posted(72, 'O', 0),
    Posted(73, 'H', 0x001E0001),
    Posted(74, 'P', 0x00190001),
    WithoutLookup(75, toggleStep),
    ChordToFocus(78, VK_CONTROL, 'B'),
    ChordToFocus(79, VK_CONTROL, 'F'),
};
// clang-format on

}  // namespace

extern constinit const SupportedApp winDvr6App = {
    .appId = winDvr6Id,
    .name = "WinDVR 6",
    .install = {"Software\\InterVideo\\DVR6", "PATH", "WinDVR.exe"},
    .windowClass = "",
    .windowTitle = "WinDVR 6",
    .mainWindow = ByTitle("InterVideo WinDVR 6", Lookup::TitleWalk),
    .detection = ByTitle("InterVideo WinDVR 6"),
    .running = ByTitle("WinDVR 6", Lookup::TitleWalk),
    .close = CloseByExitChord(),
    .closeOrder = CloseOrder::TotalMediaFirst,
    .shutDownKey = shutDownCode,
    .keyMap = keyMap,
    .resetOnDetection = ResetPointerStep,
};
