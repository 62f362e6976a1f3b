// The adapter model on the fake desktop: install information, the lookups,
// Launch and ActivateOrLaunch, the input primitives, each adapter's Close and
// Power, and the key-map rows.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "adapters/supported_app.h"
#include "adapters/key_action.h"
#include "app_identities.h"
#include "expected_input.h"
#include "product_fixture.h"

namespace {

std::string Shell(const std::string& path) {
    return "ShellExecuteA(0x0,\"open\",\"" + path + "\",\"remote\",null,5)";
}

class AdapterTest : public ProductTest {
  protected:
    const std::string key = "HKLM\\Software\\Test TV";
};

// --- ReadInstallInfo ------------------------------------------------------------

struct InstallValueCase {
    const char* name;
    std::size_t length;  // characters of the value
    bool withNul;
    bool installed;
};

class InstallValue : public AdapterTest, public ::testing::WithParamInterface<InstallValueCase> {};

TEST_P(InstallValue, IsReadWhole_UpTo127Characters_AndInstallDirIsAlwaysAString) {
    const InstallValueCase& c = GetParam();
    const std::string directory(c.length, 'D');
    desk.SetString(key, "AppPath", directory, c.withNul);
    AppAdapter record({key.substr(5).c_str(), "AppPath", "Test.exe"}, "TestClass", "Test TV");
    EXPECT_EQ(record.installed, c.installed ? 1 : 0);
    EXPECT_EQ(record.installDir[sizeof record.installDir - 1], '\0');
    EXPECT_EQ(std::string(record.installDir), c.installed ? directory : "");
    EXPECT_STREQ(record.exeName, c.installed ? "Test.exe" : "");
    // The identity is copied whether or not the value was found.
    EXPECT_STREQ(record.windowClass, "TestClass");
    EXPECT_STREQ(record.windowTitle, "Test TV");
    EXPECT_EQ(record.active, 0);
    EXPECT_EQ(record.window, 0u);
    EXPECT_EQ(desk.openKeyCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Lengths, InstallValue,
                         ::testing::Values(InstallValueCase{"Short", 8, true, true},
                                           InstallValueCase{"Chars127", 127, true, true},
                                           InstallValueCase{"Chars127WithoutNul", 127, false, true},
                                           InstallValueCase{"Chars128", 128, true, false},
                                           InstallValueCase{"Chars128WithoutNul", 128, false, false},
                                           InstallValueCase{"Chars300", 300, true, false},
                                           InstallValueCase{"Empty", 0, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AdapterTest, InstallInfo_MissingKeyValueOrAccess_LeavesTheRecordNotInstalled) {
    AppAdapter noKey({"Software\\Test TV", "AppPath", "Test.exe"}, "", "Test TV");
    EXPECT_EQ(noKey.installed, 0);
    desk.CreateKey(key);
    AppAdapter noValue({"Software\\Test TV", "AppPath", "Test.exe"}, "", "Test TV");
    EXPECT_EQ(noValue.installed, 0);
    desk.SetString(key, "AppPath", "C:\\TV");
    desk.denyOpen.insert(key);
    AppAdapter denied({"Software\\Test TV", "AppPath", "Test.exe"}, "", "Test TV");
    EXPECT_EQ(denied.installed, 0);
    EXPECT_STREQ(denied.exeName, "");
    EXPECT_EQ(desk.openKeyCount(), 0);
}

TEST_F(AdapterTest, InstallInfo_TakesTheDefaultValue_ForAnEmptyValueName_WhateverItsType) {
    desk.SetString(key, "", "\"C:\\WINDOWS\\ehome\\ehshell.exe\" \"%1\"");
    AppAdapter record({"Software\\Test TV", "", ""}, "eHome Render Window", "eHome Render Window");
    EXPECT_EQ(record.installed, 1);
    EXPECT_STREQ(record.installDir, "\"C:\\WINDOWS\\ehome\\ehshell.exe\" \"%1\"");
    desk.SetDword(key, "Number", 0x00005643);
    EXPECT_TRUE(record.ReadInstallInfo("Software\\Test TV", "Number", "x.exe"));
    EXPECT_STREQ(record.installDir, "CV");
}

// --- The records and their lookups ------------------------------------------------

class RecordIdentity : public AdapterTest, public ::testing::WithParamInterface<AppIdentity> {};

TEST_P(RecordIdentity, IsBuiltFromItsDescription_AndFindByTitleMatchesTheWholeTitle_CaseSensitively) {
    const AppIdentity& c = GetParam();
    // The description that start-up builds the record from, read again.
    desk.SetString(std::string("HKLM\\") + c.registryKey, c.valueName, "C:\\TV");
    const SupportedApp& app = AppFor(c.appId);
    const AppAdapter rebuilt(app.install, app.windowClass, app.windowTitle);
    EXPECT_EQ(rebuilt.installed, 1);
    EXPECT_STREQ(rebuilt.exeName, c.executable);
    EXPECT_STREQ(AppFor(c.appId).name, c.name);
    AppAdapter& record = AppRecord(c.appId);
    EXPECT_STREQ(record.windowClass, c.recordClass);
    EXPECT_STREQ(record.windowTitle, c.recordTitle);
    std::string swappedCase = c.recordTitle;
    for (char& ch : swappedCase) {
        const unsigned char u = static_cast<unsigned char>(ch);
        ch = static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
    }
    desk.AddWindow(swappedCase);
    desk.AddWindow(std::string(c.recordTitle) + " ");
    EXPECT_EQ(record.FindByTitle(), 0u);
    const auto exact = desk.AddWindow(c.recordTitle);
    desk.AddWindow("Other");
    EXPECT_EQ(record.FindByTitle(), exact);
}

INSTANTIATE_TEST_SUITE_P(EightRecords, RecordIdentity, ::testing::ValuesIn(appIdentities),
                         [](const auto& info) { return AppIdName(info.param.appId); });

TEST_F(AdapterTest, FindByTitle_ReturnsTheTopmostOfTwoEqualTitles) {
    desk.AddWindow("TotalMedia");
    const auto topmost = desk.AddWindow("TotalMedia");
    EXPECT_EQ(AppRecord(totalMediaId).FindByTitle(), topmost);
}

// --- Launch and ActivateOrLaunch ---------------------------------------------------

struct ShellResultCase {
    std::intptr_t result;
    bool launched;
};

class LaunchResult : public AdapterTest, public ::testing::WithParamInterface<ShellResultCase> {};

TEST_P(LaunchResult, OnlyAResultAbove32IsASuccess) {
    const ShellResultCase& c = GetParam();
    Install(5, "C:\\TV", "TotalMedia.exe");
    desk.onShellExecute = [&](const std::string&) { return c.result; };
    EXPECT_EQ(AppRecord(totalMediaId).Launch(LaunchRuleOf(settings.defaultApp)), 0u);
    Calls expected = {Shell("C:\\TV\\TotalMedia.exe")};
    if (!c.launched) {
        expected.push_back(
            "MessageBoxA(0x0,\"Can't launch TV application what you want.\",\"Remote Control\",0x0)");
    }
    EXPECT_EQ(desk.Actions(), expected);
    EXPECT_EQ(AppRecord(totalMediaId).active, c.launched ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(ShellResults, LaunchResult,
                         ::testing::Values(ShellResultCase{33, true}, ShellResultCase{42, true},
                                           ShellResultCase{32, false}, ShellResultCase{31, false},
                                           ShellResultCase{2, false}, ShellResultCase{0, false},
                                           ShellResultCase{-1, false}),
                         [](const auto& info) {
                             return "Result" + std::to_string(info.param.result < 0 ? 0 : info.param.result) +
                                    (info.param.result < 0 ? "Negative" : "");
                         });

TEST_F(AdapterTest, Launch_FailureKeepsAnActiveFlagAsItWas) {
    Install(5, "C:\\TV", "TotalMedia.exe");
    AppRecord(totalMediaId).active = 1;
    desk.onShellExecute = [](const std::string&) -> std::intptr_t { return 2; };
    AppRecord(totalMediaId).Launch(LaunchRuleOf(settings.defaultApp));
    EXPECT_EQ(AppRecord(totalMediaId).active, 1);
}

struct MediaCenterPathCase {
    const char* name;
    const char* windowsDirectory;  // null: Media Center is not detected
    std::int32_t defaultApp;
    int appId;
    const char* path;
};

class LaunchPath : public AdapterTest, public ::testing::WithParamInterface<MediaCenterPathCase> {};

TEST_P(LaunchPath, DetectedMediaCenterShellReplacesThePath_WhenTheDefault_ForAnyRecord) {
    const MediaCenterPathCase& c = GetParam();
    if (c.windowsDirectory != nullptr) {
        desk.version.dwPlatformId = VER_PLATFORM_WIN32_NT;
        desk.version.dwMajorVersion = 5;
        desk.version.dwMinorVersion = 1;
        desk.SetDword("HKLM\\System\\WPA\\MediaCenter", "Installed", 1);
        desk.windowsDirectory = c.windowsDirectory;
        desk.existingFiles.insert(std::string(c.windowsDirectory) + "\\ehome\\ehshell.exe");
    }
    Install(5, "C:\\Program Files\\TM", "TotalMedia.exe");
    Install(6, "C:\\TV", "MainPanel.exe");
    AppRecord(c.appId).Launch(LaunchRuleOf(c.defaultApp));
    EXPECT_EQ(desk.Log({"ShellExecuteA"}), (Calls{Shell(c.path)}));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LaunchPath,
    ::testing::Values(
        MediaCenterPathCase{"DetectedDefault4_TotalMedia", "C:\\WINDOWS", 4, 5, "C:\\WINDOWS\\ehome\\ehshell.exe"},
        MediaCenterPathCase{"DetectedDefault4_Quartzview", "C:\\WINDOWS", 4, 6, "C:\\WINDOWS\\ehome\\ehshell.exe"},
        MediaCenterPathCase{"DetectedOnAnotherDrive", "D:\\WINNT", 4, 6, "D:\\WINNT\\ehome\\ehshell.exe"},
        MediaCenterPathCase{"DetectedDefault5", "C:\\WINDOWS", 5, 5, "C:\\Program Files\\TM\\TotalMedia.exe"},
        MediaCenterPathCase{"NotDetectedDefault4", nullptr, 4, 6, "C:\\TV\\MainPanel.exe"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AdapterTest, Launch_RecordWithAClass_LooksUpByClass_AndLeavesARunningAppAlone) {
    Install(3, "C:\\ICTV", "HT IC-TV.exe");
    const auto running = desk.AddWindow("Something else", "My IC-TV");
    EXPECT_EQ(AppRecord(myIcTvId).Launch(LaunchRuleOf(settings.defaultApp)), running);
    EXPECT_EQ(desk.Log({"FindWindowA"}), (Calls{"FindWindowA(\"My IC-TV\",null)"}));
    EXPECT_TRUE(desk.Actions().empty());  // no foreground change, no launch
    EXPECT_EQ(AppRecord(myIcTvId).active, 0);
}

TEST_F(AdapterTest, Launch_RecordWithoutAClass_LooksUpByTitle) {
    Install(8, "C:\\DVR", "WinDVR.exe");
    const auto running = desk.AddWindow("WinDVR 6");
    EXPECT_EQ(AppRecord(winDvr6Id).Launch(LaunchRuleOf(settings.defaultApp)), running);
    EXPECT_TRUE(desk.Log({"FindWindowA", "FindWindowExA"}).empty());
    EXPECT_TRUE(desk.Actions().empty());
}

TEST_F(AdapterTest, Launch_NotInstalled_StartsAndShowsNothing) {
    EXPECT_EQ(AppRecord(quartzviewId).Launch(LaunchRuleOf(settings.defaultApp)), 0u);
    EXPECT_TRUE(desk.Actions().empty());
}

TEST_F(AdapterTest, Launch_ReturnsTheWindow_WhenTheShellStartedItAtOnce) {
    Install(6, "C:\\TV", "MainPanel.exe");
    platform::WindowHandle started = 0;
    desk.onShellExecute = [&](const std::string&) -> std::intptr_t {
        started = desk.AddWindow("TVR", "TarvexMainPanel_Class");
        return 42;
    };
    EXPECT_EQ(AppRecord(quartzviewId).Launch(LaunchRuleOf(settings.defaultApp)), started);
    EXPECT_NE(started, 0u);
}

TEST_F(AdapterTest, ActivateOrLaunch_NotInstalled_MakesNoCallAtAll) {
    desk.AddWindow("TotalMedia");
    EXPECT_EQ(AppRecord(totalMediaId).ActivateOrLaunch(LaunchRuleOf(settings.defaultApp)), 0u);
    EXPECT_TRUE(desk.log.empty());
}

TEST_F(AdapterTest, ActivateOrLaunch_BringsARunningAppForward) {
    Install(5, "C:\\TV", "TotalMedia.exe");
    const auto running = desk.AddWindow("TotalMedia");
    EXPECT_EQ(AppRecord(totalMediaId).ActivateOrLaunch(LaunchRuleOf(settings.defaultApp)), running);
    EXPECT_EQ(desk.Actions(),
              (Calls{"SetForegroundWindow(" + W(running) + ")", "SetActiveWindow(" + W(running) + ")"}));
}

TEST_F(AdapterTest, ActivateOrLaunch_TotalMediaUnderItsMainTitle_IsLaunchedAgain) {
    Install(5, "C:\\TV", "TotalMedia.exe");
    desk.AddWindow("Arcsoft TotalMedia");
    EXPECT_EQ(AppRecord(totalMediaId).ActivateOrLaunch(LaunchRuleOf(settings.defaultApp)), 0u);
    EXPECT_EQ(desk.Actions(), (Calls{Shell("C:\\TV\\TotalMedia.exe")}));
}

// --- Input primitives ------------------------------------------------------------------

TEST_F(AdapterTest, SingleKeysAndChords_UseTheExtendedFlagOnEveryEvent) {
    const std::uint8_t up[] = {VK_UP, 0};
    SendChord(up);
    const std::uint8_t ctrlShiftP[] = {VK_CONTROL, VK_SHIFT, 'P', 0};
    SendChord(ctrlShiftP);
    EXPECT_EQ(desk.Actions(), (Calls{"keybd_event(0x26,0x0,0x1,0x0)", "keybd_event(0x26,0x0,0x3,0x0)",
                                     "keybd_event(0x11,0x0,0x1,0x0)", "keybd_event(0x10,0x0,0x1,0x0)",
                                     "keybd_event(0x50,0x0,0x1,0x0)", "keybd_event(0x50,0x0,0x3,0x0)",
                                     "keybd_event(0x10,0x0,0x3,0x0)", "keybd_event(0x11,0x0,0x3,0x0)"}));
}

// --- Close of each adapter -----------------------------------------------------------

struct CloseCase {
    int appId;
    const char* title;
    const char* className;
    bool storesWindow;
};

class AdapterClose : public AdapterTest, public ::testing::WithParamInterface<CloseCase> {
  protected:
    // Each adapter's mechanism, written out per application.
    Calls ExpectedClose(int appId, platform::WindowHandle w) const {
        switch (appId) {
            case 1:
            case 5:
            case 7:
                return AltF4After(w);
            case 2:
            case 8:
                return ExitChord();
            case 3:
                return {"PostMessageA(" + W(w) + ",0x1519,0x1518,0x1)"};
            case 4:
                return {"SetForegroundWindow(" + W(w) + ")", "SetActiveWindow(" + W(w) + ")",
                        "PostMessageA(" + W(w) + ",0x10,0x0,0x0)"};
            default:
                return {"PostMessageA(" + W(w) + ",0xFB8,0x1,0x0)"};
        }
    }
    static constexpr platform::WindowHandle previous = 0x7777;
};

TEST_P(AdapterClose, ClosesItsRunningApp_AndClearsActive) {
    const CloseCase& c = GetParam();
    AppAdapter& record = AppRecord(c.appId);
    record.active = 1;
    record.window = previous;
    const auto window = desk.AddWindow(c.title, c.className);
    Close(AppFor(c.appId));
    EXPECT_EQ(desk.Actions(), ExpectedClose(c.appId, window));
    EXPECT_EQ(record.active, 0);
    EXPECT_EQ(record.window, c.storesWindow ? window : previous);
}

TEST_P(AdapterClose, NotRunning_SendsNothing_AndLeavesActive) {
    const CloseCase& c = GetParam();
    AppAdapter& record = AppRecord(c.appId);
    record.active = 1;
    record.window = previous;
    Close(AppFor(c.appId));
    EXPECT_TRUE(desk.Actions().empty());
    EXPECT_EQ(record.active, 1);
    EXPECT_EQ(record.window, c.storesWindow ? 0u : previous);
}

INSTANTIATE_TEST_SUITE_P(EightAdapters, AdapterClose,
                         ::testing::Values(CloseCase{1, "PowerCinema", "", true},
                                           CloseCase{2, "Home Theater", "", false},
                                           CloseCase{3, "My IC-TV Media Center", "", false},
                                           CloseCase{4, "Media Center", "eHome Render Window", true},
                                           CloseCase{5, "Arcsoft TotalMedia", "", true},
                                           CloseCase{6, "Quartzview", "TarvexMainPanel_Class", false},
                                           CloseCase{7, "Beyond TV", "Streamzap.WM.D3D", true},
                                           CloseCase{8, "WinDVR 6", "", false}),
                         [](const auto& info) { return "AppId" + std::to_string(info.param.appId); });

TEST_F(AdapterTest, HomeTheaterClose_ComparesItsTitleCaseSensitively) {
    AppRecord(homeTheaterId).active = 1;
    desk.AddWindow("HOME THEATER");
    Close(AppFor(2));
    EXPECT_TRUE(desk.Actions().empty());
    EXPECT_EQ(AppRecord(homeTheaterId).active, 1);
}

// --- Power of each adapter --------------------------------------------------------

class AdapterPower : public AdapterTest, public ::testing::WithParamInterface<AppIdentity> {};

TEST_P(AdapterPower, ClosesWheneverTheMainWindowIsPresent_WhateverActiveSays) {
    const AppIdentity& c = GetParam();
    Install(c.appId, "C:\\TV", c.executable);
    desk.AddWindow(c.mainTitle, c.mainClass);
    // WinDVR 6 is closed through its record's title, not its main window's.
    if (c.appId == 8) desk.AddWindow(c.recordTitle);
    AppAdapter& record = AppRecord(c.appId);
    for (const std::int32_t active : {0, 1}) {
        record.active = active;
        desk.ClearLog();
        PowerAndWatch(AppFor(c.appId), settings.defaultApp);
        EXPECT_FALSE(desk.Actions().empty()) << "active " << active;
        EXPECT_TRUE(desk.Log({"ShellExecuteA", "SetTimer"}).empty()) << "active " << active;
        EXPECT_EQ(record.active, 0);
    }
    EXPECT_EQ(launchWatch.watchFlags[c.appId - 1], 0);
}

TEST_P(AdapterPower, NotInstalled_ArmsTheWatch_AndSetsNoWatchFlag) {
    const AppIdentity& c = GetParam();
    PowerAndWatch(AppFor(c.appId), settings.defaultApp);
    EXPECT_EQ(desk.Log({"SetTimer"}), (Calls{"SetTimer(" + W(owner) + ",0x2,1000)"}));
    EXPECT_TRUE(desk.Actions().empty());
    for (int k = 1; k <= appCount; ++k) EXPECT_EQ(launchWatch.watchFlags[k - 1], 0) << "entry " << k;
}

TEST_P(AdapterPower, NotRunning_LaunchesIt_ArmsTheWatch_AndSetsItsOwnWatchFlag) {
    const AppIdentity& c = GetParam();
    Install(c.appId, "C:\\TV", c.executable);
    PowerAndWatch(AppFor(c.appId), settings.defaultApp);
    EXPECT_EQ(desk.Log({"ShellExecuteA"}), (Calls{Shell(std::string("C:\\TV\\") + c.executable)}));
    EXPECT_TRUE(desk.TimerSet(owner, 2));
    for (int k = 1; k <= appCount; ++k) EXPECT_EQ(launchWatch.watchFlags[k - 1], k == c.appId ? 1 : 0) << "entry " << k;
}

INSTANTIATE_TEST_SUITE_P(EightAdapters, AdapterPower, ::testing::ValuesIn(appIdentities),
                         [](const auto& info) { return AppIdName(info.param.appId); });

TEST_F(AdapterTest, WinDvr6Power_SeesItsMainWindow_ButItsCloseFindsNoWinDvr6Title) {
    AppRecord(winDvr6Id).active = 1;
    Install(8, "C:\\DVR", "WinDVR.exe");
    desk.AddWindow("InterVideo WinDVR 6");
    PowerAndWatch(AppFor(8), settings.defaultApp);
    EXPECT_TRUE(desk.Actions().empty());
    EXPECT_TRUE(desk.Log({"SetTimer"}).empty());
    EXPECT_EQ(AppRecord(winDvr6Id).active, 1);
}

TEST_F(AdapterTest, Power_FailedLaunch_ArmsTheWatch_ButSetsNoWatchFlag) {
    Install(5, "C:\\TV", "TotalMedia.exe");
    desk.onShellExecute = [](const std::string&) -> std::intptr_t { return 5; };
    PowerAndWatch(AppFor(5), settings.defaultApp);
    EXPECT_TRUE(desk.TimerSet(owner, 2));
    EXPECT_EQ(launchWatch.watchFlags[4], 0);
}

// --- Key-map rows -------------------------------------------------------------------

int customCalls = 0;
platform::WindowHandle customWindow = 0;
std::uint8_t customCode = 0;
void RecordCustomCall(const SupportedApp&, platform::WindowHandle found, const KeyRow& row) {
    ++customCalls;
    customWindow = found;
    customCode = row.code;
}

constexpr CustomAction recordCustomCall = {RecordCustomCall, "records the call"};

// One row of every shape the key maps use.
constexpr KeyRow testKeyMap[] = {
    Chord(26, VK_CONTROL, 'S'),
    Key(20, VK_F8),
    ChordToFocus(64, VK_CONTROL, VK_SHIFT, 'R'),
    PostedPair(30, VK_UP, VK_RETURN, 0),
    Posted(16, VK_UP, 0x01500001),
    ForwardPosted(17, VK_DOWN, 0x01500001),
    Posted(0, '1', 0x00020001),
    Command(25, 0x0FB8, 2000, 0, 2000),
    Command(23, 5401, 5400, 0),
    CommandOnTop(74, 0x0FB8, 20, 0),
    LookupOnly(21),
    AfterLookup(75, recordCustomCall),
    WithoutLookup(14, recordCustomCall),
};

const SupportedApp testAdapter = {
    .appId = totalMediaId,
    .name = "Test TV",
    .install = {"", "", ""},
    .windowClass = "",
    .windowTitle = "Test TV",
    .mainWindow = ByTitle("Test TV"),
    .detection = ByTitle("Test TV"),
    .running = ByTitle("Test TV"),
    .close = CloseByAltF4(),
    .closeOrder = CloseOrder::ByAppId,
    .shutDownKey = 24,
    .keyMap = testKeyMap,
};

struct RowCase {
    const char* name;
    std::uint32_t code;
    Calls (*expected)(platform::WindowHandle w);
};

class KeyMapRow : public AdapterTest, public ::testing::WithParamInterface<RowCase> {};

TEST_P(KeyMapRow, LooksTheWindowUpAnew_StoresIt_AndActsOnIt) {
    using namespace expect;
    const RowCase& c = GetParam();
    const auto window = desk.AddWindow("Test TV");
    AppRecord(totalMediaId).window = 0x7777;
    HandleKey(testAdapter, c.code);
    EXPECT_EQ(AppRecord(totalMediaId).window, window);
    EXPECT_EQ(desk.Log({"FindWindowExA"}), (Calls{"FindWindowExA(" + Desktop() + ",0x0,null,\"Test TV\")"}));
    EXPECT_EQ(desk.Log({"keybd_event", "SetForegroundWindow", "SetActiveWindow", "BringWindowToTop",
                        "PostMessageA", "Sleep"}),
              c.expected(window));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, KeyMapRow,
    ::testing::Values(
        RowCase{"Chord", 26,
                [](auto w) {
                    return expect::Activate(w) + expect::Chord({0x11, 0x53});
                }},
        RowCase{"SingleKey", 20, [](auto w) { return expect::Activate(w) + expect::Key(0x77); }},
        RowCase{"ChordToTheFocus", 64,
                [](auto) {
                    return expect::Chord({0x11, 0x10, 0x52});
                }},
        RowCase{"TwoPostedKeys", 30,
                [](auto w) { return expect::PostedKey(w, 0x26, 0) + expect::PostedKey(w, 0x0D, 0); }},
        RowCase{"PostedExtended", 16, [](auto w) { return expect::PostedKey(w, 0x26, 0x01500001); }},
        RowCase{"PostedAfterBringingForward", 17,
                [](auto w) { return expect::Activate(w) + expect::PostedKey(w, 0x28, 0x01500001); }},
        RowCase{"PostedWithAnotherKeysScanCode", 0,
                [](auto w) { return expect::PostedKey(w, 0x31, 0x00020001); }},
        RowCase{"CommandWithPause", 25,
                [](auto w) { return expect::Posted(w, 0x0FB8, 2000, 0) + expect::Pause(2000); }},
        RowCase{"CommandInLParam", 23, [](auto w) { return expect::Posted(w, 5401, 5400, 0); }},
        RowCase{"CommandOnTop", 74,
                [](auto w) { return expect::ActivateTop(w) + expect::Posted(w, 0x0FB8, 20, 0); }},
        RowCase{"LookupOnly", 21, [](auto) { return Calls{}; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AdapterTest, KeyMapRow_WindowGone_StoresNull_SendsNothing_ButStillPauses) {
    const auto window = desk.AddWindow("Test TV");
    HandleKey(testAdapter, 26);
    ASSERT_EQ(AppRecord(totalMediaId).window, window);
    desk.RemoveWindow(window);
    desk.ClearLog();
    customCalls = 0;
    for (const std::uint32_t code : {26u, 30u, 17u, 23u, 25u, 74u, 75u, 64u}) HandleKey(testAdapter, code);
    EXPECT_EQ(AppRecord(totalMediaId).window, 0u);
    EXPECT_TRUE(desk.Actions().empty());
    EXPECT_EQ(desk.Log({"Sleep"}), expect::Pause(2000));
    EXPECT_EQ(customCalls, 0);  // an action after the lookup needs the window
}

TEST_F(AdapterTest, KeyMap_CustomActions_GetTheWindowFoundAndTheirRow_OrNoLookupAtAll) {
    const auto window = desk.AddWindow("Test TV");
    customCalls = 0;
    HandleKey(testAdapter, 75);
    EXPECT_EQ(customCalls, 1);
    EXPECT_EQ(customWindow, window);
    EXPECT_EQ(customCode, 75);
    EXPECT_EQ(AppRecord(totalMediaId).window, window);

    AppRecord(totalMediaId).window = 0x7777;
    desk.ClearLog();
    HandleKey(testAdapter, 14);
    EXPECT_EQ(customCalls, 2);
    EXPECT_EQ(customWindow, 0u);
    EXPECT_EQ(customCode, 14);
    EXPECT_TRUE(desk.log.empty());
    EXPECT_EQ(AppRecord(totalMediaId).window, 0x7777u);  // no lookup, nothing stored
}

TEST_F(AdapterTest, KeyMap_CodeWithoutRow_MakesNoLookup) {
    desk.AddWindow("Test TV");
    AppRecord(totalMediaId).window = 0x7777;
    for (const std::uint32_t code : {12u, 13u, 255u, 256u + 26u, 0xFFFFFFFFu}) HandleKey(testAdapter, code);
    EXPECT_TRUE(desk.log.empty());
    EXPECT_EQ(AppRecord(totalMediaId).window, 0x7777u);
}

}  // namespace
