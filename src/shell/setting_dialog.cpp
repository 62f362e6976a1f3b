// The Setting dialog: lists the available applications in AppId order with
// the default one preselected; OK makes the chosen one the default and saves
// it, Escape and the close box change nothing.
#include "shell/setting_dialog.h"

#include "adapters/app_table.h"
#include "platform/win32_constants.h"
#include "resources/resource_ids.h"
#include "shell/app_choice.h"
#include "shell/dialog_placement.h"
#include "settings/settings.h"

SettingDialogState settingDialog = {-1};

const char* const choiceNotSavedText =
    "The default TV application could not be saved; it applies until Remote Control ends. "
    "To keep it, install Remote Control again, which lets every user save it, or open Setting once as an "
    "administrator.";

const char* const nothingToChooseText =
    "No TV application that Remote Control supports is installed on this PC, so there is nothing to choose. "
    "Install one, then open Setting again. The user guide (Start menu, Alder Remote Control) lists the "
    "applications and how each is found.";

namespace {

// Returns how many applications the list offers.
int FillApplicationList(platform::WindowHandle dialog) {
    platform::SendDlgItemMessageA(dialog, IDC_APPLICATION_LIST, CB_RESETCONTENT, 0, 0);
    std::int32_t added = 0;
    for (int k = 1; k <= appCount; ++k) {
        if (!IsAvailable(k)) continue;
        platform::SendDlgItemMessageA(dialog, IDC_APPLICATION_LIST, CB_ADDSTRING, 0,
                                      reinterpret_cast<platform::LParam>(AppFor(k).name));
        if (settings.defaultApp == k) settingDialog.lastSettingIndex = added;
        ++added;
    }
    if (added == 0) return 0;
    // A default that is not listed keeps the entry of the last opening or
    // confirmation in this run.
    if (settingDialog.lastSettingIndex == -1) settingDialog.lastSettingIndex = 0;
    platform::SendDlgItemMessageA(dialog, IDC_APPLICATION_LIST, CB_SETCURSEL,
                                  static_cast<platform::WParam>(settingDialog.lastSettingIndex), 0);
    return added;
}

void ConfirmChoice(platform::WindowHandle dialog) {
    settingDialog.lastSettingIndex = static_cast<std::int32_t>(
        platform::SendDlgItemMessageA(dialog, IDC_APPLICATION_LIST, CB_GETCURSEL, 0, 0));
    // Only the list's own entries are read, never what was typed into the
    // edit field; they are the eight names, the longest 12 characters.
    char text[64] = {};
    if (settingDialog.lastSettingIndex >= 0)
        platform::SendDlgItemMessageA(dialog, IDC_APPLICATION_LIST, CB_GETLBTEXT,
                                      static_cast<platform::WParam>(settingDialog.lastSettingIndex),
                                      reinterpret_cast<platform::LParam>(text));
    const int chosen = AppIdByName(text);
    if (chosen == 0 || chosen == settings.defaultApp) return;
    settings.defaultApp = chosen;
    // The choice holds for this run either way; the user learns that it will
    // not survive a restart (a standard account may not write the key).
    if (SaveDefaultApp() == 0)
        platform::MessageBoxA(dialog, choiceNotSavedText, "Remote Control", MB_OK | MB_ICONWARNING);
}

}  // namespace

std::intptr_t SettingDialogProc(platform::WindowHandle dialog, std::uint32_t message, platform::WParam wParam,
                                platform::LParam) {
    if (message == WM_INITDIALOG) {
        PlaceDialog(dialog);
        // An empty list would take typing and its OK would do nothing: the
        // user is told why instead, and the dialog goes.
        if (FillApplicationList(dialog) == 0) {
            platform::MessageBoxA(dialog, nothingToChooseText, "Remote Control", MB_OK | MB_ICONINFORMATION);
            platform::EndDialog(dialog, IDCANCEL);
        }
        return 1;
    }
    if (message != WM_COMMAND) return 0;
    const int id = static_cast<int>(wParam & 0xFFFF);
    if (id == IDOK) {
        ConfirmChoice(dialog);
        platform::EndDialog(dialog, IDOK);
        return 1;
    }
    if (id == IDCANCEL) {
        platform::EndDialog(dialog, IDCANCEL);
        return 1;
    }
    return 0;
}
