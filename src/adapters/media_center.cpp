// Media Center (AppId 4): found by its window class and closed with WM_CLOSE.
// DetectMediaCenter can mark it installed besides the registry read.
#include "adapters/app_table.h"

const Adapter mediaCenterAdapter = {
    .appId = 4, .record = mediaCenterRecord, .name = "Media Center",
    .mainWindow = ByClass("eHome Render Window"),
    .close = CloseByWmClose(), .keyMap = {},
};
