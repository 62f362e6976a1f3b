// Operations that look across all applications: switching, the running and
// installed questions, the question whether any supported application runs,
// and the launch watch.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Entry k - 1 for AppId k: set by adapter k's Power when it leaves the
// application active, cleared by the watch when its window is gone.
extern std::int32_t watchFlags[8];

// Closes every application but appId, then activates or launches appId.
void SwitchTo(int appId);
// 1 when the application's window is present.
int IsRunning(int appId);
// The record's installed field; 0 for a number that names no application.
int IsInstalled(int appId);
void Deactivate(int appId);
// 1 when none of the eight main windows exists.
int NoAppRunning();

// The WatchTimer procedure.
void WatchTick(platform::WindowHandle window, std::uint32_t message, std::uintptr_t timerId,
               std::uint32_t tickCount);
