// The applications that the tray menu and the Setting dialog offer.
#include "shell/app_choice.h"

#include <cstring>

#include "adapters/app_registry.h"
#include "adapters/media_center_detection.h"
#include "dispatch/app_watch.h"

namespace {

constexpr int mediaCenterAppId = 4;

// By AppId; "SnapStream" is Beyond TV's entry.
const char* const appNames[appCount] = {"PowerCinema", "Home Theater", "My IC-TV",   "Media Center",
                                        "TotalMedia",  "Quartzview",   "SnapStream", "WinDVR 6"};

}  // namespace

const char* AppName(int appId) {
    return appNames[appId - 1];
}

bool IsAvailable(int appId) {
    if (appId == mediaCenterAppId) return DetectMediaCenter() != 0;
    return IsInstalled(appId) != 0;
}

int AppIdByName(const char* text) {
    for (int k = 1; k <= appCount; ++k) {
        if (std::strcmp(text, AppName(k)) == 0) return k;
    }
    return 0;
}
