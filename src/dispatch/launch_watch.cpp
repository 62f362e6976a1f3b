// The WatchTimer procedure and the flags it follows.
#include "dispatch/launch_watch.h"

#include "adapters/app_table.h"
#include "dispatch/timer_slot.h"

LaunchWatchState launchWatch;

namespace {

// Without a watched application the watch waits before it stops: the whole
// program's thread stands still meanwhile.
constexpr std::uint32_t idleWatchPauseMs = 2000;

bool AnyWatched() {
    for (const std::int32_t flag : launchWatch.watchFlags) {
        if (flag == 1) return true;
    }
    return false;
}

}  // namespace

void PowerAndWatch(const SupportedApp& app, std::int32_t defaultAppId) {
    CarryOutPowerAndWatch(app, PowerOutcome(app), defaultAppId);
}

void CarryOutPowerAndWatch(const SupportedApp& app, PowerAction action, std::int32_t defaultAppId) {
    CarryOutPower(app, action, LaunchRuleOf(defaultAppId));
    if (action != PowerAction::Starts) return;
    ArmWatchTimer();
    if (app.record().active == 1) launchWatch.watchFlags[app.appId - 1] = 1;
}

void Watch(int appId) {
    if (!IsAppId(appId)) return;
    launchWatch.watchFlags[appId - 1] = 1;
    ArmWatchTimer();
}

void BindAndWatch(int appId) {
    if (!IsAppId(appId)) return;
    AppRecord(appId).active = 1;
    if (AppFor(appId).resetOnDetection != nullptr) AppFor(appId).resetOnDetection();
    Watch(appId);
}

void Deactivate(int appId) {
    if (IsAppId(appId)) AppRecord(appId).active = 0;
}

void WatchTick(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
    for (int k = 1; k <= appCount; ++k) {
        if (launchWatch.watchFlags[k - 1] != 1) continue;
        // Only the lowest watched application is examined in a tick. The
        // timer stops with the last one: a binding left without its watch
        // would outlive its window.
        if (FindMainWindow(AppFor(k)) != 0) return;
        Deactivate(k);
        launchWatch.watchFlags[k - 1] = 0;
        if (!AnyWatched()) DisarmWatchTimer();
        return;
    }
    platform::Sleep(idleWatchPauseMs);
    DisarmWatchTimer();
}
