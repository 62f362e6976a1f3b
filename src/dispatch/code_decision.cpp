// The dispatcher's precedence as one decision: the open Shut Down dialog, the
// active application, the dispatcher's own keys, the detection of a running
// application, and pointer emulation.
#include "dispatch/code_decision.h"

#include "adapters/app_table.h"
#include "adapters/key_action.h"
#include "adapters/remote_key_codes.h"
#include "dispatch/app_switching.h"
#include "dispatch/launch_watch.h"
#include "dispatch/pointer_emulation.h"
#include "receiver/receiver_access.h"
#include "settings/settings.h"
#include "shell/shutdown_dialog.h"

DispatcherState dispatcher;

namespace {

int FirstActiveApp() {
    for (int k = 1; k <= appCount; ++k) {
        if (AppRecord(k).active == 1) return k;
    }
    return 0;
}

Decision Make(Route route, std::int32_t code, int appId = 0, const KeyRow* row = nullptr) {
    return Decision{route, code, dispatcher.repeatCount != 0, appId, row, PowerAction::Starts, false};
}

Decision DecidePowerLaunch(std::int32_t code) {
    const std::int32_t k = settings.defaultApp;
    if (!IsAppId(k)) return Make(Route::PowerWithoutDefault, code);
    const SupportedApp& app = AppFor(k);
    // An application the system can also find installed (Media Center) is
    // asked first; the message then appears only when neither says so.
    if (app.detectInstalled != nullptr) app.detectInstalled(nullptr, 0);
    Decision decision = Make(Route::PowerLaunch, code, k);
    decision.notInstalled = app.record().installed == 0;
    return decision;
}

// The shut-down key of the default application offers the Shut Down dialog
// while no application runs.
Route DecideShutDownKey(std::int32_t code) {
    const std::int32_t k = settings.defaultApp;
    if (!IsAppId(k) || AppFor(k).shutDownKey != code) return Route::NotTheShutDownKey;
    return NoAppRunning() == 1 ? Route::OfferShutDown : Route::ShutDownKeyWhileAppRuns;
}

Decision DetectOrPoint(std::int32_t code) {
    int found = 0;
    // All lookups are made every time; the lowest AppId wins.
    for (int k = 1; k <= appCount; ++k) {
        if (FindWindowBy(AppFor(k).detection) != 0 && found == 0) found = k;
    }
    if (found != 0) return Make(Route::Detected, code, found, FindRow(AppFor(found), static_cast<std::uint32_t>(code)));
    if (!IsPointerCode(code)) return Make(Route::PointerIgnores, code);
    const bool moves = code != leftClickCode && code != buttonHoldCode && code != rightClickCode;
    return Make(moves || dispatcher.repeatCount == 0 ? Route::Pointer : Route::ClickRepeat, code);
}

Decision DecideWithoutActiveApp(std::int32_t code) {
    switch (code) {
        case powerCode:
            return DecidePowerLaunch(code);
        case ignoredCode:
            return Make(Route::IgnoredKey, code);
        // Neither shut-down key runs the detection, whatever it finds.
        case shutDownCode:
        case quartzviewShutDownCode:
            return Make(DecideShutDownKey(code), code);
        case failedReadCode:
            return Make(Route::FailedRead, code);
        default:
            return DetectOrPoint(code);
    }
}

}  // namespace

void NoteRead(std::int32_t code, std::uint32_t now) {
    if (IsRepeat(code, now, dispatcher.lastCode, dispatcher.lastReadTime)) {
        dispatcher.repeatCount += 1;
    } else {
        dispatcher.repeatCount = 0;
        RestartPointerAcceleration();
    }
    dispatcher.lastReadTime = now;
    dispatcher.lastCode = code;
}

Decision DecideCode(std::int32_t code) {
    const bool fresh = dispatcher.repeatCount == 0;
    const int activeApp = FirstActiveApp();
    const bool suppressed = activeApp != 0 && !PassesWhileAppActive(dispatcher.repeatCount);

    // The dialog runs modally inside an earlier call of the dispatcher. A
    // fresh press answers it; a held key is read again on every tick, and
    // only its first read counts: the press that opened the dialog does not
    // cancel it, and a held Power confirms once.
    if (shutDownState.shutDownDialogOpen == 1) {
        if (!fresh) return Make(Route::ShutDownRepeat, code);
        return Make(code == powerCode ? Route::ConfirmShutDown : Route::CancelShutDown, code);
    }
    if (code == powerCode && !fresh) return Make(Route::PowerRepeat, code, activeApp);
    if (code == powerCode && dispatcher.powerLaunchRunning) return Make(Route::PowerDuringLaunch, code);
    if (activeApp == 0) return DecideWithoutActiveApp(code);

    const SupportedApp& app = AppFor(activeApp);
    if (suppressed) return Make(Route::ActiveRepeat, code, activeApp);
    if (code == powerCode) {
        Decision decision = Make(Route::ActivePower, code, activeApp);
        decision.power = PowerOutcome(app);
        return decision;
    }
    return Make(Route::ActiveKey, code, activeApp, FindRow(app, static_cast<std::uint32_t>(code)));
}

void FollowDecision(const Decision& decision) {
    switch (decision.route) {
        case Route::ConfirmShutDown:
        case Route::CancelShutDown:
            shutDownState.shutDownDialogOpen = 0;
            break;
        case Route::OfferShutDown:
            shutDownState.shutDownDialogOpen = 1;
            break;
        // Power closes it, or starts it again where no window of it will
        // appear: either way the binding goes.
        case Route::ActivePower:
            Deactivate(decision.appId);
            break;
        case Route::Detected:
            BindAndWatch(decision.appId);
            break;
        case Route::ShutDownRepeat:
        case Route::PowerRepeat:
        case Route::FailedRead:
        case Route::ClickRepeat:
        case Route::PowerDuringLaunch:
        case Route::ActiveKey:
        case Route::ActiveRepeat:
        case Route::PowerLaunch:
        case Route::PowerWithoutDefault:
        case Route::IgnoredKey:
        case Route::NotTheShutDownKey:
        case Route::ShutDownKeyWhileAppRuns:
        case Route::Pointer:
        case Route::PointerIgnores:
            break;
    }
}
