// Media Center (AppId 4): found by its window class and closed with WM_CLOSE.
// Every key brings it forward first, the digits too, although these are
// posted as keypad key-downs rather than typed. DetectMediaCenter can mark it
// installed besides the registry read.
#include "adapters/media_center_detection.h"
#include "adapters/remote_key_codes.h"
#include "adapters/supported_app.h"

namespace {


// clang-format off
constexpr KeyRow keyMap[] = {
    ForwardPosted(0, Numpad(1), postedKeyLParam),
    ForwardPosted(1, Numpad(2), postedKeyLParam),
    ForwardPosted(2, Numpad(3), postedKeyLParam),
    ForwardPosted(3, Numpad(4), postedKeyLParam),
    ForwardPosted(4, Numpad(5), postedKeyLParam),
    ForwardPosted(5, Numpad(6), postedKeyLParam),
    ForwardPosted(6, Numpad(7), postedKeyLParam),
    ForwardPosted(7, Numpad(8), postedKeyLParam),
    ForwardPosted(8, Numpad(9), postedKeyLParam),
    Key(9, VK_BACK),
    ForwardPosted(10, Numpad(0), postedKeyLParam),
    Key(11, VK_RETURN),
    Key(14, VK_RETURN),
    Key(16, VK_UP),
    Key(17, VK_DOWN),
    Key(18, VK_LEFT),
    Key(19, VK_RIGHT),
    Key(20, VK_F8),
    Chord(23, VK_MENU, VK_RETURN),
    Chord(26, VK_CONTROL, VK_SHIFT, 'S'),
    Chord(27, VK_CONTROL, 'R'),
    Key(28, VK_F10),
    Key(29, VK_F9),
    Key(30, VK_PRIOR),
    Key(31, VK_NEXT),
    Chord(64, VK_CONTROL, 'B'),
    Chord(65, VK_CONTROL, 'F'),
    Chord(68, VK_CONTROL, 'P'),
    Chord(69, VK_CONTROL, VK_SHIFT, 'S'),
    Key(72, VK_BACK),
    Chord(73, VK_CONTROL, 'T'),
    Chord(74, VK_CONTROL, 'O'),
    Chord(75, VK_CONTROL, 'I'),
    Chord(76, VK_CONTROL, 'E'),
    Chord(77, VK_CONTROL, 'M'),
    Chord(78, VK_CONTROL, 'G'),
    Key(79, VK_F1),
};
// clang-format on

}  // namespace

extern constinit const SupportedApp mediaCenterApp = {
    .appId = mediaCenterId,
    .name = "Media Center",
    .install = {"SOFTWARE\\Classes\\Applications\\ehshell.exe\\shell\\open\\command", "", ""},
    .windowClass = "eHome Render Window",
    .windowTitle = "eHome Render Window",
    .mainWindow = ByClass("eHome Render Window"),
    .detection = ByClass("eHome Render Window"),
    .running = ByClass("eHome Render Window"),
    .close = CloseByWmClose(),
    .closeOrder = CloseOrder::ByAppId,
    .shutDownKey = shutDownCode,
    .keyMap = keyMap,
    .detectInstalled = DetectMediaCenter,
    // Its registry value is a command line, no usable path: while it is the
    // default and the system test finds it, every launch starts its shell.
    .launchRule = DetectMediaCenter,
};
