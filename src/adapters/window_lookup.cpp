// The window lookups shared by the adapters, the dispatcher and the watch.
#include "adapters/window_lookup.h"

#include <cstring>

#include "platform/win32_constants.h"

namespace {

platform::WindowHandle WalkTopLevelTitles(const char* text, bool wholeTitle) {
    const std::size_t length = std::strlen(text);
    for (platform::WindowHandle window = platform::GetWindow(platform::GetDesktopWindow(), GW_CHILD); window != 0;
         window = platform::GetWindow(window, GW_HWNDNEXT)) {
        // A longer title is cut to 127 characters, so it never equals a
        // shorter one by accident.
        char title[128] = {};
        platform::GetWindowTextA(window, title, sizeof title);
        title[sizeof title - 1] = '\0';
        if (wholeTitle ? std::strcmp(title, text) == 0 : std::strncmp(title, text, length) == 0) return window;
    }
    return 0;
}

}  // namespace

platform::WindowHandle FindTopLevelByTitle(const char* title) { return WalkTopLevelTitles(title, true); }

platform::WindowHandle FindTopLevelByTitlePrefix(const char* text) { return WalkTopLevelTitles(text, false); }

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
