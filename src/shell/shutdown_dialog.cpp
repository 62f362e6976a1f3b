// The Shut Down dialog: the remote's Power key confirms, any other key cancels.
#include "shell/shutdown_dialog.h"

#include "adapters/bounded_text.h"
#include "platform/win32_constants.h"
#include "resources/resource_ids.h"
#include "shell/dialog_placement.h"
#include "shell/program_state.h"

ShutDownDialogState shutDownState;

namespace {

// SHTDN_REASON_FLAG_PLANNED | SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER
constexpr std::uint32_t plannedOtherReason = 0x80000000u | 0x00000000u | 0x000000FFu;

bool IsWindows9x() {
    platform::OsVersionInfoEx info = {};
    info.dwOSVersionInfoSize = 148;  // the plain OSVERSIONINFOA
    platform::GetVersionExA(&info);
    return info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

void ShutDownComputer() {
    if (IsWindows9x()) {
        platform::ExitWindowsEx(EWX_SHUTDOWN, 0);
        return;
    }
    platform::TokenHandle token = 0;
    if (!platform::OpenProcessToken(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    platform::Luid shutdownPrivilege = {};
    platform::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &shutdownPrivilege);
    platform::AdjustTokenPrivileges(token, shutdownPrivilege, SE_PRIVILEGE_ENABLED);
    // AdjustTokenPrivileges succeeds even when it could not grant the
    // privilege; only the last error tells (ERROR_NOT_ALL_ASSIGNED).
    const std::uint32_t adjustError = platform::GetLastError();
    platform::CloseHandle(token);
    if (adjustError != 0) return;
    // Forced: a shutdown asked for from the remote must not wait on a prompt
    // nobody at the screen can answer. Planned, "other": Windows logs it as
    // the user's choice, not as an unexpected shutdown.
    if (platform::ExitWindowsEx(EWX_POWEROFF | EWX_FORCE, plannedOtherReason) == 0) {
        char text[300] = "Can't run ExitWindowsEx.";
        char reason[256];
        if (platform::FormatErrorText(platform::GetLastError(), reason, sizeof reason) != 0) {
            AppendText(text, sizeof text, "\n\n");
            AppendText(text, sizeof text, reason);
        }
        platform::MessageBoxA(0, text, "Remote Control", MB_OK);
    }
}

std::intptr_t ShutDownDialogProc(platform::WindowHandle dialog, std::uint32_t message, platform::WParam wParam,
                                 platform::LParam) {
    switch (message) {
        case WM_INITDIALOG:
            platform::SetForegroundWindow(dialog);
            platform::SetActiveWindow(dialog);
            shutDownState.shutDownDialog = dialog;
            PlaceDialog(dialog);
            return 1;
        // The dispatcher sends these two keys straight to the dialog window; a
        // key typed on the keyboard reaches the focused button instead.
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                shutDownState.shutDownDialogOpen = 0;
                platform::EndDialog(dialog, VK_RETURN);
                ShutDownComputer();
                return 1;
            }
            if (wParam == VK_ESCAPE) {
                shutDownState.shutDownDialogOpen = 0;
                platform::EndDialog(dialog, VK_ESCAPE);
                return 1;
            }
            return 0;
        case WM_COMMAND:
            if ((wParam & 0xFFFF) == IDOK) {
                shutDownState.shutDownDialogOpen = 0;
                platform::EndDialog(dialog, IDOK);
                ShutDownComputer();
                return 1;
            }
            if ((wParam & 0xFFFF) == IDCANCEL) {
                shutDownState.shutDownDialogOpen = 0;
                platform::EndDialog(dialog, IDCANCEL);
                return 1;
            }
            return 0;
        default:
            return 0;
    }
}

}  // namespace

std::intptr_t ShowShutDownDialog(platform::WindowHandle owner) {
    shutDownState.shutDownDialogOpen = 1;
    const std::intptr_t result =
        platform::DialogBoxParamA(program.appInstance, IDD_SHUT_DOWN, owner, ShutDownDialogProc, 0);
    // Once DialogBoxParamA has returned the dialog is gone, also when it could
    // not be created at all: later keys must not go to a stale window.
    shutDownState.shutDownDialogOpen = 0;
    return result;
}
