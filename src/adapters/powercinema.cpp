// PowerCinema (AppId 1): found by its whole title, closed with Alt+F4.
#include "adapters/app_table.h"

const Adapter powerCinemaAdapter = {
    .appId = 1, .record = powerCinemaRecord, .name = "PowerCinema",
    .mainWindow = ByTitle("PowerCinema"),
    .close = CloseByAltF4(), .keyMap = {},
};
