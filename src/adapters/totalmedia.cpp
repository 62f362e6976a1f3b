// TotalMedia (AppId 5): the reference adapter, every operation in the common
// shape. Its main window is "Arcsoft TotalMedia", while its record (and so
// ActivateOrLaunch) looks for "TotalMedia".
#include "adapters/app_table.h"

const Adapter totalMediaAdapter = {
    .appId = 5, .record = totalMediaRecord, .name = "TotalMedia",
    .mainWindow = ByTitle("Arcsoft TotalMedia"),
    .close = CloseByAltF4(), .keyMap = {},
};
