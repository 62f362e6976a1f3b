// The program's process globals put back to their start-up values, for every
// harness that runs the product code more than once in one process (the
// fixtures of the unit tests, the fuzz targets): a global that one run leaves
// behind must not steer the next.
#pragma once

#include "adapters/app_table.h"
#include "dispatch/key_dispatcher.h"
#include "dispatch/launch_watch.h"
#include "dispatch/pointer_emulation.h"
#include "receiver/receiver_access.h"
#include "receiver/timer_slot.h"
#include "shell/main_window.h"
#include "shell/setting_dialog.h"
#include "shell/settings.h"
#include "shell/shutdown_dialog.h"
#include "shell/tray_icon.h"
#include "shell/tray_menu.h"

// Leaves mainWindow, the WatchTimer's owner and receiverControl to the caller.
inline void ResetProductState() {
    lastCode = 0;
    lastReadTime = 0;
    repeatCount = 0;
    pointerRect = PointerRect{0, 0, 1023, 767};
    smallStep = 6;
    largeStep = 12;
    moveCount = 0;
    buttonHeld = 0;
    for (int k = 1; k <= appCount; ++k) {
        AppAdapter& record = AppRecord(k);
        record.installed = 0;
        record.active = 0;
        record.window = 0;
        record.installDir[0] = '\0';
        record.exeName[0] = '\0';
        watchFlags[k - 1] = 0;
    }
    winDvr6.fastPointer = 0;
    defaultApp = 6;
    alwaysRemoteOff = 0;
    shutDownDialogOpen = 0;
    shutDownDialog = 0;
    // The shell's globals too: a start-up test leaves its instance,
    // receiver flag, tray record and armed poll timer behind.
    appInstance = 0;
    receiverFound = 1;
    trayIcon = {};
    taskbarCreatedMessage = 0;
    trayIconShown = 0;
    trayMenu = 0;
    lastSettingIndex = -1;
    pollTimer.armed = 0;
    pollTimer.Configure(0, 0);
    watchTimer.armed = 0;
    watchTimer.Configure(0, 0);
}
