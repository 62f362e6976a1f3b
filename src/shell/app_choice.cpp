// What the tray menu and the Setting dialog ask about the applications.
#include "shell/app_choice.h"

#include <cstring>

#include "adapters/app_table.h"
#include "adapters/media_center_detection.h"
#include "dispatch/app_switching.h"

bool IsAvailable(int appId) {
    if (appId == mediaCenterId) return DetectMediaCenter() != 0;
    return IsInstalled(appId) != 0;
}

int AppIdByName(const char* text) {
    for (int k = 1; k <= appCount; ++k) {
        if (std::strcmp(text, AdapterFor(k).name) == 0) return k;
    }
    return 0;
}
