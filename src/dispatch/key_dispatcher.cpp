// The PollTimer procedure and the heart of the program: each tick reads at most
// one remote key code, decides which consumer takes it (code_decision.h) and
// carries that decision out.
#include "dispatch/key_dispatcher.h"

#include "adapters/app_table.h"
#include "adapters/key_action.h"
#include "dispatch/app_switching.h"
#include "dispatch/code_decision.h"
#include "dispatch/launch_watch.h"
#include "dispatch/pointer_emulation.h"
#include "platform/win32_constants.h"
#include "receiver/receiver_access.h"
#include "settings/settings.h"
#include "shell/shutdown_dialog.h"

namespace {

void ForwardToShutDownDialog(std::uint32_t key) {
    platform::SetForegroundWindow(shutDownState.shutDownDialog);
    platform::SetActiveWindow(shutDownState.shutDownDialog);
    platform::SendMessageA(shutDownState.shutDownDialog, WM_KEYDOWN, key, 0);
}

// Before launching it, the Power key closes every other application, in
// AppId order or, as the launched application's description says, with
// TotalMedia before Media Center.
void CloseOthers(const SupportedApp& launched) {
    int order[appCount];
    for (int k = 1; k <= appCount; ++k) order[k - 1] = k;
    if (launched.closeOrder == CloseOrder::TotalMediaFirst) {
        order[mediaCenterId - 1] = totalMediaId;
        order[totalMediaId - 1] = mediaCenterId;
    }
    for (const int other : order) {
        if (other != launched.appId) Close(AppFor(other));
    }
}

void LaunchDefaultApp(const Decision& decision) {
    const SupportedApp& app = AppFor(decision.appId);
    dispatcher.powerLaunchRunning = true;
    if (decision.notInstalled) {
        // Modal: poll ticks keep arriving inside it, and the launch goes on
        // once the user closes it.
        platform::MessageBoxA(0, "Please re-initialize the TV application settings.", "Remote Control",
                              MB_SETFOREGROUND);
    }
    CloseOthers(app);
    PowerAndWatch(app, settings.defaultApp);
    dispatcher.powerLaunchRunning = false;
}

void RunRowOf(const Decision& decision) {
    if (decision.row != nullptr) RunRow(AppFor(decision.appId), *decision.row);
}

void Act(platform::WindowHandle window, const Decision& decision) {
    switch (decision.route) {
        case Route::ConfirmShutDown:
            ForwardToShutDownDialog(VK_RETURN);
            break;
        case Route::CancelShutDown:
            ForwardToShutDownDialog(VK_ESCAPE);
            break;
        case Route::ActivePower:
            CarryOutPowerAndWatch(AppFor(decision.appId), decision.power, settings.defaultApp);
            break;
        case Route::ActiveKey:
            RunRowOf(decision);
            break;
        case Route::PowerLaunch:
            LaunchDefaultApp(decision);
            break;
        case Route::OfferShutDown:
            ShowShutDownDialog(window);
            break;
        case Route::Detected:
            BindAndWatch(decision.appId);
            RunRowOf(decision);
            break;
        case Route::Pointer:
            EmulatePointer(static_cast<std::uint32_t>(decision.code));
            break;
        case Route::ShutDownRepeat:
        case Route::PowerRepeat:
        case Route::FailedRead:
        case Route::ClickRepeat:
        case Route::PowerDuringLaunch:
        case Route::ActiveRepeat:
        case Route::PowerWithoutDefault:
        case Route::IgnoredKey:
        case Route::NotTheShutDownKey:
        case Route::ShutDownKeyWhileAppRuns:
        case Route::PointerIgnores:
            break;
    }
}

}  // namespace

void DispatchKey(platform::WindowHandle window, std::uint32_t, std::uintptr_t, std::uint32_t) {
    if (!IsKeyReady()) return;
    DispatchCode(window, ReadKeyCode(), platform::GetTickCount());
}

Decision DispatchCode(platform::WindowHandle window, std::int32_t code, std::uint32_t now) {
    NoteRead(code, now);
    const Decision decision = DecideCode(code);
    Act(window, decision);
    return decision;
}
