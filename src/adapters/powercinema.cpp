// PowerCinema (AppId 1): found by its whole title, closed with Alt+F4. Its
// plain keys (digits, arrows, Enter, Escape, function keys, keypad plus and
// minus) are posted as key-downs with one fixed lParam, the commands bound to
// letters are typed as Ctrl chords; both bring the window forward first.
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
    Chord(9, VK_CONTROL, 'L'),
    ForwardPosted(10, Numpad(0), postedKeyLParam),
    ForwardPosted(11, VK_RETURN, postedKeyLParam),
    ForwardPosted(14, VK_RETURN, postedKeyLParam),
    ForwardPosted(16, VK_UP, postedKeyLParam),
    ForwardPosted(17, VK_DOWN, postedKeyLParam),
    ForwardPosted(18, VK_LEFT, postedKeyLParam),
    ForwardPosted(19, VK_RIGHT, postedKeyLParam),
    ForwardPosted(20, VK_F8, postedKeyLParam),
    ForwardPosted(23, VK_F11, postedKeyLParam),
    Chord(26, VK_CONTROL, 'S'),
    Chord(27, VK_CONTROL, 'R'),
    ForwardPosted(28, VK_F10, postedKeyLParam),
    ForwardPosted(29, VK_F9, postedKeyLParam),
    ForwardPosted(30, VK_ADD, postedKeyLParam),
    ForwardPosted(31, VK_SUBTRACT, postedKeyLParam),
    Chord(64, VK_CONTROL, VK_SHIFT, 'D'),
    Chord(65, VK_CONTROL, VK_SHIFT, 'F'),
    Chord(66, VK_CONTROL, 'B'),
    Chord(67, VK_CONTROL, 'F'),
    Chord(68, VK_CONTROL, 'P'),
    Chord(69, VK_CONTROL, 'S'),
    ForwardPosted(72, VK_ESCAPE, postedKeyLParam),
    Chord(73, VK_CONTROL, VK_SHIFT, 'Z'),
    Chord(74, VK_CONTROL, 'T'),
    Chord(75, VK_CONTROL, 'D'),
    Chord(76, VK_CONTROL, 'I'),
    Chord(77, VK_CONTROL, 'E'),
    Chord(78, VK_CONTROL, VK_SHIFT, 'T'),
    ForwardPosted(79, VK_F1, postedKeyLParam),
};
// clang-format on

}  // namespace

extern constinit const SupportedApp powerCinemaApp = {
    .appId = powerCinemaId,
    .name = "PowerCinema",
    .install = {"SOFTWARE\\CyberLink\\PowerCinema", "InstallPath", "PowerCinema.exe"},
    .windowClass = "",
    .windowTitle = "PowerCinema",
    .mainWindow = ByTitle("PowerCinema"),
    .detection = ByTitle("PowerCinema", Lookup::FindWindowA),
    .running = ByTitle("PowerCinema"),
    .close = CloseByAltF4(),
    .closeOrder = CloseOrder::ByAppId,
    .shutDownKey = shutDownCode,
    .keyMap = keyMap,
};
