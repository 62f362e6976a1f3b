// Switching between applications and the launch watch: the WatchTimer follows
// an application that the Power key activated or launched and stops treating
// it as active once its main window has gone.
#include "dispatch/app_watch.h"

#include "adapters/app_registry.h"
#include "receiver/timer_slot.h"

std::int32_t watchFlags[8];

namespace {

// Without a watched application the watch waits before it stops: the whole
// program's thread stands still meanwhile.
constexpr std::uint32_t idleWatchPauseMs = 2000;

}  // namespace

void SwitchTo(int appId) {
    if (!IsAppId(appId)) return;
    for (int k = 1; k <= appCount; ++k) {
        if (k != appId) Adapter(k).Close();
    }
    AppRecord(appId).ActivateOrLaunch();
}

int IsRunning(int appId) {
    if (!IsAppId(appId)) return 0;
    // Home Theater, TotalMedia and WinDVR 6 are asked for by their records'
    // exact, case-sensitive titles, not by their main-window identities.
    const bool byRecordTitle = appId == 2 || appId == 5 || appId == 8;
    const platform::WindowHandle found =
        byRecordTitle ? AppRecord(appId).FindByTitle() : FindMainWindow(Adapter(appId).identity);
    return found != 0 ? 1 : 0;
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
        if (FindMainWindow(Adapter(k).identity) != 0) anyFound = true;
    }
    return anyFound ? 0 : 1;
}

void WatchTick(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
    for (int k = 1; k <= appCount; ++k) {
        if (watchFlags[k - 1] != 1) continue;
        // Only the lowest watched application is examined; when it has gone
        // the timer stops although others may still be watched.
        if (FindMainWindow(Adapter(k).identity) != 0) return;
        Deactivate(k);
        DisarmWatchTimer();
        watchFlags[k - 1] = 0;
        return;
    }
    platform::Sleep(idleWatchPauseMs);
    DisarmWatchTimer();
}
