// The window lookups shared by the adapters, the dispatcher and the watch.
#include "adapters/window_lookup.h"

#include <cstring>

#include "platform/win32_constants.h"

platform::WindowHandle FindTopLevelByTitle(const char* title) {
    platform::WindowHandle window = platform::GetWindow(platform::GetDesktopWindow(), GW_CHILD);
    while (window != 0) {
        // A longer title is cut to 127 characters, so it never equals a
        // shorter one by accident.
        char text[128] = {};
        platform::GetWindowTextA(window, text, sizeof text);
        if (std::strcmp(text, title) == 0) return window;
        window = platform::GetWindow(window, GW_HWNDNEXT);
    }
    return 0;
}

platform::WindowHandle FindWindowBy(const WindowQuery& query) {
    switch (query.lookup) {
        case Lookup::FindWindowA:
            return platform::FindWindowA(query.className, query.title);
        case Lookup::TitleWalk:
            return FindTopLevelByTitle(query.title);
        case Lookup::FindWindowExA:
            break;
    }
    return platform::FindWindowExA(platform::GetDesktopWindow(), 0, query.className, query.title);
}
