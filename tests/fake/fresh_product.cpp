// Each module's Reset, called in one place so that a new module's state has
// one line to add.
#include "fake/fresh_product.h"

#include "adapters/app_table.h"
#include "adapters/windvr6.h"
#include "dispatch/key_dispatcher.h"
#include "dispatch/launch_watch.h"
#include "dispatch/pointer_emulation.h"
#include "dispatch/timer_slot.h"
#include "fake/fake_desktop.h"
#include "receiver/receiver_access.h"
#include "settings/settings.h"
#include "shell/main_window.h"
#include "shell/setting_dialog.h"
#include "shell/shutdown_dialog.h"
#include "shell/tray_icon.h"
#include "shell/tray_menu.h"

namespace fake {

void ResetProductState() {
    ResetAppRecords();
    winDvr6.Reset();
    dispatcher.Reset();
    pointer.Reset();
    pointer.pointerRect = PointerRect{0, 0, 1023, 767};
    pointer.smallStep = 6;
    pointer.largeStep = 12;
    launchWatch.Reset();
    pollTimer.Reset();
    watchTimer.Reset();
    settings.Reset();
    shutDownState.Reset();
    program.Reset();
    tray.Reset();
    trayMenuState.Reset();
    settingDialog.Reset();
    receiver.Reset();
}

platform::WindowHandle StartOnFreshDesktop() {
    Desktop& desk = Desktop::Get();
    desk.Reset();
    ResetProductState();
    desk.tickCount = 1000000;
    const platform::WindowHandle owner = desk.AddOwnWindow("Alder Remote Control", nullptr);
    program.mainWindow = owner;
    watchTimer.Configure(owner, 1000);
    OpenReceiver();
    desk.ClearLog();
    return owner;
}

}  // namespace fake
