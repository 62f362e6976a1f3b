// Quartzview (AppId 6): the card maker's own application takes every command,
// the digits and closing included, as a private message posted to its main
// panel; it is never typed at and, but for one command, never brought forward.
#include "adapters/remote_key_codes.h"
#include "adapters/supported_app.h"

namespace {

// WM_USER + 3000; wParam carries the command number, lParam is always 0.
constexpr std::uint32_t PANEL_COMMAND_MESSAGE = 0x0FB8;
constexpr platform::WParam closeCommand = 1;
// Three commands are followed by this pause, whether or not the panel was
// found. It blocks the program's only thread: no poll tick, tray click or
// dialog is served meanwhile.
constexpr std::uint32_t busyPanelPauseMs = 2000;

constexpr KeyRow PanelCommand(std::uint8_t code, platform::WParam command, std::uint32_t pauseMs = 0) {
    return Command(code, PANEL_COMMAND_MESSAGE, command, 0, pauseMs);
}

// clang-format off
constexpr KeyRow keyMap[] = {
    PanelCommand(0, 10001),
    PanelCommand(1, 10002),
    PanelCommand(2, 10003),
    PanelCommand(3, 10004),
    PanelCommand(4, 10005),
    PanelCommand(5, 10006),
    PanelCommand(6, 10007),
    PanelCommand(7, 10008),
    PanelCommand(8, 10009),
    PanelCommand(9, 4003),
    PanelCommand(10, 10000),
    PanelCommand(11, 10020),
    PanelCommand(14, 18),
    PanelCommand(16, 4001),
    PanelCommand(17, 4002),
    PanelCommand(18, 402),
    PanelCommand(19, 401),
    PanelCommand(20, 403),
    PanelCommand(21, 300),
    PanelCommand(22, 200),
    PanelCommand(23, 3),
    PanelCommand(24, 5),
    PanelCommand(25, 2000, busyPanelPauseMs),
    PanelCommand(26, 1002),
    PanelCommand(27, 1001, busyPanelPauseMs),
    PanelCommand(28, 1000),
    PanelCommand(30, 17),
    PanelCommand(31, 8),
    PanelCommand(64, 1005),
    PanelCommand(65, 1004),
    PanelCommand(66, 1008),
    PanelCommand(67, 1009),
    PanelCommand(68, 3000, busyPanelPauseMs),
    PanelCommand(69, 1002),
    PanelCommand(72, 4004),
    PanelCommand(73, 22),
    CommandOnTop(74, PANEL_COMMAND_MESSAGE, 20, 0),
    PanelCommand(75, 104),
};
// clang-format on

}  // namespace

extern constinit const SupportedApp quartzviewApp = {
    .appId = quartzviewId,
    .name = "Quartzview",
    .install = {"Software\\Honestech\\TV Plus\\DTVR", "AppPath", "MainPanel.exe"},
    .windowClass = "TarvexMainPanel_Class",
    .windowTitle = "TVR",
    .mainWindow = ByClass("TarvexMainPanel_Class"),
    .detection = ByClass("TarvexMainPanel_Class"),
    .running = ByClass("TarvexMainPanel_Class"),
    .close = CloseByMessage(PANEL_COMMAND_MESSAGE, closeCommand, 0),
    .closeOrder = CloseOrder::TotalMediaFirst,
    .shutDownKey = quartzviewShutDownCode,
    .keyMap = keyMap,
};
