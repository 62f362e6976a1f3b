// Switching between applications, and the questions the tray menu, the Setting
// dialog and the dispatcher ask about all of them.
#include "dispatch/app_switching.h"

#include "adapters/app_table.h"
#include "adapters/window_lookup.h"
#include "dispatch/launch_watch.h"
#include "settings/settings.h"

void SwitchTo(int appId) {
    if (!IsAppId(appId)) return;
    for (int k = 1; k <= appCount; ++k) {
        if (k != appId) Close(AppFor(k));
    }
    AppRecord(appId).ActivateOrLaunch(LaunchRuleOf(settings.defaultApp));
    // A launch binds the remote to it: the watch lets go once its user closes it.
    if (AppRecord(appId).active == 1) Watch(appId);
}

int IsRunning(int appId) {
    if (!IsAppId(appId)) return 0;
    return FindWindowBy(AppFor(appId).running) != 0 ? 1 : 0;
}

int IsInstalled(int appId) {
    return IsAppId(appId) ? AppRecord(appId).installed : 0;
}

int NoAppRunning() {
    bool anyFound = false;
    // All lookups are made every time.
    for (int k = 1; k <= appCount; ++k) {
        if (FindMainWindow(AppFor(k)) != 0) anyFound = true;
    }
    return anyFound ? 0 : 1;
}
