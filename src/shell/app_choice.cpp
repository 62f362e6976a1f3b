// What the tray menu and the Setting dialog ask about the applications.
#include "shell/app_choice.h"

#include <cstring>

#include "adapters/app_table.h"
#include "dispatch/app_switching.h"

bool IsAvailable(int appId) {
    // An application the system can find installed (Media Center) is asked
    // that way instead of by its record.
    if (IsAppId(appId) && AppFor(appId).detectInstalled != nullptr) {
        return AppFor(appId).detectInstalled(nullptr, 0) != 0;
    }
    return IsInstalled(appId) != 0;
}

int AppIdByName(const char* text) {
    for (int k = 1; k <= appCount; ++k) {
        if (std::strcmp(text, AppFor(k).name) == 0) return k;
    }
    return 0;
}
