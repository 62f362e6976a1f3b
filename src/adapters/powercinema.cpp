// PowerCinema (AppId 1): found by its whole title, closed with Alt+F4. Its
// plain keys (digits, arrows, Enter, Escape, function keys, keypad plus and
// minus) are posted as key-downs with one fixed lParam, the commands bound to
// letters are typed as Ctrl chords; both bring the window forward first.
#include "adapters/app_table.h"

namespace {

// Repeat count 1, scan code 0x50, extended-key bit: the same for every key.
constexpr platform::LParam keyLParam = 0x01500001;

// clang-format off
constexpr KeyRow keyMap[] = {
    ForwardPosted(0, Numpad(1), keyLParam),
    ForwardPosted(1, Numpad(2), keyLParam),
    ForwardPosted(2, Numpad(3), keyLParam),
    ForwardPosted(3, Numpad(4), keyLParam),
    ForwardPosted(4, Numpad(5), keyLParam),
    ForwardPosted(5, Numpad(6), keyLParam),
    ForwardPosted(6, Numpad(7), keyLParam),
    ForwardPosted(7, Numpad(8), keyLParam),
    ForwardPosted(8, Numpad(9), keyLParam),
    Chord(9, VK_CONTROL, 'L'),
    ForwardPosted(10, Numpad(0), keyLParam),
    ForwardPosted(11, VK_RETURN, keyLParam),
    ForwardPosted(14, VK_RETURN, keyLParam),
    ForwardPosted(16, VK_UP, keyLParam),
    ForwardPosted(17, VK_DOWN, keyLParam),
    ForwardPosted(18, VK_LEFT, keyLParam),
    ForwardPosted(19, VK_RIGHT, keyLParam),
    ForwardPosted(20, VK_F8, keyLParam),
    ForwardPosted(23, VK_F11, keyLParam),
    Chord(26, VK_CONTROL, 'S'),
    Chord(27, VK_CONTROL, 'R'),
    ForwardPosted(28, VK_F10, keyLParam),
    ForwardPosted(29, VK_F9, keyLParam),
    ForwardPosted(30, VK_ADD, keyLParam),
    ForwardPosted(31, VK_SUBTRACT, keyLParam),
    Chord(64, VK_CONTROL, VK_SHIFT, 'D'),
    Chord(65, VK_CONTROL, VK_SHIFT, 'F'),
    Chord(66, VK_CONTROL, 'B'),
    Chord(67, VK_CONTROL, 'F'),
    Chord(68, VK_CONTROL, 'P'),
    Chord(69, VK_CONTROL, 'S'),
    ForwardPosted(72, VK_ESCAPE, keyLParam),
    Chord(73, VK_CONTROL, VK_SHIFT, 'Z'),
    Chord(74, VK_CONTROL, 'T'),
    Chord(75, VK_CONTROL, 'D'),
    Chord(76, VK_CONTROL, 'I'),
    Chord(77, VK_CONTROL, 'E'),
    Chord(78, VK_CONTROL, VK_SHIFT, 'T'),
    ForwardPosted(79, VK_F1, keyLParam),
};
// clang-format on

}  // namespace

const Adapter powerCinemaAdapter = {
    .appId = 1, .record = powerCinemaRecord, .name = "PowerCinema",
    .mainWindow = ByTitle("PowerCinema"),
    .close = CloseByAltF4(), .keyMap = keyMap,
};
