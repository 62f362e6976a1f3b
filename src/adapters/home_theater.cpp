// Home Theater (AppId 2): found by its exact title, case-sensitively on
// purpose (a window titled "HOME THEATER" counts as running for the
// dispatcher but receives nothing from here), and closed with its own chord
// Alt+Ctrl+Shift+F8, sent without bringing it forward.
#include "adapters/app_table.h"

const Adapter homeTheaterAdapter = {
    .appId = 2, .record = homeTheaterRecord, .name = "Home Theater",
    .mainWindow = ByTitle("Home Theater", Lookup::TitleWalk),
    .close = CloseByExitChord(), .keyMap = {},
};
