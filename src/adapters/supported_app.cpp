// The operations that every supported application shares, driven by its
// description.
#include "adapters/supported_app.h"

#include "adapters/synthetic_input.h"
#include "platform/win32_constants.h"

void BringForward(const AppAdapter& record, platform::WindowHandle found, Forward forward) {
    if (forward == Forward::None) return;
    if (forward == Forward::ActivateOnTop) platform::BringWindowToTop(found);
    platform::SetForegroundWindow(found);
    platform::SetActiveWindow(record.window);
}

platform::WindowHandle FindAppWindow(const SupportedApp& app) {
    return FindWindowBy(app.mainWindow);
}

platform::WindowHandle FindMainWindow(const SupportedApp& app) {
    return platform::FindWindowExA(platform::GetDesktopWindow(), 0, app.mainWindow.className,
                                   app.mainWindow.title);
}

void Close(const SupportedApp& app) {
    AppAdapter& record = app.record();
    const CloseShape& shape = app.close;
    switch (shape.kind) {
        case CloseKind::AltF4:
        case CloseKind::WmClose: {
            record.window = FindAppWindow(app);
            if (record.window == 0) return;
            BringForward(record, record.window, Forward::Activate);
            if (shape.kind == CloseKind::WmClose) {
                platform::PostMessageA(record.window, WM_CLOSE, 0, 0);
            } else {
                constexpr std::uint8_t altF4[] = {VK_MENU, VK_F4, 0};
                SendChord(altF4);
            }
            break;
        }
        case CloseKind::Message: {
            const platform::WindowHandle found = FindAppWindow(app);
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

PowerAction PowerOutcome(const SupportedApp& app) {
    return FindAppWindow(app) != 0 ? PowerAction::Closes : PowerAction::Starts;
}

void CarryOutPower(const SupportedApp& app, PowerAction action, LaunchRule defaultAppRule) {
    switch (action) {
        case PowerAction::Closes:
            Close(app);
            break;
        case PowerAction::Starts:
            app.record().ActivateOrLaunch(defaultAppRule);
            break;
    }
}

PowerAction Power(const SupportedApp& app, LaunchRule defaultAppRule) {
    const PowerAction action = PowerOutcome(app);
    CarryOutPower(app, action, defaultAppRule);
    return action;
}
