// The launch watch, NoAppRunning, IsRunning, IsInstalled and SwitchTo on the
// fake desktop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "product_fixture.h"

namespace {

using Calls = std::vector<std::string>;

class AppWatchTest : public ProductTest {
  protected:
    void ArmWatch() {
        ArmWatchTimer();
        desk.ClearLog();
    }
    void Tick() { WatchTick(owner, WM_TIMER, 2, desk.tickCount); }
    std::string KillWatch() const { return "KillTimer(" + W(owner) + ",0x2)"; }
};

TEST_F(AppWatchTest, NoAppRunning_MakesAllEightLookupsUnderTheDesktop_InAppIdOrder) {
    EXPECT_EQ(NoAppRunning(), 1);
    const std::string d = Desktop();
    EXPECT_EQ(Lookups(), (Calls{
                             "FindWindowExA(" + d + ",0x0,null,\"PowerCinema\")",
                             "FindWindowExA(" + d + ",0x0,null,\"Home Theater\")",
                             "FindWindowExA(" + d + ",0x0,null,\"My IC-TV Media Center\")",
                             "FindWindowExA(" + d + ",0x0,\"eHome Render Window\",null)",
                             "FindWindowExA(" + d + ",0x0,null,\"Arcsoft TotalMedia\")",
                             "FindWindowExA(" + d + ",0x0,\"TarvexMainPanel_Class\",null)",
                             "FindWindowExA(" + d + ",0x0,\"Streamzap.WM.D3D\",null)",
                             "FindWindowExA(" + d + ",0x0,null,\"InterVideo WinDVR 6\")",
                         }));
}

struct MainWindowCase {
    int appId;
    const char* title;
    const char* className;
};

class AnyMainWindow : public AppWatchTest, public ::testing::WithParamInterface<MainWindowCase> {};

TEST_P(AnyMainWindow, MakesNoAppRunningFalse_EvenWhenNotInstalled_StillWithAllEightLookups) {
    const MainWindowCase& c = GetParam();
    desk.AddWindow(c.title, c.className);
    EXPECT_EQ(NoAppRunning(), 0);
    EXPECT_EQ(Lookups().size(), 8u);
}

TEST_P(AnyMainWindow, WatchTick_KeepsWatching_WhileTheWindowIsPresent) {
    const MainWindowCase& c = GetParam();
    desk.AddWindow(c.title, c.className);
    AppRecord(c.appId).active = 1;
    launchWatch.watchFlags[c.appId - 1] = 1;
    ArmWatch();
    Tick();
    EXPECT_EQ(Lookups().size(), 1u);
    EXPECT_TRUE(desk.TimerSet(owner, 2));
    EXPECT_EQ(AppRecord(c.appId).active, 1);
    EXPECT_EQ(launchWatch.watchFlags[c.appId - 1], 1);
}

INSTANTIATE_TEST_SUITE_P(EightApps, AnyMainWindow,
                         ::testing::Values(MainWindowCase{1, "powercinema", ""},
                                           MainWindowCase{2, "Home Theater", ""},
                                           MainWindowCase{3, "My IC-TV Media Center", ""},
                                           MainWindowCase{4, "", "eHome Render Window"},
                                           MainWindowCase{5, "Arcsoft TotalMedia", ""},
                                           MainWindowCase{6, "", "TarvexMainPanel_Class"},
                                           MainWindowCase{7, "", "Streamzap.WM.D3D"},
                                           MainWindowCase{8, "InterVideo WinDVR 6", ""}),
                         [](const auto& info) { return "AppId" + std::to_string(info.param.appId); });

TEST_F(AppWatchTest, WatchTick_WindowGone_DeactivatesDisarmsAndClearsItsEntry) {
    AppRecord(totalMediaId).active = 1;
    launchWatch.watchFlags[4] = 1;
    ArmWatch();
    Tick();
    EXPECT_EQ(Lookups(), (Calls{"FindWindowExA(" + Desktop() + ",0x0,null,\"Arcsoft TotalMedia\")"}));
    EXPECT_EQ(AppRecord(totalMediaId).active, 0);
    EXPECT_EQ(launchWatch.watchFlags[4], 0);
    EXPECT_EQ(desk.Log({"KillTimer"}), (Calls{KillWatch()}));
    EXPECT_TRUE(desk.Log({"Sleep"}).empty());
}

TEST_F(AppWatchTest, WatchTick_ExaminesOnlyTheLowestEntry_AndKeepsTheTimerForTheOthers) {
    AppRecord(powerCinemaId).active = 1;
    AppRecord(totalMediaId).active = 1;
    launchWatch.watchFlags[0] = 1;
    launchWatch.watchFlags[4] = 1;
    desk.AddWindow("Arcsoft TotalMedia");
    ArmWatch();
    Tick();
    EXPECT_EQ(Lookups(), (Calls{"FindWindowExA(" + Desktop() + ",0x0,null,\"PowerCinema\")"}));
    EXPECT_EQ(AppRecord(powerCinemaId).active, 0);
    EXPECT_EQ(launchWatch.watchFlags[0], 0);
    EXPECT_EQ(launchWatch.watchFlags[4], 1);
    EXPECT_EQ(AppRecord(totalMediaId).active, 1);
    EXPECT_TRUE(desk.TimerSet(owner, 2));
}

TEST_F(AppWatchTest, WatchTick_NoEntrySet_BlocksFor2Seconds_ThenDisarms) {
    ArmWatch();
    const std::uint32_t before = desk.tickCount;
    Tick();
    EXPECT_EQ(desk.Log({"Sleep", "KillTimer"}), (Calls{"Sleep(2000)", KillWatch()}));
    EXPECT_EQ(desk.tickCount - before, 2000u);
    EXPECT_TRUE(Lookups().empty());
}

TEST_F(AppWatchTest, LaunchedAppWithoutWindowAfterASecond_IsDeactivatedByTheFirstTick) {
    Install(5, "C:\\TV", "TotalMedia.exe");
    PowerAndWatch(AppFor(5), settings.defaultApp);
    ASSERT_EQ(AppRecord(totalMediaId).active, 1);
    ASSERT_EQ(launchWatch.watchFlags[4], 1);
    desk.Advance(1000);
    EXPECT_EQ(AppRecord(totalMediaId).active, 0);
    EXPECT_EQ(launchWatch.watchFlags[4], 0);
    EXPECT_FALSE(desk.TimerSet(owner, 2));
}

TEST_F(AppWatchTest, CloseOfAWatchedApp_ClearsActiveAtOnce_ButLeavesItsEntry) {
    const auto window = desk.AddWindow("Arcsoft TotalMedia");
    AppRecord(totalMediaId).active = 1;
    launchWatch.watchFlags[4] = 1;
    Close(AppFor(5));
    EXPECT_EQ(AppRecord(totalMediaId).active, 0);
    EXPECT_EQ(launchWatch.watchFlags[4], 1);
    desk.RemoveWindow(window);
    ArmWatch();
    Tick();
    EXPECT_EQ(launchWatch.watchFlags[4], 0);
}

struct IsRunningCase {
    const char* name;
    int appId;
    const char* title;
    const char* className;
    int running;
};

class Running : public AppWatchTest, public ::testing::WithParamInterface<IsRunningCase> {};

TEST_P(Running, AnswersFromItsOwnLookup) {
    const IsRunningCase& c = GetParam();
    desk.AddWindow(c.title, c.className);
    EXPECT_EQ(IsRunning(c.appId), c.running);
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, Running,
    ::testing::Values(IsRunningCase{"TotalMediaExactTitle", 5, "TotalMedia", "", 1},
                      IsRunningCase{"TotalMediaMainTitle", 5, "Arcsoft TotalMedia", "", 0},
                      IsRunningCase{"WinDvrExactTitle", 8, "WinDVR 6", "", 1},
                      IsRunningCase{"WinDvrMainTitle", 8, "InterVideo WinDVR 6", "", 0},
                      IsRunningCase{"HomeTheaterOtherCase", 2, "HOME THEATER", "", 0},
                      IsRunningCase{"HomeTheaterExact", 2, "Home Theater", "", 1},
                      IsRunningCase{"PowerCinemaOtherCase", 1, "POWERCINEMA", "", 1},
                      IsRunningCase{"MyIcTvTitle", 3, "My IC-TV Media Center", "", 1},
                      IsRunningCase{"MyIcTvRecordClassOnly", 3, "", "My IC-TV", 0},
                      IsRunningCase{"MediaCenterClass", 4, "", "eHome Render Window", 1},
                      IsRunningCase{"QuartzviewClass", 6, "", "TarvexMainPanel_Class", 1},
                      IsRunningCase{"QuartzviewRecordTitleOnly", 6, "TVR", "", 0},
                      IsRunningCase{"BeyondTvClass", 7, "", "Streamzap.WM.D3D", 1},
                      IsRunningCase{"BeyondTvRecordClassOnly", 7, "", "Beyond TV", 0},
                      IsRunningCase{"AppId0", 0, "PowerCinema", "", 0},
                      IsRunningCase{"AppId9", 9, "PowerCinema", "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AppWatchTest, IsInstalled_AnswersTheRecord_AndNoForANumberOutside1To8) {
    Install(7, "C:\\BTV", "BTVD3DShell.exe");
    EXPECT_EQ(IsInstalled(7), 1);
    EXPECT_EQ(IsInstalled(6), 0);
    for (const int appId : {0, 9, -1, INT32_MIN, INT32_MAX}) EXPECT_EQ(IsInstalled(appId), 0) << appId;
}

TEST_F(AppWatchTest, SwitchTo_NothingElseRunning_LaunchesAndWatches) {
    Install(6, "C:\\TV", "MainPanel.exe");
    SwitchTo(6);
    EXPECT_EQ(desk.Actions(),
              (Calls{"ShellExecuteA(0x0,\"open\",\"C:\\TV\\MainPanel.exe\",\"remote\",null,5)"}));
    // The launch binds the remote to it, and the watch follows it.
    EXPECT_EQ(desk.Log({"SetTimer"}), (Calls{"SetTimer(" + W(owner) + ",0x2,1000)"}));
    EXPECT_EQ(launchWatch.watchFlags[5], 1);
}

TEST_F(AppWatchTest, SwitchTo_NotInstalled_ClosesTheOthers_StartsNothing_ShowsNothing) {
    const auto quartzview = desk.AddWindow("TVR", "TarvexMainPanel_Class");
    const auto myIcTv = desk.AddWindow("My IC-TV Media Center");
    SwitchTo(5);
    EXPECT_EQ(desk.Actions(), (Calls{"PostMessageA(" + W(myIcTv) + ",0x1519,0x1518,0x1)",
                                     "PostMessageA(" + W(quartzview) + ",0xFB8,0x1,0x0)"}));
}

TEST_F(AppWatchTest, SwitchTo_TotalMediaUnderItsMainTitle_StartsItAgain) {
    Install(5, "C:\\TM", "TotalMedia.exe");
    desk.AddWindow("Arcsoft TotalMedia");
    SwitchTo(5);
    EXPECT_EQ(desk.Actions(),
              (Calls{"ShellExecuteA(0x0,\"open\",\"C:\\TM\\TotalMedia.exe\",\"remote\",null,5)"}));
}

TEST_F(AppWatchTest, SwitchTo_ANumberOutside1To8_DoesNothing) {
    desk.AddWindow("PowerCinema");
    for (const int appId : {0, 9, -1}) SwitchTo(appId);
    EXPECT_TRUE(desk.log.empty());
}

}  // namespace
