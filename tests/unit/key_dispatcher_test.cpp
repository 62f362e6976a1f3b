// DispatchKey on the fake desktop: the repeat filter and its timing, the order
// of the consumers, the dispatcher's own keys, the Power-key launch and the
// detection of a running application.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "expected_input.h"
#include "product_fixture.h"

namespace {


const char* const reinitializeBox =
    "MessageBoxA(0x0,\"Please re-initialize the TV application settings.\",\"Remote Control\",0x10000)";

class DispatchKeyTest : public ProductTest {
  protected:
    int DialogsOpened() const { return static_cast<int>(desk.Log({"DialogBoxParamA"}).size()); }
    // The eight lookups of the detection, as the dispatcher makes them.
    Calls DetectionLookups() const {
        const std::string d = Desktop();
        return {
            "FindWindowA(null,\"PowerCinema\")",
            "FindWindowExA(" + d + ",0x0,null,\"Home Theater\")",
            "FindWindowExA(" + d + ",0x0,null,\"My IC-TV Media Center\")",
            "FindWindowExA(" + d + ",0x0,\"eHome Render Window\",null)",
            "FindWindowExA(" + d + ",0x0,null,\"Arcsoft TotalMedia\")",
            "FindWindowExA(" + d + ",0x0,\"TarvexMainPanel_Class\",null)",
            "FindWindowExA(" + d + ",0x0,\"Streamzap.WM.D3D\",null)",
            "FindWindowExA(" + d + ",0x0,null,\"InterVideo WinDVR 6\")",
        };
    }
    // The eight lookups of NoAppRunning: every one under the desktop window.
    Calls NoAppRunningLookups() const {
        Calls lookups = DetectionLookups();
        lookups[0] = "FindWindowExA(" + Desktop() + ",0x0,null,\"PowerCinema\")";
        return lookups;
    }
};

// --- The repeat filter as a pure rule ------------------------------------------

struct RepeatCase {
    const char* name;
    std::int32_t previousCode;
    std::uint32_t previousReadTime;
    std::int32_t code;
    std::uint32_t now;
    bool repeat;
};

class RepeatRule : public ::testing::TestWithParam<RepeatCase> {};

TEST_P(RepeatRule, SameCodeWithin250msOfThePreviousReadIsARepeat) {
    const RepeatCase& c = GetParam();
    EXPECT_EQ(IsRepeat(c.code, c.now, c.previousCode, c.previousReadTime), c.repeat);
}

INSTANTIATE_TEST_SUITE_P(
    Timing, RepeatRule,
    ::testing::Values(RepeatCase{"Same_0ms", 8, 5000, 8, 5000, true},
                      RepeatCase{"Same_249ms", 8, 5000, 8, 5249, true},
                      RepeatCase{"Same_250ms", 8, 5000, 8, 5250, false},
                      RepeatCase{"Different_10ms", 8, 5000, 2, 5010, false},
                      RepeatCase{"WrapPast2To32_80ms", 8, 0xFFFFFFC0u, 8, 0x00000010u, true},
                      RepeatCase{"WrapPast2To32_304ms", 8, 0xFFFFFF00u, 8, 0x00000030u, false},
                      RepeatCase{"ClockBehindPreviousRead", 8, 5000, 8, 4990, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RepeatSuppression, PassesTheFreshPressAndEveryTenthRepeatOnly) {
    std::vector<int> passing;
    for (int repeats = 0; repeats <= 31; ++repeats) {
        if (PassesWhileAppActive(repeats)) passing.push_back(repeats);
    }
    EXPECT_EQ(passing, (std::vector<int>{0, 10, 20, 30}));
}

// --- Timing through DispatchKey --------------------------------------------------

struct TwoReadsCase {
    const char* name;
    std::uint8_t firstCode;
    std::uint32_t firstTick;
    std::uint8_t secondCode;
    std::uint32_t secondTick;
    std::int32_t moveCountAfter;  // 2 when the second read continued the press
};

class TwoReads : public DispatchKeyTest, public ::testing::WithParamInterface<TwoReadsCase> {};

// A fresh press resets the pointer acceleration; a repeat carries it on.
TEST_P(TwoReads, FreshPressResetsMoveCount_RepeatKeepsIt) {
    const TwoReadsCase& c = GetParam();
    desk.cursor = {500, 400};
    ReadAt(c.firstCode, c.firstTick);
    ReadAt(c.secondCode, c.secondTick);
    EXPECT_EQ(pointer.moveCount, c.moveCountAfter);
    EXPECT_EQ(dispatcher.lastCode, c.secondCode);
    EXPECT_EQ(dispatcher.lastReadTime, c.secondTick);
    EXPECT_EQ(dispatcher.repeatCount, c.moveCountAfter == 2 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Timing, TwoReads,
    ::testing::Values(TwoReadsCase{"Apart249ms_Repeat", 8, 100000, 8, 100249, 2},
                      TwoReadsCase{"Apart250ms_Fresh", 8, 100000, 8, 100250, 1},
                      TwoReadsCase{"DifferentCodeWithin10ms_Fresh", 8, 100000, 2, 100010, 1},
                      TwoReadsCase{"TickWrapsAfter65ms_Repeat", 8, 0xFFFFFFF0u, 8, 0x00000031u, 2},
                      TwoReadsCase{"TickWrapsAfter300ms_Fresh", 8, 0xFFFFFF00u, 8, 0x0000002Cu, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DispatchKeyTest, IdleTick_MakesExactlyOneOsCall_AndChangesNothing) {
    dispatcher.lastCode = 8;
    dispatcher.lastReadTime = 999990;
    dispatcher.repeatCount = 3;
    pointer.moveCount = 4;
    Tick();
    ASSERT_EQ(desk.log.size(), 1u);
    EXPECT_EQ(desk.log[0].rfind("KsProperty(", 0), 0u) << desk.log[0];
    EXPECT_EQ(dispatcher.lastCode, 8);
    EXPECT_EQ(dispatcher.lastReadTime, 999990u);
    EXPECT_EQ(dispatcher.repeatCount, 3);
    EXPECT_EQ(pointer.moveCount, 4);
}

TEST_F(DispatchKeyTest, RepeatWindow_IsMeasuredFromThePreviousRead_NotFromTheFirst) {
    desk.cursor = {500, 300};
    // Eight reads 200 ms apart: 1.4 s after the first, still the same press.
    for (int i = 0; i < 8; ++i) ReadAt(8, 100000 + 200u * i);
    EXPECT_EQ(dispatcher.repeatCount, 7);
    EXPECT_EQ(pointer.moveCount, 8);
}

TEST_F(DispatchKeyTest, HeldKey_PassesEveryTenthRepeat_WhenAnAppIsActive) {
    desk.AddWindow("Arcsoft TotalMedia");
    AppRecord(totalMediaId).active = 1;
    std::vector<int> readsThatActed;
    for (int read = 1; read <= 31; ++read) {
        desk.ClearLog();
        ReadAt(16, 200000 + 65u * read);
        if (!desk.Log({"keybd_event"}).empty()) readsThatActed.push_back(read);
    }
    EXPECT_EQ(readsThatActed, (std::vector<int>{1, 11, 21, 31}));
}

TEST_F(DispatchKeyTest, HeldKey_ReachesPointerEmulationOnEveryRead_WhenNoAppIsActive) {
    desk.cursor = {500, 100};
    std::vector<int> steps;
    int y = 100;
    for (int read = 1; read <= 12; ++read) {
        ReadAt(8, 200000 + 65u * read);
        steps.push_back(desk.cursor.y - y);
        y = desk.cursor.y;
    }
    EXPECT_EQ(steps, (std::vector<int>{1, 1, 1, 1, 6, 6, 6, 6, 6, 12, 12, 12}));
}

// One press of Power is one action, however many ticks read it: it never
// closes and starts again, launches twice or stacks boxes.
struct HeldPowerCase {
    const char* name;
    bool activeAndOpen;        // TotalMedia active with its window up
    bool installed;            // TotalMedia, the default
    std::intptr_t shellResult;
    Calls launchesAndBoxes;    // ShellExecuteA and MessageBoxA, in order
};

class HeldPower : public DispatchKeyTest, public ::testing::WithParamInterface<HeldPowerCase> {};

TEST_P(HeldPower, ActsOnItsFreshPressOnly) {
    const HeldPowerCase& c = GetParam();
    settings.defaultApp = 5;
    if (c.installed) Install(5, "C:\\TV", "TotalMedia.exe");
    if (c.activeAndOpen) {
        desk.AddWindow("Arcsoft TotalMedia");
        AppRecord(totalMediaId).active = 1;
    }
    desk.onShellExecute = [&](const std::string&) { return c.shellResult; };
    Hold(12, 25);
    EXPECT_EQ(desk.Log({"ShellExecuteA", "MessageBoxA"}), c.launchesAndBoxes);
    EXPECT_EQ(desk.Log({"keybd_event"}).size(), c.activeAndOpen ? 4u : 0u) << "one Alt+F4";
}

const std::string launch = "ShellExecuteA(0x0,\"open\",\"C:\\TV\\TotalMedia.exe\",\"remote\",null,5)";

INSTANTIATE_TEST_SUITE_P(
    Presses, HeldPower,
    ::testing::Values(
        HeldPowerCase{"ClosesTheActiveApp_AndStartsNothing", true, false, 33, {}},
        HeldPowerCase{"LaunchesOnce", false, true, 33, {launch}},
        HeldPowerCase{"AFailedLaunchSaysSoOnce", false, true, 2,
                      {launch, "MessageBoxA(0x0,\"Can't launch TV application what you want.\",\"Remote Control\",0x0)"}},
        HeldPowerCase{"NotInstalledSaysSoOnce", false, false, 33, {reinitializeBox}}),
    [](const auto& info) { return std::string(info.param.name); });

// In pointer mode a click and the button toggle act on the fresh press; the
// moves keep repeating and accelerating.
struct HeldPointerCase {
    std::uint8_t code;
    std::size_t buttonEvents;
    std::size_t moves;
};

class HeldPointerKey : public DispatchKeyTest, public ::testing::WithParamInterface<HeldPointerCase> {};

TEST_P(HeldPointerKey, ClicksAndTogglesOnce_MovesOnEveryRead) {
    desk.cursor = {500, 300};
    Hold(GetParam().code, 3);
    EXPECT_EQ(desk.Log({"mouse_event"}).size(), GetParam().buttonEvents);
    EXPECT_EQ(desk.Log({"SetCursorPos"}).size(), GetParam().moves);
    if (GetParam().code == 5) ReadAt(5, desk.tickCount + 1000);  // let go of the button
}

INSTANTIATE_TEST_SUITE_P(Codes, HeldPointerKey,
                         ::testing::Values(HeldPointerCase{0, 2, 0}, HeldPointerCase{10, 2, 0},
                                           HeldPointerCase{5, 1, 0}, HeldPointerCase{8, 0, 3}),
                         [](const auto& info) { return "Code" + std::to_string(info.param.code); });

// Every binding is watched: whoever made the remote drive an application, it
// lets go within a second of the application's window going, and the number
// keys move the pointer again.
struct BindingCase {
    const char* name;
    void (*bind)(platform::WindowHandle owner, fake::Desktop& desk);
};

class EveryBinding : public DispatchKeyTest, public ::testing::WithParamInterface<BindingCase> {};

TEST_P(EveryBinding, GoesWithinASecondOfItsWindow) {
    Install(5, "C:\\TV", "TotalMedia.exe");
    desk.onShellExecute = [&](const std::string&) {
        desk.AddWindow("Arcsoft TotalMedia");
        desk.AddWindow("TotalMedia");
        return 33;
    };
    GetParam().bind(owner, desk);
    ASSERT_EQ(AppRecord(totalMediaId).active, 1);
    for (const auto& [handle, window] : std::map<platform::WindowHandle, fake::Window>(desk.windows)) {
        if (window.title.find("TotalMedia") != std::string::npos) desk.RemoveWindow(handle);
    }
    desk.Advance(1000);
    EXPECT_EQ(AppRecord(totalMediaId).active, 0);
    EXPECT_FALSE(desk.TimerSet(owner, 2)) << "the watch stops with the last binding";
    desk.cursor = {500, 300};
    ReadAt(2, desk.tickCount + 1000);
    EXPECT_EQ(desk.cursor.y, 299) << "the pointer moves again";
}

INSTANTIATE_TEST_SUITE_P(
    Ways, EveryBinding,
    ::testing::Values(
        BindingCase{"DetectionOfAWindowStartedElsewhere",
                    [](platform::WindowHandle owner, fake::Desktop& desk) {
                        desk.AddWindow("Arcsoft TotalMedia");
                        desk.keyQueue.push_back(16);
                        DispatchKey(owner, WM_TIMER, 1, 0);
                    }},
        BindingCase{"TheTrayMenusSwitch", [](platform::WindowHandle, fake::Desktop&) { SwitchTo(5); }},
        BindingCase{"APowerLaunchWhoseWindowCameLate",
                    [](platform::WindowHandle owner, fake::Desktop& desk) {
                        settings.defaultApp = 5;
                        const auto started = desk.onShellExecute;
                        desk.onShellExecute = [](const std::string&) { return 33; };
                        DispatchCode(owner, 12, desk.tickCount);
                        desk.Advance(1000);  // the watch lets go: no window yet
                        desk.onShellExecute = started;
                        started("");  // now it comes, and a key finds it
                        DispatchCode(owner, 16, desk.tickCount + 1000);
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Precedence of the consumers -------------------------------------------------

TEST_F(DispatchKeyTest, ShutDownDialog_TakesEveryCode_PowerAsEnterOthersAsEscape) {
    const auto dialog = desk.AddWindow("Shut Down");
    shutDownState.shutDownDialog = dialog;
    shutDownState.shutDownDialogOpen = 1;
    AppRecord(totalMediaId).active = 1;
    desk.AddWindow("Arcsoft TotalMedia");
    const std::string w = W(dialog);
    const Calls enter = {"SetForegroundWindow(" + w + ")", "SetActiveWindow(" + w + ")",
                         "SendMessageA(" + w + ",0x100,0xD,0x0)"};
    const Calls escape = {"SetForegroundWindow(" + w + ")", "SetActiveWindow(" + w + ")",
                          "SendMessageA(" + w + ",0x100,0x1B,0x0)"};
    struct Read {
        std::uint8_t code;
        std::uint32_t tick;
        Calls expected;
    };
    const Read reads[] = {
        {12, 400000, enter},   // Power, although an application is active
        {12, 400065, {}},      // a repeat of it: only a fresh press answers
        {24, 401000, escape},  // the shut-down key again
        {16, 402000, escape}, {255, 403000, escape}, {13, 404000, escape},
    };
    for (const Read& read : reads) {
        desk.ClearLog();
        ReadAt(read.code, read.tick);
        EXPECT_EQ(desk.Actions(), read.expected) << "code " << int(read.code);
        EXPECT_TRUE(Lookups().empty()) << "code " << int(read.code);
    }
    EXPECT_EQ(AppRecord(totalMediaId).active, 1);
}

TEST_F(DispatchKeyTest, ActiveApp_TakesCodesBeforeTheDispatchersOwnKeys) {
    AppRecord(beyondTvId).active = 1;
    settings.defaultApp = 1;
    for (const std::uint8_t code : {13, 16, 24, 29, 255}) {
        desk.ClearLog();
        ReadAt(code, 500000 + 1000u * code);
        // No detection and no NoAppRunning: at most Beyond TV's own lookup, for
        // the two codes its key map has.
        const Calls ownLookup = {"FindWindowExA(" + Desktop() + ",0x0,\"Streamzap.WM.D3D\",null)"};
        EXPECT_EQ(Lookups(), code == 16 || code == 29 ? ownLookup : Calls{}) << "code " << int(code);
        EXPECT_EQ(DialogsOpened(), 0) << "code " << int(code);
    }
}

TEST_F(DispatchKeyTest, ActiveApp_LowestAppIdIsServed_WhenSeveralAreActive) {
    AppRecord(beyondTvId).active = 1;
    AppRecord(myIcTvId).active = 1;
    const auto myIcTv = desk.AddWindow("My IC-TV Media Center");
    desk.AddWindow("", "Streamzap.WM.D3D");
    ReadAt(12, 600000);
    EXPECT_EQ(desk.Actions(), (Calls{"PostMessageA(" + W(myIcTv) + ",0x1519,0x1518,0x1)"}));
    EXPECT_EQ(AppRecord(myIcTvId).active, 0);
    EXPECT_EQ(AppRecord(beyondTvId).active, 1);
}

// --- The dispatcher's own keys ------------------------------------------------------

struct ShutDownKeyCase {
    const char* name;
    std::int32_t defaultApp;
    std::uint8_t code;
    const char* runningClass;  // a supported application's window, or null
    int dialogs;
    int lookups;  // NoAppRunning runs only when defaultApp calls for it
};

class ShutDownKey : public DispatchKeyTest, public ::testing::WithParamInterface<ShutDownKeyCase> {};

TEST_P(ShutDownKey, OpensTheDialog_OnlyForItsDefaultApps_WhenNothingRuns) {
    const ShutDownKeyCase& c = GetParam();
    settings.defaultApp = c.defaultApp;
    if (c.runningClass != nullptr) desk.AddWindow("", c.runningClass);
    ReadAt(c.code, 700000);
    EXPECT_EQ(DialogsOpened(), c.dialogs);
    EXPECT_EQ(static_cast<int>(Lookups().size()), c.lookups);
    if (c.lookups == 8) {
        EXPECT_EQ(Lookups(), NoAppRunningLookups());
    }
    for (int k = 1; k <= appCount; ++k) EXPECT_EQ(AppRecord(k).active, 0) << "no detection: AppId " << k;
}

INSTANTIATE_TEST_SUITE_P(
    Codes24And29, ShutDownKey,
    ::testing::Values(
        ShutDownKeyCase{"Default1_Code24_Opens", 1, 24, nullptr, 1, 8},
        ShutDownKeyCase{"Default1_Code29_Nothing", 1, 29, nullptr, 0, 0},
        ShutDownKeyCase{"Default4_Code24_Opens", 4, 24, nullptr, 1, 8},
        ShutDownKeyCase{"Default8_Code24_Opens", 8, 24, nullptr, 1, 8},
        ShutDownKeyCase{"Default6_Code24_Nothing", 6, 24, nullptr, 0, 0},
        ShutDownKeyCase{"Default6_Code29_Opens", 6, 29, nullptr, 1, 8},
        ShutDownKeyCase{"Default7_BeyondTvRunning_Code24_Nothing", 7, 24, "Streamzap.WM.D3D", 0, 8},
        ShutDownKeyCase{"Default6_QuartzviewRunning_Code29_Nothing", 6, 29, "TarvexMainPanel_Class", 0, 8},
        ShutDownKeyCase{"Default0_Code24_Nothing", 0, 24, nullptr, 0, 0},
        ShutDownKeyCase{"Default9_Code24_Nothing", 9, 24, nullptr, 0, 0},
        ShutDownKeyCase{"DefaultMin_Code24_Nothing", INT32_MIN, 24, nullptr, 0, 0},
        ShutDownKeyCase{"DefaultMax_Code29_Nothing", 0x7FFFFFFF, 29, nullptr, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A held key is read on every 65 ms tick: the press that opened the dialog
// must not cancel it, and a held Power must confirm once.
struct HeldInDialogCase {
    const char* name;
    std::uint8_t code;           // read inside the dialog on consecutive ticks
    std::uint32_t firstReadAfter;  // ms after the read of 24 that opened it
    int reads;
    std::vector<int> keysSent;   // the VK_* the dialog receives, in order
};

class ShutDownDialogHeldKey : public DispatchKeyTest, public ::testing::WithParamInterface<HeldInDialogCase> {};

TEST_P(ShutDownDialogHeldKey, AnswersTheFreshPressOnly) {
    const HeldInDialogCase& c = GetParam();
    settings.defaultApp = 5;
    platform::WindowHandle dialog = 0;
    desk.onDialog = [&](platform::WindowHandle opened) {
        if (dialog != 0) return;  // a dialog opened again from in here
        dialog = opened;
        desk.tickCount += c.firstReadAfter;
        Hold(c.code, c.reads);
    };
    ReadAt(24, 300000);
    ASSERT_NE(dialog, 0u);
    std::vector<int> sent;
    for (const std::string& entry : desk.Log({"SendMessageA"})) {
        const std::string prefix = "SendMessageA(" + W(dialog) + ",0x100,";
        if (entry.rfind(prefix, 0) == 0) sent.push_back(std::stoi(entry.substr(prefix.size()), nullptr, 16));
    }
    EXPECT_EQ(sent, c.keysSent);
}

INSTANTIATE_TEST_SUITE_P(
    HeldKeys, ShutDownDialogHeldKey,
    ::testing::Values(HeldInDialogCase{"ShutDownKeyHeld_KeepsItOpen", 24, 65, 6, {}},
                      HeldInDialogCase{"ShutDownKeyPressedAgain_Cancels", 24, 250, 1, {0x1B}},
                      HeldInDialogCase{"OtherKeyHeld_CancelsOnce", 16, 65, 4, {0x1B}},
                      HeldInDialogCase{"PowerHeld_ConfirmsOnce", 12, 400, 4, {0x0D}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DispatchKeyTest, ShutDownDialog_IsOwnedByTheTicksWindow) {
    settings.defaultApp = 1;
    ReadAt(24, 710000);
    const Calls dialogs = desk.Log({"DialogBoxParamA"});
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_NE(dialogs[0].find("," + W(owner) + ","), std::string::npos) << dialogs[0];
    EXPECT_EQ(shutDownState.shutDownDialogOpen, 0);
}

TEST_F(DispatchKeyTest, Code13_DoesNothing_WhenNoAppIsActive) {
    desk.AddWindow("PowerCinema");
    ReadAt(13, 720000);
    EXPECT_TRUE(Lookups().empty());
    EXPECT_TRUE(desk.Actions().empty());
    EXPECT_EQ(AppRecord(powerCinemaId).active, 0);
}

// --- Power-key launch ------------------------------------------------------------------

struct PowerLaunchBoxCase {
    const char* name;
    std::int32_t defaultApp;
    bool recordInstalled;
    bool mediaCenterDetected;
    bool message;
};

class PowerLaunchMessage : public DispatchKeyTest, public ::testing::WithParamInterface<PowerLaunchBoxCase> {
  protected:
    void DetectableMediaCenter() {
        desk.version.dwPlatformId = VER_PLATFORM_WIN32_NT;
        desk.version.dwMajorVersion = 5;
        desk.version.dwMinorVersion = 1;
        desk.SetDword("HKLM\\System\\WPA\\MediaCenter", "Installed", 1);
        desk.existingFiles.insert("C:\\windows\\ehome\\ehshell.exe");
    }
};

TEST_P(PowerLaunchMessage, AsksToReinitialize_WhenTheDefaultAppIsNotInstalled_AndLaunchesAnyway) {
    const PowerLaunchBoxCase& c = GetParam();
    settings.defaultApp = c.defaultApp;
    if (c.recordInstalled) Install(c.defaultApp, "C:\\TV", "app.exe");
    if (c.mediaCenterDetected) DetectableMediaCenter();
    ReadAt(12, 800000);
    const Calls boxes = desk.Log({"MessageBoxA"});
    EXPECT_EQ(boxes, c.message ? Calls{reinitializeBox} : Calls{});
    // The launch sequence follows either way: the Power of the default
    // application arms the watch.
    EXPECT_EQ(desk.Log({"SetTimer"}), (Calls{"SetTimer(" + W(owner) + ",0x2,1000)"}));
}

INSTANTIATE_TEST_SUITE_P(InstalledCheck, PowerLaunchMessage,
                         ::testing::Values(PowerLaunchBoxCase{"TotalMediaMissing", 5, false, false, true},
                                           PowerLaunchBoxCase{"TotalMediaInstalled", 5, true, false, false},
                                           PowerLaunchBoxCase{"QuartzviewMissing", 6, false, false, true},
                                           PowerLaunchBoxCase{"MediaCenterDetected", 4, false, true, false},
                                           PowerLaunchBoxCase{"MediaCenterFromRegistry", 4, true, false,
                                                              false},
                                           PowerLaunchBoxCase{"MediaCenterNeither", 4, false, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The launch's message boxes are modal and ticks keep arriving in them: a
// held (or pressed again) Power key must not stack box upon box.
struct PowerBoxCase {
    const char* name;
    bool installed;
    std::intptr_t shellResult;
    const char* box;
};

class PowerLaunchBoxHeld : public DispatchKeyTest, public ::testing::WithParamInterface<PowerBoxCase> {};

TEST_P(PowerLaunchBoxHeld, ShowsOneBox_AndLaunchesOnce) {
    const PowerBoxCase& c = GetParam();
    settings.defaultApp = 5;
    if (c.installed) Install(5, "C:\\TV", "TotalMedia.exe");
    desk.onShellExecute = [&](const std::string&) { return c.shellResult; };
    int boxes = 0;
    desk.onMessageBox = [&](const std::string&, const std::string&) {
        if (++boxes == 1) {  // a box opened from in here must not recurse for ever
            Hold(12, 5);                        // the key still held
            ReadAt(12, desk.tickCount + 1000);  // and pressed again
        }
        return IDOK;
    };
    ReadAt(12, 500000);
    EXPECT_EQ(desk.Log({"MessageBoxA"}).size(), 1u);
    EXPECT_EQ(desk.Log({"ShellExecuteA"}).size(), c.installed ? 1u : 0u);
    EXPECT_NE(desk.Log({"MessageBoxA"}).at(0).find(c.box), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, PowerLaunchBoxHeld,
    ::testing::Values(PowerBoxCase{"NotInstalled", false, 33, "Please re-initialize the TV application settings."},
                      PowerBoxCase{"LaunchFails", true, 2, "Can't launch TV application what you want."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DispatchKeyTest, PowerKey_DoesNothing_WhenDefaultAppNamesNoApplication) {
    desk.AddWindow("PowerCinema");
    for (const std::int32_t value : {0, 9, -1, INT32_MIN, 0x7FFFFFFF}) {
        settings.defaultApp = value;
        desk.ClearLog();
        ReadAt(12, desk.tickCount + 1000);
        // Only the receiver requests and the clock: no lookup, no message, no launch.
        for (const std::string& entry : desk.log) {
            const bool receiverOrClock = entry.rfind("KsProperty(", 0) == 0 ||
                                         entry.rfind("DriverAddress(", 0) == 0 ||
                                         entry.rfind("GetTickCount(", 0) == 0;
            EXPECT_TRUE(receiverOrClock) << "defaultApp " << value << ": " << entry;
        }
    }
}

struct CloseOrderCase {
    std::int32_t k;
    std::vector<int> closed;  // the order of the launch, then k itself through its Power
};

class PowerLaunchCloseOrder : public DispatchKeyTest, public ::testing::WithParamInterface<CloseOrderCase> {};

TEST_P(PowerLaunchCloseOrder, ClosesTheOthersInItsOrder_ThenCallsPowerOfTheDefault) {
    const CloseOrderCase& c = GetParam();
    platform::WindowHandle windows[9] = {};
    windows[1] = desk.AddWindow("PowerCinema");
    windows[2] = desk.AddWindow("Home Theater");
    windows[3] = desk.AddWindow("My IC-TV Media Center");
    windows[4] = desk.AddWindow("Media Center", "eHome Render Window");
    windows[5] = desk.AddWindow("Arcsoft TotalMedia");
    windows[6] = desk.AddWindow("TVR", "TarvexMainPanel_Class");
    windows[7] = desk.AddWindow("Beyond TV", "Streamzap.WM.D3D");
    windows[8] = desk.AddWindow("WinDVR 6");
    desk.AddWindow("InterVideo WinDVR 6");
    Install(c.k, "C:\\TV", "app.exe");
    settings.defaultApp = c.k;
    desk.ClearLog();

    ReadAt(12, 900000);

    Calls expected;
    for (const int app : c.closed) {
        Calls part;
        switch (app) {
            case 1:
            case 5:
            case 7:
                part = AltF4After(windows[app]);
                break;
            case 2:
            case 8:
                part = ExitChord();
                break;
            case 3:
                part = {"PostMessageA(" + W(windows[3]) + ",0x1519,0x1518,0x1)"};
                break;
            case 4:
                part = {"SetForegroundWindow(" + W(windows[4]) + ")",
                        "SetActiveWindow(" + W(windows[4]) + ")",
                        "PostMessageA(" + W(windows[4]) + ",0x10,0x0,0x0)"};
                break;
            case 6:
                part = {"PostMessageA(" + W(windows[6]) + ",0xFB8,0x1,0x0)"};
                break;
        }
        expected.insert(expected.end(), part.begin(), part.end());
    }
    EXPECT_EQ(desk.Actions(), expected);
    for (int k = 1; k <= appCount; ++k) EXPECT_EQ(launchWatch.watchFlags[k - 1], 0);
}

INSTANTIATE_TEST_SUITE_P(CloseOrders, PowerLaunchCloseOrder,
                         ::testing::Values(CloseOrderCase{1, {2, 3, 4, 5, 6, 7, 8, 1}},
                                           CloseOrderCase{2, {1, 3, 4, 5, 6, 7, 8, 2}},
                                           CloseOrderCase{3, {1, 2, 4, 5, 6, 7, 8, 3}},
                                           CloseOrderCase{4, {1, 2, 3, 5, 6, 7, 8, 4}},
                                           CloseOrderCase{5, {1, 2, 3, 4, 6, 7, 8, 5}},
                                           CloseOrderCase{6, {1, 2, 3, 5, 4, 7, 8, 6}},
                                           CloseOrderCase{7, {1, 2, 3, 5, 4, 6, 8, 7}},
                                           CloseOrderCase{8, {1, 2, 3, 5, 4, 6, 7, 8}}),
                         [](const auto& info) { return "Default" + std::to_string(info.param.k); });

TEST_F(DispatchKeyTest, PowerKeyLaunch_StartsTheDefaultApp_AndWatchesIt) {
    Install(6, "C:\\TV", "MainPanel.exe");
    settings.defaultApp = 6;
    ReadAt(12, 910000);
    EXPECT_EQ(desk.Log({"ShellExecuteA"}),
              (Calls{"ShellExecuteA(0x0,\"open\",\"C:\\TV\\MainPanel.exe\",\"remote\",null,5)"}));
    EXPECT_EQ(AppRecord(quartzviewId).active, 1);
    EXPECT_EQ(launchWatch.watchFlags[5], 1);
    EXPECT_TRUE(desk.TimerSet(owner, 2));
}

// --- Detection of a running application ----------------------------------------------

TEST_F(DispatchKeyTest, Detection_MakesTheEightLookupsInAppIdOrder_ThenEmulatesThePointer) {
    desk.cursor = {300, 300};
    ReadAt(16, 1000000 + 5000);
    EXPECT_EQ(Lookups(), DetectionLookups());
    EXPECT_EQ(desk.Log({"GetDesktopWindow"}).size(), 7u);
    EXPECT_TRUE(desk.Actions().empty());  // code 16 is no pointer key

    desk.ClearLog();
    ReadAt(8, 1000000 + 6000);
    EXPECT_EQ(Lookups(), DetectionLookups());
    EXPECT_EQ(desk.Log({"SetCursorPos"}), (Calls{"SetCursorPos(300,301)"}));
}

TEST_F(DispatchKeyTest, Detection_MakesAllEightLookups_AndTakesTheLowestAppId) {
    desk.AddWindow("", "Streamzap.WM.D3D");
    desk.AddWindow("My IC-TV Media Center");
    ReadAt(16, 1010000);
    // Then My IC-TV's key map looks its window up again.
    EXPECT_EQ(Lookups(), DetectionLookups() + Calls{"FindWindowA(null,\"My IC-TV Media Center\")"});
    EXPECT_EQ(AppRecord(myIcTvId).active, 1);
    EXPECT_EQ(AppRecord(beyondTvId).active, 0);
    EXPECT_TRUE(desk.Log({"SetCursorPos", "mouse_event"}).empty());
}

struct DetectedCase {
    const char* title;
    const char* className;
    int appId;
};

class DetectionFinds : public DispatchKeyTest, public ::testing::WithParamInterface<DetectedCase> {};

TEST_P(DetectionFinds, MarksTheRunningAppActive_AndLaterCodesGoToIt) {
    const DetectedCase& c = GetParam();
    desk.AddWindow(c.title, c.className);
    desk.cursor = {300, 300};
    ReadAt(8, 1020000);
    for (int k = 1; k <= appCount; ++k) EXPECT_EQ(AppRecord(k).active, k == c.appId ? 1 : 0) << "AppId " << k;
    EXPECT_TRUE(desk.Log({"SetCursorPos"}).empty());

    desk.ClearLog();
    ReadAt(16, 1021000);
    // Routed to the active application: its own lookup at most, no detection.
    EXPECT_LE(Lookups().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindows, DetectionFinds,
    ::testing::Values(DetectedCase{"PowerCinema", "", 1}, DetectedCase{"HOME THEATER", "", 2},
                      DetectedCase{"My IC-TV Media Center", "", 3},
                      DetectedCase{"", "eHome Render Window", 4}, DetectedCase{"arcsoft totalmedia", "", 5},
                      DetectedCase{"", "TarvexMainPanel_Class", 6}, DetectedCase{"", "Streamzap.WM.D3D", 7},
                      DetectedCase{"InterVideo WinDVR 6", "", 8}),
    [](const auto& info) { return "AppId" + std::to_string(info.param.appId); });

TEST_F(DispatchKeyTest, Detection_DoesNotTakeTheRecordsOwnTitles) {
    desk.AddWindow("TotalMedia");
    desk.AddWindow("WinDVR 6");
    desk.AddWindow("TVR");
    desk.AddWindow("PowerCinema - Movie");  // whole titles only
    desk.cursor = {300, 300};
    ReadAt(8, 1030000);
    for (int k = 1; k <= appCount; ++k) EXPECT_EQ(AppRecord(k).active, 0) << "AppId " << k;
    EXPECT_EQ(desk.Log({"SetCursorPos"}), (Calls{"SetCursorPos(300,301)"}));
}

TEST_F(DispatchKeyTest, Detection_ResetsFastPointer_WhenItTakesUpWinDvr6) {
    desk.AddWindow("InterVideo WinDVR 6");
    winDvr6.fastPointer = 1;
    ReadAt(17, 1040000);
    EXPECT_EQ(AppRecord(winDvr6Id).active, 1);
    EXPECT_EQ(winDvr6.fastPointer, 0);
}

TEST_F(DispatchKeyTest, BeyondTvDetected_ThenPowerKeyCallsItsPower) {
    const auto beyondTv = desk.AddWindow("", "Streamzap.WM.D3D");
    settings.defaultApp = 1;
    ReadAt(16, 1050000);
    ASSERT_EQ(AppRecord(beyondTvId).active, 1);
    desk.ClearLog();
    ReadAt(12, 1051000);
    EXPECT_EQ(desk.Actions(), AltF4After(beyondTv));
    EXPECT_EQ(AppRecord(beyondTvId).active, 0);
}

// The active flag outlives the window: the next action looks again and never
// uses the handle that the detection saw.
TEST_F(DispatchKeyTest, ActiveAppsWindowGone_PowerLaunchesAgainInsteadOfUsingTheOldHandle) {
    const auto beyondTv = desk.AddWindow("", "Streamzap.WM.D3D");
    Install(7, "C:\\BTV", "BTVD3DShell.exe");
    ReadAt(16, 1060000);
    ASSERT_EQ(AppRecord(beyondTvId).active, 1);
    desk.RemoveWindow(beyondTv);
    desk.ClearLog();

    ReadAt(12, 1061000);
    EXPECT_EQ(desk.Actions(),
              (Calls{"ShellExecuteA(0x0,\"open\",\"C:\\BTV\\BTVD3DShell.exe\",\"remote\",null,5)"}));
}

// --- Bad input --------------------------------------------------------------------------

TEST_F(DispatchKeyTest, UnlistedCodes_ActNowhere_WithOrWithoutAnActiveApp) {
    desk.cursor = {300, 300};
    for (const std::uint8_t code : {80, 127, 200, 254}) {
        desk.ClearLog();
        ReadAt(code, desk.tickCount + 1000);
        EXPECT_EQ(Lookups(), DetectionLookups()) << "code " << int(code);
        EXPECT_TRUE(desk.Actions().empty()) << "code " << int(code);
    }
    AppRecord(totalMediaId).active = 1;
    desk.AddWindow("Arcsoft TotalMedia");
    for (const std::uint8_t code : {80, 255}) {
        desk.ClearLog();
        ReadAt(code, desk.tickCount + 1000);
        EXPECT_TRUE(desk.Actions().empty()) << "code " << int(code);
        EXPECT_TRUE(Lookups().empty()) << "code " << int(code);
    }
    EXPECT_EQ(AppRecord(totalMediaId).active, 1);
}

// A read that delivered no code, with nothing active, looks for nothing and
// binds nothing: the next key still finds the pointer or the running one.
TEST_F(DispatchKeyTest, FailedRead_DoesNothing_NotEvenTheDetection) {
    desk.AddWindow("Arcsoft TotalMedia");
    ReadAt(255, 1200000);
    EXPECT_TRUE(Lookups().empty());
    EXPECT_TRUE(desk.Actions().empty());
    EXPECT_EQ(AppRecord(totalMediaId).active, 0);
}

TEST_F(DispatchKeyTest, FailedRead_IsCode255_AndFollowsTheRepeatRule) {
    desk.transferResult = E_FAIL;
    desk.keyQueue.push_back(8);
    desk.tickCount = 1100000;
    Tick();
    EXPECT_EQ(dispatcher.lastCode, 255);
    EXPECT_EQ(dispatcher.lastReadTime, 1100000u);
    EXPECT_TRUE(desk.Log({"SetCursorPos", "mouse_event"}).empty());
}

// A driver that says a code waits and then answers the read with success but
// writes nothing, on every tick: no click, no move, nothing at all.
TEST_F(DispatchKeyTest, ReadsThatDeliverNoCode_ActNowhere) {
    desk.driver = [](const fake::Desktop::DriverCall& call) {
        if (!call.transfer) call.data[0] = 0;  // a code waits
        return S_OK;
    };
    for (int i = 0; i < 20; ++i) {
        Tick();
        Advance(65);
    }
    EXPECT_EQ(dispatcher.lastCode, 255);
    EXPECT_TRUE(desk.Actions().empty());
}

}  // namespace
