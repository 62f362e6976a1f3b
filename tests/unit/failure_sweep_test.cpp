// Every Windows call may fail: one scripted day of use through the program's
// entry points, run once clean to count the calls, then again with each call
// failing in turn (its first occurrences, a sample of the later ones, and
// from its first on), with the program's invariants checked after each run.
// The table of outcomes is printed; a run that breaks an invariant fails.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "remote_check/check_window.h"
#include "resources/resource_ids.h"
#include "shell_fixture.h"

namespace {

class FailureSweep : public ShellTest {
  public:
    int Sweep(void (FailureSweep::*day)(), std::string (FailureSweep::*broken)(),
              bool (*losesTheFinalKey)(const std::string&));

    // A code read on the next poll ticks, then a pause that makes the next
    // read a fresh press.
    void Read(std::uint8_t code) {
        desk.keyQueue.push_back(code);
        Advance(130);
        desk.keyQueue.clear();
        Advance(300);
    }

    // The day: start-up, the tray menu, About, Setting (TotalMedia chosen),
    // Power launching and closing TotalMedia, the watch letting go once its
    // user closes it, keys to each of the eight applications, the pointer,
    // the Shut Down dialog opened and cancelled, suspend and resume, a shell
    // restart. Ends before Exit, so that the invariants see the program
    // running.
    void Day() {
        // An earlier copy runs, asked to close by this one; the user's mouse
        // is left-handed, so code 5 holds the right button.
        desk.AddWindow("Alder Remote Control", "Alder Remote Control");
        desk.metrics[SM_SWAPBUTTON] = 1;
        Install(totalMediaId, "C:\\TV", "TotalMedia.exe");
        Install(quartzviewId, "C:\\QV", "MainPanel.exe");
        desk.onShellExecute = [this](const std::string&) {
            desk.AddWindow("Arcsoft TotalMedia");
            return 33;
        };
        Start();
        if (program.mainWindow == 0) return;  // it could not start
        Deliver(TRAY_CALLBACK_MESSAGE, 0, WM_RBUTTONDOWN);
        settingConfirmed = false;
        desk.onDialog = [this](platform::WindowHandle dialog) {
            desk.comboBoxes[{dialog, 11}].selection = 0;  // TotalMedia, the first entry
            const auto& items = desk.comboBoxes[{dialog, 11}].items;
            settingConfirmed = settingConfirmed || (desk.Find(dialog)->dialogTemplate == IDD_SETTING &&
                                                    !items.empty() && items[0] == "TotalMedia");
            desk.Find(dialog)->dialogProcedure(dialog, WM_COMMAND, IDOK, 0);
        };
        Deliver(WM_COMMAND, IDM_ABOUT, 0);
        Deliver(WM_COMMAND, IDM_SETTING, 0);
        desk.onDialog = nullptr;

        Read(12);  // Power: TotalMedia starts
        Read(16);
        Read(12);  // Power: closes it
        CloseAll();
        Read(12);  // and once more, closed by its user this time
        CloseAll();
        Advance(1100);
        const char* const windows[][2] = {{"PowerCinema", ""},          {"Home Theater", ""},
                                          {"My IC-TV Media Center", ""}, {"Media Center", "eHome Render Window"},
                                          {"Arcsoft TotalMedia", ""},    {"TVR", "TarvexMainPanel_Class"},
                                          {"Beyond TV", "Streamzap.WM.D3D"}, {"InterVideo WinDVR 6", ""}};
        for (const auto& window : windows) {
            desk.AddWindow(window[0], window[1]);
            Read(16);
            Read(12);
            CloseAll();
            Advance(1100);
        }
        desk.cursor = {500, 400};
        Read(8);
        Read(0);
        Read(5);
        Read(5);
        desk.onDialog = [this](platform::WindowHandle) { Read(16); };  // any key cancels
        Read(24);
        desk.onDialog = nullptr;
        Deliver(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
        Deliver(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
        desk.RestartShell();
        Advance(12000);  // long enough for any retry to end
        // The message loop, between the events: what the program posted to its own window.
        while (!desk.queue.empty()) {
            const platform::Message posted = desk.queue.front();
            desk.queue.pop_front();
            if (posted.hwnd == program.mainWindow) Deliver(posted.message, posted.wParam, posted.lParam);
        }
    }

    // A message as Windows delivers it to the main window: the system's doing,
    // not a call of the program, so never one that fails.
    void Deliver(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) {
        MainWndProc(program.mainWindow, message, wParam, lParam);
    }

    void CloseAll() {
        for (const auto& [handle, window] : std::map<platform::WindowHandle, fake::Window>(desk.windows)) {
            if (!window.own) desk.RemoveWindow(handle);
        }
    }

    // What must hold after any day, failures or not: "" when it all holds,
    // else what broke. Two ends are the Part's and told to the user: without
    // its window the program ends at start, without the receiver a tray click
    // reports it.
    std::string BrokenInvariant() {
        if (!desk.KeysDown().empty()) return "a key left down";
        if (desk.leftButtonDown || desk.rightButtonDown != (pointer.buttonHeld == 1)) {
            return "a mouse button down that no hold holds";
        }
        if (desk.openKeyCount() != 0) return "a registry key left open";
        if (program.mainWindow == 0) return "";
        // Setting's OK either saved TotalMedia or said that it could not.
        bool toldNotSaved = false;
        for (const std::string& box : desk.Log({"MessageBoxA"}))
            toldNotSaved = toldNotSaved || box.find("could not be saved") != std::string::npos;
        if (settingConfirmed && desk.GetDword(settingsPath, "DefaultTVAPP") != totalMediaId && !toldNotSaved)
            return "the choice not saved, silently";
        if (program.receiverFound == 0) return "";
        if (pollTimer.armed == 0) {
            return desk.Log({"MessageBoxA"}).empty() ? "the poll timer lost, silently" : "";
        }
        for (int k = 1; k <= appCount; ++k) {
            if (AppRecord(k).active == 1) return std::string("bound to ") + AppFor(k).name + ", whose window is gone";
        }
        if (!desk.TimerSet(program.mainWindow, 1)) return "the poll timer lost";
        bool watching = false;
        for (const std::int32_t flag : launchWatch.watchFlags) watching = watching || flag != 0;
        if (desk.TimerSet(program.mainWindow, 2) && !watching) return "the watch armed with nothing to watch";
        // The program still answers: a final number key moves the pointer.
        const platform::Point before = desk.cursor;
        Read(2);
        if (desk.cursor.y != before.y - 1) return "a final key moved no pointer";
        return BrokenByExit();
    }

    // Exit from the tray menu while code 5 holds a button: the program ends
    // and leaves no button down behind it.
    std::string BrokenByExit() {
        Read(5);
        Deliver(WM_COMMAND, IDM_EXIT, 0);
        if (desk.leftButtonDown || desk.rightButtonDown) return "a mouse button left down at Exit";
        return QuitPosted() ? "" : "Exit did not end the program";
    }

    // Remote Check's day: the utility runs and is asked to close; codes are
    // read once it has gone; Check again and Copy; closing Remote Check
    // starts the utility again.
    void CheckDay() {
        const platform::WindowHandle utility = desk.AddWindow("Alder Remote Control", "Alder Remote Control");
        desk.captureDevices = {"713x BDA Analog Capture"};
        desk.onMessageBox = [](const std::string&, const std::string&) { return IDYES; };
        RunRemoteCheck(instance);
        desk.onMessageBox = nullptr;
        // Asked to close, it closes.
        utilityClosed = !desk.Log({"PostMessageA"}).empty();
        if (utilityClosed) desk.RemoveWindow(utility);
        utilityStarted = false;
        desk.onShellExecute = [this](const std::string& file) {
            utilityStarted = file.size() >= 17 && file.substr(file.size() - 17) == "RemoteControl.exe";
            return 33;
        };
        checkWindow = 0;
        for (const platform::WindowHandle window : desk.ZOrder()) {
            if (desk.Find(window)->className == "Alder Remote Check") checkWindow = window;
        }
        if (checkWindow == 0) return;
        Advance(200);
        for (const std::uint8_t code : {16, 12, 29, 16, 5, 2}) Read(code);
        CheckWndProcOf(checkWindow, WM_COMMAND, 101, 0);  // Check again
        CheckWndProcOf(checkWindow, WM_COMMAND, 102, 0);  // Copy
        readingBeforeClose = desk.TimerSet(checkWindow, 1);
        CheckWndProcOf(checkWindow, WM_CLOSE, 0, 0);  // its user closes it
    }

    void CheckWndProcOf(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                        platform::LParam lParam) {
        if (const fake::Window* target = desk.Find(window)) target->procedure(window, message, wParam, lParam);
    }

    // Remote Check sends nothing but the utility's WM_CLOSE, leaves nothing
    // open or down, reads while its window is up or says why not, and puts
    // the utility back or says that it could not.
    std::string BrokenCheckInvariant() {
        if (!desk.KeysDown().empty() || desk.leftButtonDown || desk.rightButtonDown) return "input left down";
        if (desk.openKeyCount() != 0) return "a registry key left open";
        for (const std::string& call : desk.Log({"keybd_event", "mouse_event", "SetCursorPos", "SetForegroundWindow"}))
            return "input sent: " + call;
        bool told = false;  // in a box other than the question whether to close the utility
        for (const std::string& box : desk.Log({"MessageBoxA"}))
            told = told || box.find("Close Remote Control while") == std::string::npos;
        const bool leftClosed = utilityClosed && !utilityStarted && !told;
        if (checkWindow == 0) return leftClosed ? "no window, and the utility left closed, silently" : "";
        if (desk.Find(checkWindow) != nullptr) return "the window did not close";
        // Not reading while the report still invites a press: silent.
        const auto reports = desk.Log({"SetWindowTextA"});
        if (!readingBeforeClose && !told &&
            (reports.empty() || reports.back().find("Press a button on the remote.") != std::string::npos))
            return "nothing read, silently";
        if (leftClosed) return "the utility left closed, silently";
        return "";
    }

    bool settingConfirmed = false;
    platform::WindowHandle checkWindow = 0;
    bool readingBeforeClose = false;
    bool utilityClosed = false;
    bool utilityStarted = false;

    void Reset() {
        fake::StartOnFreshDesktop();
        desk.RemoveWindow(desk.ZOrder().front());
        program.mainWindow = 0;
        receiver.Reset();
        watchTimer.Reset();
        desk.strings[22] = "Alder Remote Control";
        desk.strings[23] = "Alder Remote Control";
    }
};

// Calls whose failure is Windows' own answer to a question rather than a
// refusal the program could meet differently (a failed read is a lost press;
// a lost pointer move is a lost move): the day's last check is skipped.
bool LosesTheFinalKeyByItself(const std::string& call) {
    return call == "KsProperty" || call == "GetCursorPos" || call == "SetCursorPos" || call == "FindWindowExA";
}

// Runs the day clean, then with each call failing in turn, checking the
// invariants after each run; prints the table and returns how many runs
// broke one.
int FailureSweep::Sweep(void (FailureSweep::*day)(), std::string (FailureSweep::*broken)(),
                        bool (*losesTheFinalKey)(const std::string&)) {
    Reset();
    desk.callCounts.clear();
    desk.callSites.clear();
    (this->*day)();
    EXPECT_EQ((this->*broken)(), "") << "the day without failures";
    const std::map<std::string, int> counts = desk.callCounts;
    const auto sites = desk.callSites;
    std::size_t siteCount = 0;

    struct Row {
        std::string call;
        int occurrence;
        bool persistent;
        std::string outcome;
    };
    std::vector<Row> rows;
    for (const auto& [call, count] : counts) {
        // Every one of the first three, the first at each place in the
        // program that makes the call, and past them a sample, as calls in
        // loops repeat the same site.
        std::set<int> occurrences;
        for (int n = 1; n <= count; ++n) {
            if (n <= 3 || n % 25 == 0 || n == count) occurrences.insert(n);
        }
        for (const auto& [site, ns] : sites.at(call)) occurrences.insert(ns.front());
        siteCount += sites.at(call).size();
        std::vector<std::pair<int, bool>> runs;
        for (const int n : occurrences) runs.emplace_back(n, false);
        runs.emplace_back(1, true);
        for (const auto& [occurrence, persistent] : runs) {
            Reset();
            desk.failure = {call, occurrence, persistent};
            desk.callCounts.clear();  // counted from here on
            desk.callSites.clear();
            (this->*day)();
            const bool failed = desk.failuresMade > 0;
            desk.failure = {};
            std::string outcome = failed ? (this->*broken)() : "";
            if (outcome == "a final key moved no pointer" && persistent && losesTheFinalKey(call)) outcome = "";
            rows.push_back({call, occurrence, persistent, outcome.empty() ? "held" : outcome});
        }
    }

    int brokenRuns = 0;
    std::printf("%-28s %-12s %s\n", "call", "occurrence", "outcome");
    for (const Row& row : rows) {
        std::printf("%-28s %-12s %s\n", row.call.c_str(),
                    (std::to_string(row.occurrence) + (row.persistent ? "+" : "")).c_str(), row.outcome.c_str());
        if (row.outcome != "held") ++brokenRuns;
    }
    std::printf("%zu runs over %zu calls at %zu places; %d broke an invariant\n", rows.size(), counts.size(),
                siteCount, brokenRuns);
    return brokenRuns;
}

TEST_F(FailureSweep, EveryCallFailingInTurn_LeavesTheProgramWhole) {
    EXPECT_EQ(Sweep(&FailureSweep::Day, &FailureSweep::BrokenInvariant, LosesTheFinalKeyByItself), 0);
}

TEST_F(FailureSweep, EveryCallFailingInTurn_LeavesRemoteCheckAndTheUtilityWhole) {
    EXPECT_EQ(Sweep(&FailureSweep::CheckDay, &FailureSweep::BrokenCheckInvariant,
                    [](const std::string&) { return false; }),
              0);
}

// Remote Check's mends, one row each: what the user is told, and whether the
// utility was asked to close and reading went on.
TEST_F(FailureSweep, RemoteCheck_RefusalsAreToldAndRecoverable) {
    struct Case {
        const char* call;
        int occurrence;
        const char* box;  // "" when none but the question
        bool utilityAsked;
        bool reading;
    };
    const Case cases[] = {
        {"CreateWindowExA", 1, "Remote Check could not open its window", false, false},
        {"ShellExecuteA", 1, "Remote Control could not be started again", true, true},
        // The read timer refused; Check again asks for it anew.
        {"SetTimer", 2, "", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        Reset();
        desk.failure = {c.call, c.occurrence, false};
        CheckDay();
        std::string boxes;
        for (const std::string& box : desk.Log({"MessageBoxA"})) {
            if (box.find("Close Remote Control while") == std::string::npos) boxes += box;
        }
        EXPECT_EQ(boxes.empty(), *c.box == '\0') << boxes;
        EXPECT_NE(boxes.find(c.box), std::string::npos) << boxes;
        EXPECT_EQ(utilityClosed, c.utilityAsked);
        EXPECT_EQ(readingBeforeClose, c.reading);
    }
}

}  // namespace
