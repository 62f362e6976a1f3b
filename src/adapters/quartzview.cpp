// Quartzview (AppId 6): the card maker's own application takes every command,
// closing included, as a private message posted to its main panel.
#include "adapters/app_table.h"

namespace {

// WM_USER + 3000; wParam carries the command number, lParam is always 0.
constexpr std::uint32_t PANEL_COMMAND_MESSAGE = 0x0FB8;
constexpr platform::WParam closeCommand = 1;

}  // namespace

const Adapter quartzviewAdapter = {
    .appId = 6, .record = quartzviewRecord, .name = "Quartzview",
    .mainWindow = ByClass("TarvexMainPanel_Class"),
    .close = CloseByMessage(PANEL_COMMAND_MESSAGE, closeCommand, 0), .keyMap = {},
};
