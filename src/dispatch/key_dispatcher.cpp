// The PollTimer procedure and the heart of the program: each tick reads at most
// one remote key code and hands it to exactly one consumer, in this precedence:
// the open Shut Down dialog, the active application, then the dispatcher's own
// keys, the detection of a running application and pointer emulation.
#include "dispatch/key_dispatcher.h"

#include "adapters/app_table.h"
#include "adapters/media_center_detection.h"
#include "adapters/window_lookup.h"
#include "dispatch/app_switching.h"
#include "dispatch/pointer_emulation.h"
#include "dispatch/remote_key_codes.h"
#include "platform/win32_constants.h"
#include "receiver/receiver_access.h"
#include "shell/settings.h"
#include "shell/shutdown_dialog.h"

std::int32_t lastCode;
std::uint32_t lastReadTime;
std::int32_t repeatCount;

namespace {

// Before launching the default application the Power key closes the others in
// this order; from Quartzview on, TotalMedia is closed before Media Center.
constexpr int closeOrders[appCount][appCount - 1] = {
    {2, 3, 4, 5, 6, 7, 8},  // 1
    {1, 3, 4, 5, 6, 7, 8},  // 2
    {1, 2, 4, 5, 6, 7, 8},  // 3
    {1, 2, 3, 5, 6, 7, 8},  // 4
    {1, 2, 3, 4, 6, 7, 8},  // 5
    {1, 2, 3, 5, 4, 7, 8},  // 6
    {1, 2, 3, 5, 4, 6, 8},  // 7
    {1, 2, 3, 5, 4, 6, 7},  // 8
};

int FirstActiveApp() {
    for (int k = 1; k <= appCount; ++k) {
        if (AppRecord(k).active == 1) return k;
    }
    return 0;
}

void ForwardToShutDownDialog(std::int32_t code) {
    platform::SetForegroundWindow(shutDownDialog);
    platform::SetActiveWindow(shutDownDialog);
    platform::SendMessageA(shutDownDialog, WM_KEYDOWN, code == powerCode ? VK_RETURN : VK_ESCAPE, 0);
}

// Set while a Power-key launch runs. Its message boxes are modal and ticks
// keep arriving inside them; a held Power key would otherwise open box upon
// box, each running the whole launch again.
bool powerLaunchRunning = false;

void LaunchDefaultApp() {
    const std::int32_t k = defaultApp;
    if (!IsAppId(k)) return;
    powerLaunchRunning = true;
    // Media Center also counts as installed when the system detection finds
    // it; the message then appears only when neither says so and the launch
    // below can start nothing.
    if (k == mediaCenterId) DetectMediaCenter();
    if (AppRecord(k).installed == 0) {
        // Modal: poll ticks keep arriving inside it, and the launch goes on
        // once the user closes it.
        platform::MessageBoxA(0, "Please re-initialize the TV application settings.", "Remote Control",
                              MB_SETFOREGROUND);
    }
    for (const int other : closeOrders[k - 1]) Close(AdapterFor(other));
    Power(AdapterFor(k));
    powerLaunchRunning = false;
}

// How a running application is recognised while none is active, by AppId:
// whole titles and classes without regard to case. PowerCinema is asked for
// through FindWindowA, the others under the desktop window.
constexpr WindowQuery detectionLookups[appCount] = {
    ByTitle("PowerCinema", Lookup::FindWindowA),
    ByTitle("Home Theater"),
    ByTitle("My IC-TV Media Center"),
    ByClass("eHome Render Window"),
    ByTitle("Arcsoft TotalMedia"),
    ByClass("TarvexMainPanel_Class"),
    ByClass("Streamzap.WM.D3D"),
    ByTitle("InterVideo WinDVR 6"),
};

void DetectOrEmulate(std::int32_t code) {
    int found = 0;
    // All eight lookups are made every time; the lowest AppId wins.
    for (int k = 1; k <= appCount; ++k) {
        if (FindWindowBy(detectionLookups[k - 1]) != 0 && found == 0) found = k;
    }
    if (found == 0) {
        EmulatePointer(static_cast<std::uint32_t>(code));
        return;
    }
    AppRecord(found).active = 1;
    if (found == winDvr6Id) winDvr6.fastPointer = 0;
    HandleKey(AdapterFor(found), static_cast<std::uint32_t>(code));
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
            if (IsAppId(defaultApp) && defaultApp != quartzviewId && NoAppRunning() == 1) {
                ShowShutDownDialog(window);
            }
            break;
        case quartzviewShutDownCode:
            if (defaultApp == quartzviewId && NoAppRunning() == 1) ShowShutDownDialog(window);
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

    if (IsRepeat(code, now, lastCode, lastReadTime)) {
        repeatCount += 1;
    } else {
        repeatCount = 0;
        moveCount = 0;
    }
    lastReadTime = now;
    lastCode = code;

    const int activeApp = FirstActiveApp();
    if (activeApp != 0 && !PassesWhileAppActive(repeatCount)) code = suppressedCode;

    // The dialog runs modally inside an earlier call of this procedure. A
    // fresh press answers it; a held key is read again on every tick, and
    // only its first read counts: the press that opened the dialog does not
    // cancel it, and a held Power confirms once.
    if (shutDownDialogOpen == 1) {
        if (repeatCount == 0) ForwardToShutDownDialog(code);
        return;
    }
    // A Power read inside a message box of the Power-key launch belongs to
    // the press that opened it.
    if (code == powerCode && powerLaunchRunning) return;

    if (activeApp != 0) {
        if (code == powerCode) {
            Power(AdapterFor(activeApp));
        } else if (code != suppressedCode) {
            HandleKey(AdapterFor(activeApp), static_cast<std::uint32_t>(code));
        }
        return;
    }
    HandleWithoutActiveApp(window, code);
}
