// The eight supported applications, by AppId: 1 PowerCinema, 2 Home Theater,
// 3 My IC-TV, 4 Media Center, 5 TotalMedia, 6 Quartzview, 7 Beyond TV,
// 8 WinDVR 6. Everything visits them in this order.
#pragma once

#include <cstdint>

#include "adapters/adapter.h"
#include "adapters/app_adapter.h"

// The AppIds, the numbers "DefaultTVAPP" stores and every table is ordered by.
enum AppId : int {
    powerCinemaId = 1,
    homeTheaterId,
    myIcTvId,
    mediaCenterId,
    totalMediaId,
    quartzviewId,
    beyondTvId,
    winDvr6Id,
};
constexpr int appCount = winDvr6Id;

// The WinDVR 6 record carries one field more than the others.
struct WinDvr6Record {
    AppAdapter record;
    // 0: its arrow keys move the pointer by 10, 1: by 50.
    std::int32_t fastPointer;
};

extern AppAdapter powerCinemaRecord;
extern AppAdapter homeTheaterRecord;
extern AppAdapter myIcTvRecord;
extern AppAdapter mediaCenterRecord;
extern AppAdapter totalMediaRecord;
extern AppAdapter quartzviewRecord;
extern AppAdapter beyondTvRecord;
extern WinDvr6Record winDvr6;

// Each defined in its application's file.
extern const Adapter powerCinemaAdapter;
extern const Adapter homeTheaterAdapter;
extern const Adapter myIcTvAdapter;
extern const Adapter mediaCenterAdapter;
extern const Adapter totalMediaAdapter;
extern const Adapter quartzviewAdapter;
extern const Adapter beyondTvAdapter;
extern const Adapter winDvr6Adapter;

constexpr bool IsAppId(std::int64_t value) {
    return value >= 1 && value <= appCount;
}
// appId must be 1 to 8.
const Adapter& AdapterFor(int appId);
AppAdapter& AppRecord(int appId);
