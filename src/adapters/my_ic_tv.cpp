// My IC-TV (AppId 3): driven by posted command messages, never by keystrokes,
// so neither its key actions nor its Close change the foreground window.
#include "adapters/app_table.h"

namespace {

// Posted, never sent: wParam is always commandWParam, lParam the command number.
constexpr std::uint32_t commandMessage = 5401;
constexpr platform::WParam commandWParam = 5400;
constexpr platform::LParam closeCommand = 1;

}  // namespace

const Adapter myIcTvAdapter = {
    .appId = 3, .record = myIcTvRecord, .name = "My IC-TV",
    .mainWindow = ByTitle("My IC-TV Media Center", Lookup::FindWindowA),
    .close = CloseByMessage(commandMessage, commandWParam, closeCommand), .keyMap = {},
};
