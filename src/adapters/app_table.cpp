// The table of the supported applications and their records. The records are
// built here together because each reads the registry in its constructor
// before WinMain and they must be built in AppId order, which only one
// translation unit guarantees; the descriptions they are built from are
// constants, ready before any constructor runs.
#include "adapters/app_table.h"

#include <array>
#include <utility>

// Each defined in its application's file.
extern const SupportedApp powerCinemaApp, homeTheaterApp, myIcTvApp, mediaCenterApp, totalMediaApp, quartzviewApp,
    beyondTvApp, winDvr6App;

namespace {

// One row per application, in AppId order.
constexpr const SupportedApp* supportedApps[] = {
    &powerCinemaApp,
    &homeTheaterApp,
    &myIcTvApp,
    &mediaCenterApp,
    &totalMediaApp,
    &quartzviewApp,
    &beyondTvApp,
    &winDvr6App,
};
static_assert(std::size(supportedApps) == appCount, "one row per AppId");

// The elements of a braced list are built from left to right.
template <std::size_t... index>
std::array<AppAdapter, appCount> BuildRecords(std::index_sequence<index...>) {
    return {AppAdapter(supportedApps[index]->install, supportedApps[index]->windowClass,
                       supportedApps[index]->windowTitle)...};
}

std::array<AppAdapter, appCount> appRecords = BuildRecords(std::make_index_sequence<appCount>{});

}  // namespace

const SupportedApp& AppFor(int appId) {
    return *supportedApps[appId - 1];
}

AppAdapter& AppRecord(int appId) {
    return appRecords[appId - 1];
}

LaunchRule LaunchRuleOf(std::int32_t defaultAppId) {
    return IsAppId(defaultAppId) ? AppFor(defaultAppId).launchRule : nullptr;
}

AppAdapter& SupportedApp::record() const {
    return AppRecord(appId);
}

void ResetAppRecords() {
    for (AppAdapter& record : appRecords) record.Reset();
}
