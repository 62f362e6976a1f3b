// My IC-TV (AppId 3): driven by posted messages, never by keystrokes, so
// neither its key actions nor its Close change the foreground window. Almost
// every key is one command message; the digits and Escape are key-downs.
#include "adapters/remote_key_codes.h"
#include "adapters/supported_app.h"

namespace {

// Posted, never sent: wParam is always commandWParam, lParam the command number.
constexpr std::uint32_t commandMessage = 5401;
constexpr platform::WParam commandWParam = 5400;
constexpr platform::LParam closeCommand = 1;

constexpr KeyRow CommandRow(std::uint8_t code, platform::LParam command) {
    return Command(code, commandMessage, commandWParam, command);
}

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
    Posted(10, Numpad(0), 0),
    CommandRow(11, 26),
    CommandRow(14, 26),
    CommandRow(16, 24),
    CommandRow(17, 28),
    CommandRow(18, 25),
    CommandRow(19, 27),
    CommandRow(20, 19),
    CommandRow(23, 0),
    CommandRow(26, 67),
    CommandRow(27, 65),
    CommandRow(28, 18),
    CommandRow(29, 21),
    CommandRow(30, 20),
    CommandRow(31, 23),
    CommandRow(64, 68),
    CommandRow(65, 69),
    CommandRow(66, 70),
    CommandRow(67, 72),
    CommandRow(68, 66),
    CommandRow(69, 67),
    CommandRow(72, 22),
    CommandRow(73, 29),
    CommandRow(74, 64),
    Posted(75, VK_ESCAPE, 0),
    CommandRow(76, 31),
    CommandRow(77, 14),
    CommandRow(78, 15),
    CommandRow(79, 16),
};
// clang-format on

}  // namespace

extern constinit const SupportedApp myIcTvApp = {
    .appId = myIcTvId,
    .name = "My IC-TV",
    .install = {"Software\\Honestech\\HT IC-TV", "AppPath", "HT IC-TV.exe"},
    .windowClass = "My IC-TV",
    .windowTitle = "My IC-TV Media Center",
    .mainWindow = ByTitle("My IC-TV Media Center", Lookup::FindWindowA),
    .detection = ByTitle("My IC-TV Media Center"),
    .running = ByTitle("My IC-TV Media Center"),
    .close = CloseByMessage(commandMessage, commandWParam, closeCommand),
    .closeOrder = CloseOrder::ByAppId,
    .shutDownKey = shutDownCode,
    .keyMap = keyMap,
};
