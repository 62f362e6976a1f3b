// Asking the utility's copies to close; see utility_copies.h.
#include "shell/utility_copies.h"

#include "platform/platform.h"
#include "platform/win32_constants.h"
#include "settings/utility_titles.h"

void AskEveryCopyToClose() {
    const platform::WindowHandle desktop = platform::GetDesktopWindow();
    for (platform::WindowHandle copy = platform::FindWindowExA(desktop, 0, utilityWindowClass, nullptr); copy != 0;
         copy = platform::FindWindowExA(desktop, copy, utilityWindowClass, nullptr)) {
        platform::PostMessageA(copy, WM_CLOSE, 0, 0);
    }
}
