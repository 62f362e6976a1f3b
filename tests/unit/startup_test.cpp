// Start-up and the main window: closing earlier copies, the hidden window and
// its tray icon, the timers, the missing-receiver report, suspend and resume,
// and the commands that end the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/fake_text.h"
#include "shell_fixture.h"

namespace {

class StartupTest : public ShellTest {
protected:
    std::vector<std::string> Closes() const {
        std::vector<std::string> closes;
        for (const std::string& entry : desk.Log({"PostMessageA"}))
            if (entry.find(",0x10,") != std::string::npos) closes.push_back(entry);
        return closes;
    }
    std::vector<std::string> Timers() const { return desk.Log({"SetTimer", "KillTimer"}); }
    std::string Main() const { return W(program.mainWindow); }
    std::string TrayRecord() const {
        return "{88," + Main() + ",0xA,0x7,0x3E9," + fake::Hex(tray.trayIcon.hIcon) + ",\"Remote Control\"}";
    }
};

// The windows a starting copy finds before its own: which of them it asks to
// close. Listed bottom first; the last is on top of the window order.
struct EarlierWindow {
    std::string title;
    std::string className;
    bool closed;
};

struct EarlierCase {
    const char* name;
    std::vector<EarlierWindow> windows;
};

class EarlierCopies : public StartupTest, public ::testing::WithParamInterface<EarlierCase> {};

TEST_P(EarlierCopies, AreAskedToClose_OtherProgramsWindowsNamedAfterTheProductAreNot) {
    std::vector<std::string> expected;
    std::vector<std::pair<platform::WindowHandle, bool>> added;
    for (const EarlierWindow& w : GetParam().windows) added.emplace_back(AddWindow(w.title, w.className), w.closed);
    // Birch, then Alder's class (every copy, top first), then "Remote Control".
    for (const char* prefix : {"Birch", "Alder", "Remote"}) {
        for (auto it = added.rbegin(); it != added.rend(); ++it) {
            const fake::Window* window = desk.Find(it->first);
            if (it->second && window->title.rfind(prefix, 0) == 0)
                expected.push_back("PostMessageA(" + W(it->first) + ",0x10,0x0,0x0)");
        }
    }
    Start();
    EXPECT_EQ(Closes(), expected);
    ASSERT_NE(program.mainWindow, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, EarlierCopies,
    ::testing::Values(
        EarlierCase{"EveryCopyOfThisProgram", {{"Alder Remote Control", "Alder Remote Control", true},
                                               {"Alder Remote Control", "Alder Remote Control", true}}},
        EarlierCase{"TheGuideInABrowser_AndAFolderWindow",
                    {{"Alder Remote Control: user guide - Browser", "BrowserWindow", false},
                     {"Alder Remote Control", "CabinetWClass", false},
                     {"Alder Remote Control", "Alder Remote Control", true}}},
        EarlierCase{"OldNames_TheTopWindowOfEachPrefix",
                    {{"Remote Control - Setting", "#32770", false},
                     {"Remote Control - Setting", "#32770", true},
                     {"remote control", "", false},
                     {"Birch Remote Control 2.0", "", true}}},
        EarlierCase{"ATitleLongerThanTheBuffer", {{"Birch Remote Control" + std::string(300, '!'), "", true}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupTest, OwnWindow_IsNeverAskedToClose) {
    Start();

    EXPECT_TRUE(Closes().empty());
    const fake::Window* window = desk.Find(program.mainWindow);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->title, "Alder Remote Control");
    EXPECT_EQ(window->className, "Alder Remote Control");
    EXPECT_FALSE(window->visible);
}

TEST_F(StartupTest, WithReceiver_OnlyThePollTimerRuns) {
    Start();

    EXPECT_EQ(Timers(), std::vector<std::string>{"SetTimer(" + Main() + ",0x1,65)"});
    EXPECT_TRUE(desk.TimerSet(program.mainWindow, 1));
    EXPECT_FALSE(desk.TimerSet(program.mainWindow, 2));
    EXPECT_EQ(watchTimer.periodMs, 1000u);
    EXPECT_EQ(desk.Log({"Shell_NotifyIconA"}), std::vector<std::string>{"Shell_NotifyIconA(0x0," + TrayRecord() + ")"});
    EXPECT_EQ(desk.trayIcons.count({program.mainWindow, 10u}), 1u);
}

TEST_F(StartupTest, WithReceiver_PollTicksReachTheDriver) {
    Start();
    desk.ClearLog();

    Advance(65 * 3);

    EXPECT_EQ(desk.ksRequests.size(), 3u);
}

TEST_F(StartupTest, WithoutReceiver_NoTimerRunsAndATrayClickReportsItAndEnds) {
    desk.receiverPresent = false;
    Start();
    EXPECT_TRUE(Timers().empty());
    desk.ClearLog();
    std::vector<std::string> shownWhileTheBoxIsUp;
    desk.onMessageBox = [&](const std::string&, const std::string&) {
        shownWhileTheBoxIsUp = desk.Log({"Shell_NotifyIconA"});
        return IDOK;
    };

    Send(1001, 0, WM_RBUTTONDOWN);

    EXPECT_EQ(desk.Log({"MessageBoxA", "PostMessageA", "keybd_event", "mouse_event", "ShellExecuteA"}),
              std::vector<std::string>{"MessageBoxA(0x0,\"Can't find the BDA video capture filter.\n\nPlease check "
                                       "your hardware or drivers. \",\"Remote Control\",0x10000)"});
    EXPECT_TRUE(shownWhileTheBoxIsUp.empty()) << "the icon goes only once the box is closed";
    EXPECT_EQ(desk.trayIcons.size(), 0u);
    EXPECT_TRUE(QuitPosted());
    EXPECT_FALSE(desk.coUninitialized);
    EXPECT_TRUE(desk.ksRequests.empty());
}

TEST_F(StartupTest, WithReceiver_ATrayClickReportsNothing) {
    Start();
    desk.ClearLog();

    Send(1001, 0, WM_LBUTTONDOWN);

    EXPECT_TRUE(desk.Log({"MessageBoxA"}).empty());
    EXPECT_FALSE(QuitPosted());
}

TEST_F(StartupTest, TrayMouseMove_ResendsTheSameIconAndTip) {
    Start();
    desk.ClearLog();

    Send(1001, 0, WM_MOUSEMOVE);
    Send(1001, 0, WM_LBUTTONUP);

    EXPECT_EQ(desk.Log({"Shell_NotifyIconA"}), std::vector<std::string>{"Shell_NotifyIconA(0x1," + TrayRecord() + ")"});
}

TEST_F(StartupTest, AlwaysRemoteOff_EndsBeforeTheWindowIsHiddenOrATimerStarts) {
    desk.SetDword(settingsPath, "DefaultTVAPP", 6);
    desk.SetDword(settingsPath, "AlwaysRemoteOff", 1);

    EXPECT_EQ(Start(), 0);

    EXPECT_TRUE(Timers().empty());
    EXPECT_TRUE(desk.Log({"ShowWindow", "GetMessageA", "LoadAcceleratorsA"}).empty());
    EXPECT_EQ(desk.trayIcons.size(), 0u) << "no icon is left behind in the tray";
}

TEST_F(StartupTest, AlwaysRemoteOffTwo_RunsNormally) {
    desk.SetDword(settingsPath, "AlwaysRemoteOff", 2);

    Start();

    EXPECT_TRUE(desk.TimerSet(program.mainWindow, 1));
    EXPECT_FALSE(desk.Log({"GetMessageA"}).empty());
}

TEST_F(StartupTest, SuspendQuery_StopsBothTimersUntilTheNextResume) {
    Start();
    ArmWatchTimer();
    desk.ClearLog();

    EXPECT_EQ(Send(WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0), 0);
    EXPECT_EQ(Timers(), (std::vector<std::string>{"KillTimer(" + Main() + ",0x1)", "KillTimer(" + Main() + ",0x2)"}));
    // A refused suspend sends no resume: the timers stay off.
    Advance(2000);
    EXPECT_TRUE(desk.ksRequests.empty());

    desk.ClearLog();
    Send(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_TRUE(Timers().empty()) << "disarming a disarmed slot does nothing";

    Send(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_EQ(Timers(), (std::vector<std::string>{"SetTimer(" + Main() + ",0x1,65)",
                                                  "SetTimer(" + Main() + ",0x2,1000)"}));
}

// Several users signed in: only the copy of the user at the screen polls.
// Each event is a message to the main window; after it, is the poll timer set?
struct SessionStep {
    std::uint32_t message;
    platform::WParam wParam;
    bool polling;
};

struct SessionCase {
    const char* name;
    bool startedAtConsole;
    std::vector<SessionStep> steps;
};

class SessionChanges : public StartupTest, public ::testing::WithParamInterface<SessionCase> {};

TEST_P(SessionChanges, OnlyTheCopyAtTheScreenPolls) {
    desk.atConsole = GetParam().startedAtConsole;
    Start();
    EXPECT_EQ(desk.TimerSet(program.mainWindow, 1), GetParam().startedAtConsole) << "at start";
    for (const SessionStep& step : GetParam().steps) {
        Send(step.message, step.wParam, 0);
        EXPECT_EQ(desk.TimerSet(program.mainWindow, 1), step.polling)
            << "after message 0x" << std::hex << step.message << " with " << step.wParam;
    }
}

constexpr std::uint32_t session = WM_WTSSESSION_CHANGE, power = WM_POWERBROADCAST;
constexpr platform::WParam lock = 7;

INSTANTIATE_TEST_SUITE_P(
    Users, SessionChanges,
    ::testing::Values(
        SessionCase{"SwitchedAway_ThenBack", true, {{session, WTS_CONSOLE_DISCONNECT, false}, {session, WTS_CONSOLE_CONNECT, true}}},
        SessionCase{"ResumeWhileSwitchedAway_StaysQuiet",
                    true,
                    {{session, WTS_CONSOLE_DISCONNECT, false}, {power, PBT_APMSUSPEND, false},
                     {power, PBT_APMRESUMESUSPEND, false}, {session, WTS_CONSOLE_CONNECT, true}}},
        SessionCase{"BackWhileSuspended_WaitsForTheResume",
                    true,
                    {{power, PBT_APMSUSPEND, false}, {session, WTS_CONSOLE_DISCONNECT, false},
                     {session, WTS_CONSOLE_CONNECT, false}, {power, PBT_APMRESUMEAUTOMATIC, true}}},
        SessionCase{"StartedInAnotherUsersSession_WaitsToBeSwitchedTo", false, {{session, WTS_CONSOLE_CONNECT, true}}},
        SessionCase{"ALockedScreen_KeepsPolling", true, {{session, lock, true}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupTest, OtherPowerEvents_ChangeNothing) {
    Start();
    desk.ClearLog();

    for (platform::WParam event : {1u, 3u, 5u, 6u, 8u, 9u, 10u, 0x8013u})
        EXPECT_EQ(Send(WM_POWERBROADCAST, event, 0), 0);

    EXPECT_TRUE(Timers().empty());
}

// After a suspend query, each of these events brings polling back: a resume, a
// suspend that some program refused, and a wake without a user, which brings
// no PBT_APMRESUMESUSPEND.
class PowerEventTest : public StartupTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(PowerEventTest, AfterASuspendQuery_ArmsBothTimersOnceAndPollingResumes) {
    Start();
    Send(WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0);
    Advance(1000);
    desk.ksRequests.clear();
    desk.ClearLog();

    EXPECT_EQ(Send(WM_POWERBROADCAST, GetParam(), 0), 0);
    Send(WM_POWERBROADCAST, GetParam(), 0);

    EXPECT_EQ(Timers(), (std::vector<std::string>{"SetTimer(" + Main() + ",0x1,65)",
                                                  "SetTimer(" + Main() + ",0x2,1000)"}))
        << "arming an armed slot does nothing";
    Advance(65);
    EXPECT_EQ(desk.ksRequests.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Events, PowerEventTest,
                         ::testing::Values(PBT_APMRESUMESUSPEND, PBT_APMQUERYSUSPENDFAILED, PBT_APMRESUMEAUTOMATIC),
                         [](const ::testing::TestParamInfo<std::uint32_t>& info) {
                             return std::string(info.param == PBT_APMRESUMESUSPEND        ? "Resume"
                                                : info.param == PBT_APMQUERYSUSPENDFAILED ? "RefusedSuspend"
                                                                                          : "UnattendedWake");
                         });

TEST_F(StartupTest, UnattendedWakeThenUserResume_SetsEachTimerOnce) {
    Start();
    Send(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    desk.ClearLog();

    Send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    Send(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);

    EXPECT_EQ(Timers(), (std::vector<std::string>{"SetTimer(" + Main() + ",0x1,65)",
                                                  "SetTimer(" + Main() + ",0x2,1000)"}));
}

// At logon Explorer may refuse the icon until it is ready: the icon is tried
// again every 2 s for 10 s, then the wait is for Explorer's TaskbarCreated.
struct LogonCase {
    int failures;  // NIM_ADD calls refused from the start
    bool shownAfter12s;
};

class TrayIconAtLogon : public StartupTest, public ::testing::WithParamInterface<LogonCase> {};

TEST_P(TrayIconAtLogon, IsTriedAgainUntilExplorerTakesIt) {
    desk.trayAddFailures = GetParam().failures;
    Start();
    Advance(12000);
    EXPECT_EQ(desk.trayIcons.count({program.mainWindow, 10u}), GetParam().shownAfter12s ? 1u : 0u);
    EXPECT_FALSE(desk.TimerSet(program.mainWindow, TRAY_RETRY_TIMER_ID)) << "the retries end";
    if (!GetParam().shownAfter12s) {
        desk.RestartShell();
        EXPECT_EQ(desk.trayIcons.count({program.mainWindow, 10u}), 1u) << "TaskbarCreated brings it";
    }
}

INSTANTIATE_TEST_SUITE_P(Failures, TrayIconAtLogon,
                         ::testing::Values(LogonCase{0, true}, LogonCase{1, true}, LogonCase{5, true},
                                           LogonCase{6, false}),
                         [](const auto& info) { return "Refused" + std::to_string(info.param.failures); });

// Windows may refuse timers (desktop heap exhausted): without its poll timer
// the remote does nothing, so the user is told, and the next resume tries
// the timer again; refused there, it is told once the resume notice has
// been answered.
TEST_F(StartupTest, PollTimerRefused_IsTold_AndTriedAgainOnResume) {
    desk.failure = {"SetTimer", 1, true};
    Start();
    const std::vector<std::string> boxes = desk.Log({"MessageBoxA"});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Windows refused it a timer"), std::string::npos) << boxes[0];
    desk.failure = {};
    Send(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_TRUE(desk.TimerSet(program.mainWindow, 1));

    Send(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    desk.failure = {"SetTimer", 1, true};
    Send(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_EQ(desk.Log({"MessageBoxA"}).size(), 1u) << "a box inside Windows' notice";
    platform::Message message = {};
    while (platform::GetMessageA(&message, 0, 0, 0) > 0) platform::DispatchMessageA(&message);
    EXPECT_EQ(desk.Log({"MessageBoxA"}).size(), 2u);
}

TEST_F(StartupTest, ShellRestart_AddsTheSameIconAgain) {
    Start();
    const std::vector<std::string> added = desk.Log({"Shell_NotifyIconA"});
    ASSERT_EQ(added, std::vector<std::string>{"Shell_NotifyIconA(0x0," + TrayRecord() + ")"});
    desk.ClearLog();

    desk.RestartShell();

    EXPECT_EQ(desk.Log({"Shell_NotifyIconA"}), added);
    EXPECT_EQ(desk.trayIcons.size(), 1u);
    EXPECT_TRUE(desk.TimerSet(program.mainWindow, 1));
    EXPECT_EQ(desk.Actions(), std::vector<std::string>{}) << "nothing else happens";
}

TEST_F(StartupTest, ShellRestart_AfterExit_BringsNoIconBack) {
    Start();
    Send(WM_COMMAND, 1201, 0);
    desk.ClearLog();

    desk.RestartShell();

    EXPECT_TRUE(desk.Log({"Shell_NotifyIconA"}).empty());
    EXPECT_TRUE(desk.trayIcons.empty());
}

TEST_F(StartupTest, ShellRestart_WithoutReceiver_KeepsTheIconThatReportsIt) {
    desk.receiverPresent = false;
    Start();

    desk.RestartShell();
    Send(1001, 0, WM_RBUTTONDOWN);

    EXPECT_EQ(desk.trayIcons.size(), 0u) << "the report removed the icon it restored";
    EXPECT_EQ(desk.Log({"MessageBoxA"}).size(), 1u);
    EXPECT_TRUE(QuitPosted());
}

TEST_F(StartupTest, ResumeWithoutReceiver_SetsNoOwnerlessTimer) {
    desk.receiverPresent = false;
    Start();
    desk.ClearLog();

    Send(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);

    EXPECT_TRUE(Timers().empty());
    EXPECT_TRUE(desk.timers.empty());
}

TEST_F(StartupTest, Exit_RemovesTheIconQuitsAndUninitialisesCom) {
    Start();
    desk.ClearLog();

    EXPECT_EQ(Send(WM_COMMAND, 1201, 0), 0);

    EXPECT_EQ(desk.Log({"Shell_NotifyIconA"}),
              std::vector<std::string>{"Shell_NotifyIconA(0x2,{88," + Main() + ",0xA,0x0,0x0,0x0,\"\"})"});
    EXPECT_TRUE(QuitPosted());
    EXPECT_TRUE(desk.coUninitialized);
}

TEST_F(StartupTest, CommandThirtyOne_QuitsWithoutUninitialisingCom) {
    Start();

    Send(WM_COMMAND, 31, 0);

    EXPECT_EQ(desk.trayIcons.size(), 0u);
    EXPECT_TRUE(QuitPosted());
    EXPECT_FALSE(desk.coUninitialized);
}

TEST_F(StartupTest, UnknownCommand_GoesToTheDefaultProcedure) {
    Start();
    desk.ClearLog();

    Send(WM_COMMAND, 0x10000 | 1300, 0x55);

    EXPECT_EQ(desk.Log({"DefWindowProcA"}),
              std::vector<std::string>{"DefWindowProcA(" + Main() + ",0x111,0x10514,0x55)"});
    EXPECT_FALSE(QuitPosted());
}

TEST_F(StartupTest, CloseFromANewerCopy_DestroysTheWindowRemovesTheIconAndQuits) {
    Start();

    Send(WM_CLOSE, 0, 0);

    EXPECT_EQ(desk.Find(program.mainWindow), nullptr);
    EXPECT_EQ(desk.trayIcons.size(), 0u);
    EXPECT_TRUE(QuitPosted());
}

TEST_F(StartupTest, DisplayChange_ReplacesThePointerLimits) {
    Start();

    Send(WM_DISPLAYCHANGE, 32, (768 << 16) | 1280);

    EXPECT_EQ(pointer.pointerRect.right, 1279);
    EXPECT_EQ(pointer.pointerRect.bottom, 767);
    EXPECT_EQ(pointer.smallStep, 8);
    EXPECT_EQ(pointer.largeStep, 16);
}

}  // namespace
