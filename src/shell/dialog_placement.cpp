// The placement of the About, Setting and Shut Down dialogs by screen width.
#include "shell/dialog_placement.h"

#include "platform/win32_constants.h"

namespace {

struct DialogPosition {
    int screenWidth;
    int x;
    int y;
};

constexpr DialogPosition dialogPositions[] = {
    {640, 160, 200}, {800, 280, 250}, {1024, 350, 300}, {1152, 420, 300}, {1280, 420, 300}, {1600, 580, 340},
};

}  // namespace

void PlaceDialog(platform::WindowHandle dialog) {
    const int width = platform::GetSystemMetrics(SM_CXFULLSCREEN);
    for (const DialogPosition& position : dialogPositions) {
        if (position.screenWidth == width) {
            platform::SetWindowPos(dialog, HWND_TOPMOST, position.x, position.y, 0, 0, SWP_NOSIZE);
            return;
        }
    }
    // Today's screens (1366, 1920, 2560 wide and more) have no row: the dialog
    // is centred on the primary work area and kept on top all the same, so
    // the Shut Down dialog never opens behind a full-screen TV application.
    platform::Rect area = {}, own = {};
    if (platform::GetWorkArea(&area) == 0 || platform::GetWindowRect(dialog, &own) == 0) return;
    const int x = area.left + ((area.right - area.left) - (own.right - own.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (own.bottom - own.top)) / 2;
    platform::SetWindowPos(dialog, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE);
}
