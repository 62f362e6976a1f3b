// Switching between applications, and the questions the tray menu, the Setting
// dialog and the dispatcher ask about all of them.
#include "dispatch/app_switching.h"

#include "adapters/app_table.h"
#include "adapters/window_lookup.h"

namespace {

// How IsRunning asks for each application, by AppId. Home Theater, TotalMedia
// and WinDVR 6 are asked for by their records' exact, case-sensitive titles,
// not by their main windows: TotalMedia running as "Arcsoft TotalMedia" does
// not count.
constexpr WindowQuery runningLookups[appCount] = {
    ByTitle("PowerCinema"),
    ByTitle("Home Theater", Lookup::TitleWalk),
    ByTitle("My IC-TV Media Center"),
    ByClass("eHome Render Window"),
    ByTitle("TotalMedia", Lookup::TitleWalk),
    ByClass("TarvexMainPanel_Class"),
    ByClass("Streamzap.WM.D3D"),
    ByTitle("WinDVR 6", Lookup::TitleWalk),
};

}  // namespace

void SwitchTo(int appId) {
    if (!IsAppId(appId)) return;
    for (int k = 1; k <= appCount; ++k) {
        if (k != appId) Close(AdapterFor(k));
    }
    AppRecord(appId).ActivateOrLaunch();
}

int IsRunning(int appId) {
    if (!IsAppId(appId)) return 0;
    return FindWindowBy(runningLookups[appId - 1]) != 0 ? 1 : 0;
}

int IsInstalled(int appId) {
    return IsAppId(appId) ? AppRecord(appId).installed : 0;
}

void Deactivate(int appId) {
    if (IsAppId(appId)) AppRecord(appId).active = 0;
}

int NoAppRunning() {
    bool anyFound = false;
    // All eight lookups are made every time.
    for (int k = 1; k <= appCount; ++k) {
        if (FindMainWindow(AdapterFor(k)) != 0) anyFound = true;
    }
    return anyFound ? 0 : 1;
}
