// The About dialog: placed like the other dialogs, closed by OK, Enter,
// Escape or the close box.
#include "shell/about_dialog.h"

#include "platform/win32_constants.h"
#include "shell/dialog_placement.h"

std::intptr_t AboutDialogProc(platform::WindowHandle dialog, std::uint32_t message, platform::WParam wParam,
                              platform::LParam) {
    if (message == WM_INITDIALOG) {
        PlaceDialog(dialog);
        return 1;
    }
    if (message == WM_COMMAND) {
        const int id = static_cast<int>(wParam & 0xFFFF);
        if (id == IDOK || id == IDCANCEL) {
            platform::EndDialog(dialog, id);
            return 1;
        }
    }
    return 0;
}
