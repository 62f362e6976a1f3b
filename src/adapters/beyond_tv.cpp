// Beyond TV (AppId 7, "SnapStream" in the menu): found by the window class
// "Streamzap.WM.D3D", which its record keeps as the title; the record's class
// "Beyond TV" serves Launch only.
#include "adapters/app_table.h"

const Adapter beyondTvAdapter = {
    .appId = 7, .record = beyondTvRecord, .name = "SnapStream",
    .mainWindow = ByClass("Streamzap.WM.D3D"),
    .close = CloseByAltF4(), .keyMap = {},
};
