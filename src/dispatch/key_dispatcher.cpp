// The PollTimer procedure and the heart of the program: each tick reads at most
// one remote key code and hands it to exactly one consumer, in this precedence:
// the open Shut Down dialog, the active application, then the dispatcher's own
// keys, the detection of a running application and pointer emulation.
#include "dispatch/key_dispatcher.h"

#include "adapters/app_table.h"
#include "adapters/remote_key_codes.h"
#include "adapters/window_lookup.h"
#include "dispatch/app_switching.h"
#include "dispatch/launch_watch.h"
#include "dispatch/pointer_emulation.h"
#include "platform/win32_constants.h"
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

void ForwardToShutDownDialog(std::int32_t code) {
    platform::SetForegroundWindow(shutDownState.shutDownDialog);
    platform::SetActiveWindow(shutDownState.shutDownDialog);
    platform::SendMessageA(shutDownState.shutDownDialog, WM_KEYDOWN, code == powerCode ? VK_RETURN : VK_ESCAPE, 0);
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

void LaunchDefaultApp() {
    const std::int32_t k = settings.defaultApp;
    if (!IsAppId(k)) return;
    const SupportedApp& app = AppFor(k);
    dispatcher.powerLaunchRunning = true;
    // An application the system can also find installed (Media Center) is
    // asked first; the message then appears only when neither says so and
    // the launch below can start nothing.
    if (app.detectInstalled != nullptr) app.detectInstalled(nullptr, 0);
    if (app.record().installed == 0) {
        // Modal: poll ticks keep arriving inside it, and the launch goes on
        // once the user closes it.
        platform::MessageBoxA(0, "Please re-initialize the TV application settings.", "Remote Control",
                              MB_SETFOREGROUND);
    }
    CloseOthers(app);
    PowerAndWatch(app, settings.defaultApp);
    dispatcher.powerLaunchRunning = false;
}

void DetectOrEmulate(std::int32_t code) {
    int found = 0;
    // All lookups are made every time; the lowest AppId wins.
    for (int k = 1; k <= appCount; ++k) {
        if (FindWindowBy(AppFor(k).detection) != 0 && found == 0) found = k;
    }
    if (found == 0) {
        EmulatePointer(static_cast<std::uint32_t>(code));
        return;
    }
    const SupportedApp& app = AppFor(found);
    app.record().active = 1;
    if (app.resetOnDetection != nullptr) app.resetOnDetection();
    HandleKey(app, static_cast<std::uint32_t>(code));
}

// The shut-down key of the default application offers the Shut Down dialog
// while no application runs.
void OfferShutDown(platform::WindowHandle window, std::int32_t code) {
    const std::int32_t k = settings.defaultApp;
    if (IsAppId(k) && AppFor(k).shutDownKey == code && NoAppRunning() == 1) ShowShutDownDialog(window);
}

void HandleWithoutActiveApp(platform::WindowHandle window, std::int32_t code) {
    switch (code) {
        case powerCode:
            LaunchDefaultApp();
            break;
        case ignoredCode:
            break;
        // Neither shut-down key runs the detection, whatever it finds.
        case shutDownCode:
        case quartzviewShutDownCode:
            OfferShutDown(window, code);
            break;
        default:
            DetectOrEmulate(code);
            break;
    }
}

}  // namespace

void DispatchKey(platform::WindowHandle window, std::uint32_t, std::uintptr_t, std::uint32_t) {
    if (!IsKeyReady()) return;
    std::int32_t code = ReadKeyCode();
    const std::uint32_t now = platform::GetTickCount();

    if (IsRepeat(code, now, dispatcher.lastCode, dispatcher.lastReadTime)) {
        dispatcher.repeatCount += 1;
    } else {
        dispatcher.repeatCount = 0;
        RestartPointerAcceleration();
    }
    dispatcher.lastReadTime = now;
    dispatcher.lastCode = code;

    const int activeApp = FirstActiveApp();
    if (activeApp != 0 && !PassesWhileAppActive(dispatcher.repeatCount)) code = suppressedCode;

    // The dialog runs modally inside an earlier call of this procedure. A
    // fresh press answers it; a held key is read again on every tick, and
    // only its first read counts: the press that opened the dialog does not
    // cancel it, and a held Power confirms once.
    if (shutDownState.shutDownDialogOpen == 1) {
        if (dispatcher.repeatCount == 0) ForwardToShutDownDialog(code);
        return;
    }
    // A Power read inside a message box of the Power-key launch belongs to
    // the press that opened it.
    if (code == powerCode && dispatcher.powerLaunchRunning) return;

    if (activeApp != 0) {
        if (code == powerCode) {
            PowerAndWatch(AppFor(activeApp), settings.defaultApp);
        } else if (code != suppressedCode) {
            HandleKey(AppFor(activeApp), static_cast<std::uint32_t>(code));
        }
        return;
    }
    HandleWithoutActiveApp(window, code);
}
