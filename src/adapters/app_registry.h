// The eight application records and their adapters, by AppId: 1 PowerCinema,
// 2 Home Theater, 3 My IC-TV, 4 Media Center, 5 TotalMedia, 6 Quartzview,
// 7 Beyond TV, 8 WinDVR 6. Everything visits them in this order.
#pragma once

#include <cstdint>

#include "adapters/app_adapter.h"
#include "platform/platform.h"

constexpr int appCount = 8;

// How the dispatcher, the watch and most adapters recognise an application's
// main window; one of the two is null. It can differ from the record's own
// windowClass and windowTitle, which serve Launch and ActivateOrLaunch.
struct MainWindowIdentity {
    const char* className;
    const char* title;
};

// What each adapter supplies; one constant record per application file.
struct AdapterOperations {
    MainWindowIdentity identity;
    FindWindowOperation FindAppWindow;
    AdapterOperation Close;
    AdapterOperation Power;
    void (*HandleKey)(std::uint32_t code);
};

// The WinDVR 6 record carries one field more than the others.
struct WinDvrAdapter {
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
extern WinDvrAdapter winDvr6;

extern const AdapterOperations powerCinemaAdapter;
extern const AdapterOperations homeTheaterAdapter;
extern const AdapterOperations myIcTvAdapter;
extern const AdapterOperations mediaCenterAdapter;
extern const AdapterOperations totalMediaAdapter;
extern const AdapterOperations quartzviewAdapter;
extern const AdapterOperations beyondTvAdapter;
extern const AdapterOperations winDvr6Adapter;

constexpr bool IsAppId(std::int64_t value) {
    return value >= 1 && value <= appCount;
}
// appId must be 1 to 8.
AppAdapter& AppRecord(int appId);
const AdapterOperations& Adapter(int appId);

// FindWindowExA under the desktop window with the identity's class or title:
// the whole string, without regard to case.
platform::WindowHandle FindMainWindow(const MainWindowIdentity& identity);
