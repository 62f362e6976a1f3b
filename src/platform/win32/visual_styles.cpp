// Loads Common Controls 6; see visual_styles.h.
#include "platform/win32/visual_styles.h"

#include "platform/win32/later_calls.h"

void LoadVisualStyles() {
    const auto init = LaterCall<void(WINAPI*)()>("comctl32.dll", "InitCommonControls");
    if (init != nullptr) init();
}
