// Loads Common Controls 6; see visual_styles.h.
#include "platform/win32/visual_styles.h"

#include <windows.h>

void LoadVisualStyles() {
    const HMODULE commonControls = LoadLibraryA("comctl32.dll");
    if (commonControls == nullptr) return;
    // Through void (*)(void), the one cast that says "a function of another type" on purpose.
    const auto init = reinterpret_cast<void(WINAPI*)()>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(commonControls, "InitCommonControls")));
    if (init != nullptr) init();
}
