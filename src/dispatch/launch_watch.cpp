// The WatchTimer procedure and the flags it follows.
#include "dispatch/launch_watch.h"

#include "adapters/app_table.h"
#include "dispatch/app_switching.h"
#include "dispatch/timer_slot.h"

LaunchWatchState launchWatch;

namespace {

// Without a watched application the watch waits before it stops: the whole
// program's thread stands still meanwhile.
constexpr std::uint32_t idleWatchPauseMs = 2000;

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

void WatchTick(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
    for (int k = 1; k <= appCount; ++k) {
        if (launchWatch.watchFlags[k - 1] != 1) continue;
        // Only the lowest watched application is examined; when it has gone
        // the timer stops although others may still be watched.
        if (FindMainWindow(AppFor(k)) != 0) return;
        Deactivate(k);
        DisarmWatchTimer();
        launchWatch.watchFlags[k - 1] = 0;
        return;
    }
    platform::Sleep(idleWatchPauseMs);
    DisarmWatchTimer();
}
