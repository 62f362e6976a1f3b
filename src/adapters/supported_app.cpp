// The operations that every supported application shares, driven by its
// description.
#include "adapters/supported_app.h"

#include "adapters/synthetic_input.h"
#include "platform/win32_constants.h"

namespace {

// SetForegroundWindow on the window found, SetActiveWindow on the record's
// window (which the caller has just set to it).
void BringForward(const AppAdapter& record, platform::WindowHandle found) {
    platform::SetForegroundWindow(found);
    platform::SetActiveWindow(record.window);
}

}  // namespace

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

PowerAction Power(const SupportedApp& app, std::int32_t defaultAppId) {
    if (FindAppWindow(app) != 0) {
        Close(app);
        return PowerAction::Closed;
    }
    app.record().ActivateOrLaunch(defaultAppId);
    return PowerAction::Started;
}

void HandleKey(const SupportedApp& app, std::uint32_t code) {
    if (const KeyRow* row = FindRow(app, code)) RunRow(app, *row);
}
