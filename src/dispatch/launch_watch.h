// The launch watch: once a second while armed, it follows the application that
// the Power key activated or launched, and stops treating it as active once
// its main window has gone.
#pragma once

#include <cstdint>

#include "adapters/app_ids.h"
#include "adapters/supported_app.h"
#include "platform/platform.h"

struct LaunchWatchState {
    // Entry k - 1 for AppId k: set when a Power press leaves application k
    // active, cleared by the watch when its window is gone.
    std::int32_t watchFlags[appCount];

    void Reset() { *this = LaunchWatchState{}; }
};
extern LaunchWatchState launchWatch;

// Power, and the watch that follows what it started: when Power activated or
// launched the application, arms the WatchTimer (even when nothing was
// started; the watch then stops itself) and, when that left the application
// active, watches it.
void PowerAndWatch(const SupportedApp& app, std::int32_t defaultAppId);
// The same with Power's outcome already decided (PowerOutcome).
void CarryOutPowerAndWatch(const SupportedApp& app, PowerAction action, std::int32_t defaultAppId);

// Every binding is watched, so that the remote follows its user: the watch
// takes appId (its flag set, the timer armed) and lets it go within about a
// second of its main window going.
void Watch(int appId);
// The detection makes a running application the active one, puts its key
// map's own state back, and watches it.
void BindAndWatch(int appId);
void Deactivate(int appId);

// The WatchTimer procedure.
void WatchTick(platform::WindowHandle window, std::uint32_t message, std::uintptr_t timerId,
               std::uint32_t tickCount);
