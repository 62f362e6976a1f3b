// WinDVR 6 (AppId 8): found by the exact title "InterVideo WinDVR 6", but
// closed, like Home Theater, through its record's title "WinDVR 6"; Power can
// therefore see it running and still close nothing.
#include "adapters/app_table.h"

const Adapter winDvr6Adapter = {
    .appId = 8, .record = winDvr6.record, .name = "WinDVR 6",
    .mainWindow = ByTitle("InterVideo WinDVR 6", Lookup::TitleWalk),
    .close = CloseByExitChord(), .keyMap = {},
};
