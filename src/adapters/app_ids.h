// The AppIds of the supported applications: the numbers "DefaultTVAPP"
// stores, and the order everything visits the applications in.
#pragma once

#include <cstdint>

enum AppId : int {
    powerCinemaId = 1,
    homeTheaterId,
    myIcTvId,
    mediaCenterId,
    totalMediaId,
    quartzviewId,
    beyondTvId,
    winDvr6Id,
    // A new application's id goes above this line.
    endOfAppIds
};
constexpr int appCount = endOfAppIds - 1;

constexpr bool IsAppId(std::int64_t value) {
    return value >= 1 && value <= appCount;
}
