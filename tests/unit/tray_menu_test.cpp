// The tray menu: which application entry it offers and how, the rest of its
// items, its life from one click to the next, and the commands it sends.
#include "shell/tray_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/fake_text.h"
#include "product_fixture.h"
#include "shell/setting_dialog.h"

namespace {

using Calls = std::vector<std::string>;

constexpr platform::InstanceHandle instance = 0x400000;
const char* const settingsPath = "HKLM\\Software\\Tarvex Multimedia\\Nimbus XQ Utilities";

class TrayMenuTest : public ProductTest {
  protected:
    void SetUp() override {
        ProductTest::SetUp();
        trayMenuState.trayMenu = 0;
        settingDialog.lastSettingIndex = -1;
        program.appInstance = instance;
        desk.cursor = {1000, 750};
    }

    // Everything that GetVersionExA, the registry and the Windows directory
    // need to show for DetectMediaCenter to pass.
    void ProvideMediaCenter() {
        RunOnWindowsXp();
        desk.SetDword("HKLM\\System\\WPA\\MediaCenter", "Installed", 1);
        desk.existingFiles.insert("C:\\windows\\ehome\\ehshell.exe");
    }

    void Click(platform::LParam button = WM_RBUTTONDOWN) { MainWndProc(owner, 1001, 0, button); }

    static std::string Item(platform::MenuHandle menu, const char* flags, const char* id, const char* text) {
        return "AppendMenuA(" + fake::Hex(menu) + "," + flags + "," + id + ",\"" + text + "\")";
    }
    static std::string Separator(platform::MenuHandle menu) {
        return "AppendMenuA(" + fake::Hex(menu) + ",0x800,0x0,null)";
    }
    // The items that follow the application entry, in every menu.
    static Calls FixedItems(platform::MenuHandle menu) {
        return {Separator(menu), Item(menu, "0x0", "0x20", "Setting"),
                Separator(menu), Item(menu, "0x0", "0x1E", "About"),
                Separator(menu), Item(menu, "0x0", "0x4B1", "Exit")};
    }
};

TEST_F(TrayMenuTest, DefaultQuartzviewInstalledNotRunning_ReadsQuartzviewThenSettingAboutExit) {
    Install(6, "C:\\TV", "MainPanel.exe");
    Click();
    const platform::MenuHandle menu = trayMenuState.trayMenu;
    ASSERT_NE(menu, 0u);
    Calls expected = {"GetCursorPos()", "CreatePopupMenu()", Item(menu, "0x0", "0x452", "Quartzview")};
    for (const std::string& item : FixedItems(menu)) expected.push_back(item);
    expected.push_back("SetForegroundWindow(" + W(owner) + ")");
    expected.push_back("TrackPopupMenu(" + fake::Hex(menu) + ",0x0,1000,750,0x0," + W(owner) + ")");
    // What Windows asks for after a menu tracked from the tray.
    expected.push_back("PostMessageA(" + W(owner) + ",0x0,0x0,0x0)");
    EXPECT_EQ(desk.Log({"GetCursorPos", "CreatePopupMenu", "DestroyMenu", "AppendMenuA",
                        "SetForegroundWindow", "TrackPopupMenu", "PostMessageA"}),
              expected);
}

TEST_F(TrayMenuTest, LeftAndRightButtonDown_OpenIt_OtherMouseMessagesDoNot) {
    for (const platform::LParam button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        desk.ClearLog();
        Click(button);
        EXPECT_EQ(desk.Log({"TrackPopupMenu"}).size(), 1u) << button;
    }
    desk.ClearLog();
    for (const platform::LParam other : {WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE}) Click(other);
    EXPECT_TRUE(desk.Log({"CreatePopupMenu", "TrackPopupMenu"}).empty());
}

struct EntryCase {
    const char* name;
    std::int32_t defaultApp;
    int installedApp;  // 0: none
    const char* windowTitle;
    const char* windowClass;
    const char* flags;  // of the application entry; null: no entry
    const char* id;
    const char* text;
};

class ApplicationEntry : public TrayMenuTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(ApplicationEntry, OnlyTheDefaultsWhenInstalled_CheckedWhileItsWindowIsThere) {
    const EntryCase& c = GetParam();
    settings.defaultApp = c.defaultApp;
    // Every application but Media Center installed, or only the one named.
    for (int k = 1; k <= 8; ++k)
        if (k != 4 && (c.installedApp == -1 || c.installedApp == k)) Install(k, "C:\\TV", "tv.exe");
    if (c.installedApp == -1 || c.installedApp == 4) ProvideMediaCenter();
    if (c.windowTitle || c.windowClass)
        desk.AddWindow(c.windowTitle ? c.windowTitle : "", c.windowClass ? c.windowClass : "");

    Click();

    const platform::MenuHandle menu = trayMenuState.trayMenu;
    Calls expected;
    if (c.flags) expected.push_back(Item(menu, c.flags, c.id, c.text));
    for (const std::string& item : FixedItems(menu)) expected.push_back(item);
    EXPECT_EQ(desk.Log({"AppendMenuA"}), expected);
    EXPECT_EQ(settings.defaultApp, c.defaultApp) << "building the menu changes no setting";
}

constexpr int all = -1;

INSTANTIATE_TEST_SUITE_P(
    Rules, ApplicationEntry,
    ::testing::Values(
        EntryCase{"PowerCinemaRunningAnyCase", 1, 1, "POWERCINEMA", nullptr, "0x8", "0x44D", "PowerCinema"},
        EntryCase{"HomeTheaterRunning", 2, 2, "Home Theater", nullptr, "0x8", "0x44E", "Home Theater"},
        EntryCase{"MyIcTvRunning", 3, 3, "My IC-TV Media Center", nullptr, "0x8", "0x44F", "My IC-TV"},
        EntryCase{"MediaCenterDetectedRunning", 4, 4, nullptr, "eHome Render Window", "0x8", "0x450",
                  "Media Center"},
        EntryCase{"MediaCenterDetectedNotRunning", 4, 4, nullptr, nullptr, "0x0", "0x450", "Media Center"},
        EntryCase{"TotalMediaExactTitle", 5, 5, "TotalMedia", nullptr, "0x8", "0x451", "TotalMedia"},
        // Its main window's own title is not the title the check asks for.
        EntryCase{"TotalMediaUnderItsMainTitle", 5, 5, "Arcsoft TotalMedia", nullptr, "0x0", "0x451",
                  "TotalMedia"},
        EntryCase{"QuartzviewRunning", 6, 6, "TVR", "TarvexMainPanel_Class", "0x8", "0x452", "Quartzview"},
        EntryCase{"BeyondTvRunning", 7, 7, nullptr, "Streamzap.WM.D3D", "0x8", "0x453", "SnapStream"},
        EntryCase{"WinDvrUnderItsMainTitle", 8, 8, "InterVideo WinDVR 6", nullptr, "0x0", "0x454",
                  "WinDVR 6"},
        EntryCase{"AnotherAppRunning", 6, all, "PowerCinema", nullptr, "0x0", "0x452", "Quartzview"},
        EntryCase{"DefaultNotInstalled", 6, 5, "TVR", "TarvexMainPanel_Class", nullptr, nullptr, nullptr},
        EntryCase{"NothingInstalled", 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr},
        EntryCase{"MediaCenterNotDetected", 4, 0, nullptr, "eHome Render Window", nullptr, nullptr, nullptr},
        EntryCase{"Default0", 0, all, nullptr, nullptr, nullptr, nullptr, nullptr},
        EntryCase{"Default9", 9, all, nullptr, nullptr, nullptr, nullptr, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TrayMenuTest, MediaCenter_IsOfferedByItsDetection_NotByItsRecord) {
    settings.defaultApp = 4;
    AppRecord(mediaCenterId).installed = 1;  // as the registry or an earlier detection left it
    Click();
    EXPECT_EQ(desk.Log({"AppendMenuA"}), FixedItems(trayMenuState.trayMenu)) << "detection fails on this system";

    ProvideMediaCenter();
    AppRecord(mediaCenterId).installed = 0;
    desk.ClearLog();
    Click();
    EXPECT_EQ(desk.Log({"AppendMenuA"}).at(0), Item(trayMenuState.trayMenu, "0x0", "0x450", "Media Center"));
    EXPECT_EQ(AppRecord(mediaCenterId).installed, 1) << "a passing detection marks the record installed";
}

TEST_F(TrayMenuTest, NextClick_DestroysThePreviousMenu_AndTheLastOneStays) {
    Click();
    const platform::MenuHandle first = trayMenuState.trayMenu;
    desk.ClearLog();
    Click();
    const platform::MenuHandle second = trayMenuState.trayMenu;
    EXPECT_NE(first, second);
    EXPECT_EQ(desk.Log({"DestroyMenu", "CreatePopupMenu"}),
              (Calls{"DestroyMenu(" + fake::Hex(first) + ")", "CreatePopupMenu()"}));
    EXPECT_EQ(desk.menus, (std::set<platform::MenuHandle>{second}));
}

TEST_F(TrayMenuTest, ClickWhileTheMenuIsTracked_LeavesTheOpenMenuAlone) {
    int nestedClicks = 0;
    desk.onTrackPopupMenu = [&] {
        if (nestedClicks++ == 0) Click(WM_LBUTTONDOWN);
    };
    Click();
    const platform::MenuHandle menu = trayMenuState.trayMenu;
    EXPECT_EQ(desk.Log({"CreatePopupMenu", "DestroyMenu", "TrackPopupMenu"}),
              (Calls{"CreatePopupMenu()",
                     "TrackPopupMenu(" + fake::Hex(menu) + ",0x0,1000,750,0x0," + W(owner) + ")"}));
    EXPECT_TRUE(desk.menus.count(menu));

    desk.onTrackPopupMenu = nullptr;
    desk.ClearLog();
    Click();
    EXPECT_EQ(desk.Log({"DestroyMenu"}), (Calls{"DestroyMenu(" + fake::Hex(menu) + ")"}))
        << "once the menu has closed, the next click rebuilds it";
}

// --- Commands ------------------------------------------------------------------------

TEST_F(TrayMenuTest, AboutAndSetting_RunTheirTemplatesModally_OwnedByTheMainWindow) {
    Install(6, "C:\\TV", "MainPanel.exe");  // Setting has something to offer
    std::vector<std::uint32_t> shown;
    desk.onDialog = [&](platform::WindowHandle dialog) {
        shown.push_back(desk.Find(dialog)->dialogTemplate);
        platform::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    EXPECT_EQ(MainWndProc(owner, WM_COMMAND, 30, 0), 0);
    EXPECT_EQ(MainWndProc(owner, WM_COMMAND, 32, 0), 0);
    EXPECT_EQ(shown, (std::vector<std::uint32_t>{21, 20}));
    EXPECT_EQ(desk.Log({"DialogBoxParamA"}), (Calls{"DialogBoxParamA(0x400000,0x15," + W(owner) + ",0x0)",
                                                    "DialogBoxParamA(0x400000,0x14," + W(owner) + ",0x0)"}));
}

TEST_F(TrayMenuTest, CommandsAroundTheApplicationRange_AreNotTheMenus) {
    Install(1, "C:\\PC", "PowerCinema.exe");
    Install(8, "C:\\DVR", "WinDVR.exe");
    for (const platform::WParam id : {1100u, 1109u, 29u, 33u}) MainWndProc(owner, WM_COMMAND, id, 0);
    EXPECT_TRUE(desk.Log({"DialogBoxParamA", "ShellExecuteA"}).empty());
    EXPECT_EQ(desk.Log({"DefWindowProcA"}).size(), 4u);
    EXPECT_EQ(settings.defaultApp, 6);
}

struct SwitchCase {
    int appId;
    const char* directory;
    const char* executable;
};

class ApplicationCommand : public TrayMenuTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(ApplicationCommand, LaunchesTheApp_MakesItTheDefaultForThisRunOnly_AndWatchesIt) {
    const SwitchCase& c = GetParam();
    desk.SetDword(settingsPath, "DefaultTVAPP", 6);
    for (int k = 1; k <= 8; ++k) Install(k, "C:\\Apps", "other.exe");
    Install(c.appId, c.directory, c.executable);

    EXPECT_EQ(MainWndProc(owner, WM_COMMAND, 1100 + c.appId, 0), 0);

    EXPECT_EQ(desk.Log({"ShellExecuteA"}), (Calls{std::string("ShellExecuteA(0x0,\"open\",\"") + c.directory +
                                                  "\\" + c.executable + "\",\"remote\",null,5)"}));
    EXPECT_EQ(settings.defaultApp, c.appId);
    EXPECT_TRUE(desk.Log({"RegOpenKeyExA", "RegSetValueExA", "RegCreateKeyExA"}).empty());
    EXPECT_EQ(desk.GetDword(settingsPath, "DefaultTVAPP"), 6u);
    // The launch binds the remote to it; the watch lets go once it is closed.
    EXPECT_EQ(desk.Log({"SetTimer", "KillTimer"}), (Calls{"SetTimer(" + W(owner) + ",0x2,1000)"}));
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(launchWatch.watchFlags[k - 1], k == c.appId ? 1 : 0) << k;
    EXPECT_EQ(AppRecord(c.appId).active, 1) << "launched";
}

INSTANTIATE_TEST_SUITE_P(
    EightEntries, ApplicationCommand,
    ::testing::Values(SwitchCase{1, "C:\\PC", "PowerCinema.exe"}, SwitchCase{2, "C:\\HT", "Home Theater.exe"},
                      SwitchCase{3, "C:\\ICTV", "HT IC-TV.exe"}, SwitchCase{4, "C:\\MC", "ehshell.exe"},
                      SwitchCase{5, "C:\\TM", "TotalMedia.exe"}, SwitchCase{6, "C:\\TV", "MainPanel.exe"},
                      SwitchCase{7, "C:\\BTV", "BTVD3DShell.exe"}, SwitchCase{8, "C:\\DVR", "WinDVR.exe"}),
    [](const auto& info) { return "Id" + std::to_string(1100 + info.param.appId); });

TEST_F(TrayMenuTest, ApplicationCommand_ClosesTheOthersRunning_ThenLaunches) {
    Install(5, "C:\\TM", "TotalMedia.exe");
    const auto quartzview = desk.AddWindow("TVR", "TarvexMainPanel_Class");
    const auto myIcTv = desk.AddWindow("My IC-TV Media Center");
    MainWndProc(owner, WM_COMMAND, 1105, 0);
    EXPECT_EQ(desk.Actions(),
              (Calls{"PostMessageA(" + W(myIcTv) + ",0x1519,0x1518,0x1)",
                     "PostMessageA(" + W(quartzview) + ",0xFB8,0x1,0x0)",
                     "ShellExecuteA(0x0,\"open\",\"C:\\TM\\TotalMedia.exe\",\"remote\",null,5)"}));
    EXPECT_EQ(settings.defaultApp, 5);
}

TEST_F(TrayMenuTest, ApplicationCommand_ExecutableMissing_ReportsTheLaunch_AndStillChangesTheDefault) {
    Install(5, "C:\\TM", "TotalMedia.exe");
    desk.onShellExecute = [](const std::string&) -> std::intptr_t { return 2; };  // ERROR_FILE_NOT_FOUND
    MainWndProc(owner, WM_COMMAND, 1105, 0);
    EXPECT_EQ(
        desk.Log({"MessageBoxA"}),
        (Calls{"MessageBoxA(0x0,\"Can't launch TV application what you want.\",\"Remote Control\",0x0)"}));
    EXPECT_EQ(AppRecord(totalMediaId).active, 0);
    EXPECT_EQ(settings.defaultApp, 5);
}

}  // namespace
