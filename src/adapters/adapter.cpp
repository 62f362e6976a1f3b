// The operations that every adapter shares, driven by its record.
#include "adapters/adapter.h"

#include "dispatch/launch_watch.h"
#include "platform/win32_constants.h"
#include "receiver/timer_slot.h"

namespace {

// SetForegroundWindow on the window found, SetActiveWindow on the record's
// window (which the caller has just set to it).
void BringForward(const AppAdapter& record, platform::WindowHandle found) {
    platform::SetForegroundWindow(found);
    platform::SetActiveWindow(record.window);
}

}  // namespace

platform::WindowHandle FindAppWindow(const Adapter& adapter) {
    return FindWindowBy(adapter.mainWindow);
}

platform::WindowHandle FindMainWindow(const Adapter& adapter) {
    return platform::FindWindowExA(platform::GetDesktopWindow(), 0, adapter.mainWindow.className,
                                   adapter.mainWindow.title);
}

void Close(const Adapter& adapter) {
    AppAdapter& record = adapter.record;
    const CloseShape& shape = adapter.close;
    switch (shape.kind) {
        case CloseKind::AltF4:
        case CloseKind::WmClose: {
            record.window = FindAppWindow(adapter);
            if (record.window == 0) return;
            BringForward(record, record.window);
            if (shape.kind == CloseKind::WmClose) {
                platform::PostMessageA(record.window, WM_CLOSE, 0, 0);
            } else {
                constexpr std::uint8_t altF4[] = {VK_MENU, VK_F4, 0};
                SendChord(altF4);
            }
            break;
        }
        case CloseKind::Message: {
            const platform::WindowHandle found = FindAppWindow(adapter);
            if (found == 0) return;
            platform::PostMessageA(found, shape.message, shape.wParam, shape.lParam);
            break;
        }
        case CloseKind::ExitChord: {
            if (record.FindByTitle() == 0) return;
            constexpr std::uint8_t exitChord[] = {VK_MENU, VK_CONTROL, VK_SHIFT, VK_F8};
            SendChord(exitChord);
            break;
        }
    }
    record.active = 0;
}

void Power(const Adapter& adapter) {
    if (FindAppWindow(adapter) != 0) {
        Close(adapter);
        return;
    }
    adapter.record.ActivateOrLaunch();
    // Armed even when nothing was started; the watch then stops itself.
    ArmWatchTimer();
    if (adapter.record.active == 1) watchFlags[adapter.appId - 1] = 1;
}

void HandleKey(const Adapter& adapter, std::uint32_t code) {
    if (const KeyRow* row = FindRow(adapter, code)) RunRow(adapter, *row);
}
