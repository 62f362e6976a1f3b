// Closing a running Remote Control and starting it again; see utility_handover.h.
#include "remote_check/utility_handover.h"

#include "adapters/bounded_text.h"
#include "platform/platform.h"
#include "platform/win32_constants.h"
#include "settings/utility_titles.h"
#include "shell/utility_copies.h"

namespace {

bool closedByTheCheck = false;

}  // namespace

bool UtilityRuns() {
    return platform::FindWindowA(utilityWindowClass, nullptr) != 0;
}

Utility MakeWayForTheCheck(const char* caption) {
    closedByTheCheck = false;
    if (!UtilityRuns()) return Utility::Absent;
    const int answer = platform::MessageBoxA(
        0,
        "Remote Control is running. It reads every code of the remote itself, so Remote Check would see "
        "none.\n\nClose Remote Control while Remote Check runs? It starts again when you close Remote Check.",
        caption, MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return Utility::Staying;
    AskEveryCopyToClose();
    closedByTheCheck = true;
    return Utility::Closing;
}

void StartUtilityAgainIfClosed(const char* caption) {
    if (!closedByTheCheck) return;
    char path[300];
    const std::uint32_t length = platform::GetModuleFileNameA(path, sizeof path);
    // RemoteControl.exe is installed beside Remote Check.
    bool started = false;
    if (length != 0 && length < sizeof path) {
        char* name = path;
        for (char* c = path; *c != '\0'; ++c) {
            if (*c == '\\') name = c + 1;
        }
        *name = '\0';
        AppendText(path, sizeof path, "RemoteControl.exe");
        started = platform::ShellExecuteA(0, "open", path, nullptr, nullptr, SW_SHOWNORMAL) > 32;
    }
    // Closed for the check and not back, the remote would do nothing until
    // the next sign-in: the user must know.
    if (!started) {
        platform::MessageBoxA(0, "Remote Control could not be started again. Start it from the Start menu.",
                              caption, MB_OK | MB_ICONWARNING);
    }
}
