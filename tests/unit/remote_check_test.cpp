// Remote Check against the utility: the same situations replayed through the
// dispatcher and through Remote Check must give the same decision at every
// read; then the words Remote Check shows for each route, and its receiver
// report.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "product_fixture.h"
#include "remote_check/check_lines.h"
#include "remote_check/code_verdict.h"
#include "remote_check/receiver_report.h"

void PrintTo(const Decision& d, std::ostream* out) {
    *out << "{route " << int(d.route) << ", code " << d.code << (d.repeat ? " repeat" : "") << ", app " << d.appId
         << ", row " << (d.row ? int(d.row->code) : -1) << ", power " << int(d.power)
         << (d.notInstalled ? ", not installed" : "") << "}";
}

namespace {

// One thing that happens: a code read afterMs after the previous event, or a
// window of another program appearing or going.
struct Event {
    enum Kind { Read, Appear, Vanish } kind;
    int code;           // Read
    std::uint32_t afterMs;
    const char* title;  // Appear, Vanish
    const char* className;
};
Event ReadAfter(int code, std::uint32_t afterMs) { return {Event::Read, code, afterMs, nullptr, nullptr}; }
Event Appear(const char* title, const char* className = "") { return {Event::Appear, 0, 0, title, className}; }
Event Vanish(const char* title) { return {Event::Vanish, 0, 0, title, nullptr}; }

struct Situation {
    const char* name;
    std::int32_t defaultApp;
    int installed;  // an AppId whose record is installed, or 0
    std::vector<Event> events;
    Route lastRoute;  // what the last read does, written from the rules
};

void PrintTo(const Situation& s, std::ostream* out) { *out << s.name; }

class OneDecision : public ProductTest, public ::testing::WithParamInterface<Situation> {
  protected:
    // Replays the events from index on; a read goes to decide. Inside the
    // Shut Down dialog's modal loop the replay goes on from there until the
    // dialog has closed, as the utility's nested ticks would.
    template <typename Decide>
    void Replay(std::size_t& index, Decide decide, std::vector<Decision>& decisions, bool untilDialogCloses) {
        const std::vector<Event>& events = GetParam().events;
        while (index < events.size() && !(untilDialogCloses && shutDownState.shutDownDialogOpen == 0)) {
            const Event& event = events[index++];
            if (event.kind == Event::Appear) desk.AddWindow(event.title, event.className);
            if (event.kind == Event::Vanish) {
                for (const auto& [handle, window] : desk.windows) {
                    if (window.title == event.title) {
                        desk.RemoveWindow(handle);
                        break;
                    }
                }
            }
            if (event.kind == Event::Read) {
                desk.Advance(event.afterMs);
                // Reads nested in the dialog come back before the one that opened it.
                const std::size_t slot = decisions.size();
                decisions.emplace_back();
                const Decision decision = decide(event.code, desk.tickCount);
                decisions[slot] = decision;
            }
        }
    }

    // telling: Remote Check's own start, else the utility's.
    template <typename Decide>
    std::vector<Decision> Run(bool telling, Decide decide) {
        owner = fake::StartOnFreshDesktop();
        const Situation& s = GetParam();
        if (telling) StartTelling(s.defaultApp);
        settings.defaultApp = s.defaultApp;
        if (s.installed != 0) Install(s.installed, "C:\\TV", "tv.exe");
        std::vector<Decision> decisions;
        std::size_t index = 0;
        desk.onDialog = [&](platform::WindowHandle) { Replay(index, decide, decisions, true); };
        Replay(index, decide, decisions, false);
        return decisions;
    }
};

TEST_P(OneDecision, RemoteCheckDecidesAsTheUtility_ReadByRead) {
    const std::vector<Decision> utility =
        Run(false, [&](int code, std::uint32_t now) { return DispatchCode(owner, code, now); });
    const std::vector<Decision> check =
        Run(true, [&](int code, std::uint32_t now) { return TellCode(code, now).decision; });
    ASSERT_EQ(check.size(), utility.size());
    for (std::size_t i = 0; i < utility.size(); ++i) EXPECT_EQ(check[i], utility[i]) << "read " << i + 1;
    EXPECT_EQ(utility.back().route, GetParam().lastRoute);
    EXPECT_TRUE(desk.Actions().empty()) << "Remote Check did something";
}

const char* const totalMedia = "Arcsoft TotalMedia";

INSTANTIATE_TEST_SUITE_P(
    Situations, OneDecision,
    ::testing::Values(
        // What Remote Check used to tell differently.
        Situation{"ShutDownDialogOpen_PowerConfirms", 6, 0, {ReadAfter(29, 1), ReadAfter(12, 1000)},
                  Route::ConfirmShutDown},
        Situation{"ShutDownDialogOpen_AnotherKeyCancels", 6, 0, {ReadAfter(29, 1), ReadAfter(16, 1000)},
                  Route::CancelShutDown},
        Situation{"PowerClose_LetsGo_ThenTheDetectionFindsTheClosingWindow",
                  6,
                  0,
                  {Appear(totalMedia), ReadAfter(16, 1), ReadAfter(12, 1000), ReadAfter(17, 1000)},
                  Route::Detected},
        Situation{"DetectedThenClosedByItsUser_TheWatchLetsGo",
                  6,
                  0,
                  {Appear(totalMedia), ReadAfter(16, 1), Vanish(totalMedia), ReadAfter(2, 1100)},
                  Route::Pointer},
        Situation{"FailedRead_BindsNothing", 6, 0, {Appear(totalMedia), ReadAfter(255, 1), ReadAfter(24, 1000)},
                  Route::NotTheShutDownKey},
        // A held key acts once.
        Situation{"HeldPower_ClosesAndStartsNothing",
                  5,
                  5,
                  {Appear(totalMedia), ReadAfter(16, 1), ReadAfter(12, 1000), Vanish(totalMedia), ReadAfter(12, 65)},
                  Route::PowerRepeat},
        Situation{"HeldClick_ClicksOnce", 6, 0, {ReadAfter(0, 1), ReadAfter(0, 65)}, Route::ClickRepeat},
        Situation{"PowerOnARunningDefaultThatIsNotInstalled", 5, 0, {Appear(totalMedia), ReadAfter(12, 1)},
                  Route::PowerLaunch},
        // The rest of the precedence.
        Situation{"ShutDownDialog_IgnoresTheHeldKeyThatOpenedIt", 5, 0, {ReadAfter(24, 1), ReadAfter(24, 65)},
                  Route::ShutDownRepeat},
        Situation{"PowerLaunch_WindowNeverAppears_TheWatchLetsGo",
                  5,
                  5,
                  {ReadAfter(12, 1), ReadAfter(2, 1500)},
                  Route::Pointer},
        Situation{"HeldKey_ActiveApp_TenthRepeatPasses",
                  6,
                  0,
                  {Appear(totalMedia), ReadAfter(16, 1), ReadAfter(16, 65), ReadAfter(16, 65), ReadAfter(16, 65),
                   ReadAfter(16, 65), ReadAfter(16, 65), ReadAfter(16, 65), ReadAfter(16, 65), ReadAfter(16, 65),
                   ReadAfter(16, 65), ReadAfter(16, 65)},
                  Route::ActiveKey},
        Situation{"ShutDownKeyWhileAnApplicationRuns", 6, 0, {Appear("TVR", "TarvexMainPanel_Class"), ReadAfter(29, 1)},
                  Route::ShutDownKeyWhileAppRuns},
        Situation{"OtherShutDownKey_IgnoredCode_NoDefault", 0, 0, {ReadAfter(24, 1), ReadAfter(13, 300), ReadAfter(12, 300)},
                  Route::PowerWithoutDefault},
        Situation{"NothingRuns_PointerTakesZeroToTen", 6, 0, {ReadAfter(10, 1), ReadAfter(11, 300)},
                  Route::PointerIgnores}),
    [](const auto& info) { return std::string(info.param.name); });

// --- What Remote Check shows for each route ----------------------------------------

struct WordsCase {
    const char* name;
    std::int32_t defaultApp;
    std::vector<std::pair<std::string, std::string>> windows;  // (title, class)
    int installed;  // an AppId whose record is installed, or 0
    std::vector<int> codes;  // read 300 ms apart, the last one told
    const char* words;
    bool elevated = false;   // every window's program runs as administrator
    bool windows64 = false;  // Remote Check runs on 64-bit Windows
};

class VerdictWords : public ProductTest, public ::testing::WithParamInterface<WordsCase> {};

TEST_P(VerdictWords, TellWhatTheUtilityWouldDo) {
    const WordsCase& c = GetParam();
    for (const auto& [title, className] : c.windows) {
        const auto window = desk.AddWindow(title, className);
        if (c.elevated) desk.elevatedWindows.insert(window);
    }
    desk.windows64 = c.windows64;
    if (c.installed != 0) Install(c.installed, "C:\\TV", "tv.exe");
    StartTelling(c.defaultApp);
    Verdict verdict{};
    for (const int code : c.codes) verdict = TellCode(code, desk.tickCount += 300);
    EXPECT_STREQ(verdict.action, c.words);
}

const std::pair<std::string, std::string> totalMediaWindow{"Arcsoft TotalMedia", ""};
const std::pair<std::string, std::string> quartzviewWindow{"TVR", "TarvexMainPanel_Class"};

INSTANTIATE_TEST_SUITE_P(
    Routes, VerdictWords,
    ::testing::Values(
        WordsCase{"Pointer", 6, {}, 0, {9}, "pointer: move down-right (no TV application recognised)"},
        WordsCase{"PointerIgnores", 6, {}, 0, {20},
                  "nothing (no TV application recognised; the pointer takes codes 0 to 10 only)"},
        WordsCase{"IgnoredKey", 6, {}, 0, {13}, "nothing: no key map uses this code"},
        WordsCase{"NoKeyMapUsesIt", 6, {}, 0, {200}, "nothing: no key map uses this code, and the pointer takes codes 0 to 10 only"},
        WordsCase{"OfferShutDown", 6, {}, 0, {29}, "opens the Shut Down dialog"},
        WordsCase{"ConfirmShutDown", 6, {}, 0, {29, 12},
                  "Shut Down dialog: Power confirms, the computer is switched off"},
        WordsCase{"CancelShutDown", 5, {}, 0, {24, 16}, "Shut Down dialog: cancelled (only Power confirms it)"},
        WordsCase{"NotTheShutDownKey", 5, {}, 0, {29}, "nothing (not the shut-down key of the default application)"},
        WordsCase{"ShutDownKeyWhileAppRuns", 5, {quartzviewWindow}, 0, {24},
                  "nothing (the Shut Down dialog opens only while no TV application runs)"},
        WordsCase{"PowerLaunch", 5, {}, 5, {12}, "Power: closes the other TV applications, then starts TotalMedia"},
        WordsCase{"PowerLaunchNotInstalled", 6, {}, 0, {12},
                  "Power: Quartzview is not installed, so it says \"Please re-initialize the TV application "
                  "settings.\", then closes the other TV applications, then starts nothing"},
        WordsCase{"PowerLaunchNotInstalledButOpen", 5, {totalMediaWindow}, 0, {12},
                  "Power: TotalMedia is not installed, so it says \"Please re-initialize the TV application "
                  "settings.\", then closes the other TV applications, then closes TotalMedia (it is open)"},
        WordsCase{"PowerWithoutDefault", 0, {}, 0, {12},
                  "Power: nothing (no default TV application is stored; choose one in Setting)"},
        WordsCase{"Detected", 6, {quartzviewWindow}, 0, {0}, "(recognised) Quartzview: command 4024 (10001, 0)"},
        WordsCase{"DetectedNoRow", 6, {totalMediaWindow}, 0, {24, 76},
                  "(recognised) TotalMedia: nothing (no action for this key)"},
        WordsCase{"ActivePowerCloses", 6, {totalMediaWindow}, 0, {16, 12}, "Power: closes TotalMedia"},
        WordsCase{"FailedRead", 6, {}, 0, {255},
                  "nothing (the driver said a code was waiting, but the read delivered none)", false, true},
        // What Windows blocks, told after the verdict.
        WordsCase{"AnApplicationRunAsAdministrator", 6, {totalMediaWindow}, 0, {16},
                  "(recognised) TotalMedia: Up, but TotalMedia runs as administrator: Windows lets Remote Control "
                  "send it nothing; start it normally",
                  true},
        WordsCase{"EveryReadFailingOn64BitWindows", 6, {}, 0, {255, 255, 255},
                  "nothing (the driver said a code was waiting, but the read delivered none); every read fails: "
                  "the card's 64-bit driver may not accept requests from 32-bit programs, so ask its maker for a "
                  "driver that does",
                  false, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Bound to an application whose window has gone: the row is told, and that it
// reaches nothing; Power would start it again.
TEST_F(ProductTest, RemoteCheck_TellsAKeyForAClosedBoundApplication_ReachesNothing) {
    const auto window = desk.AddWindow("Arcsoft TotalMedia");
    Install(5, "C:\\TV", "tv.exe");
    StartTelling(6);
    TellCode(16, 1000);
    desk.RemoveWindow(window);
    EXPECT_STREQ(TellCode(17, 2000).action, "TotalMedia: Down, but its window is not there, so nothing is sent");
    EXPECT_STREQ(TellCode(12, 3000).action, "Power: starts TotalMedia again (its window has gone)");
}

// A line of the list, as it is copied: tab-separated, the code as the key
// tables write it; the copy's header names the program and Windows.
TEST_F(ProductTest, RemoteCheck_LinesAndTheirCopy_ReadAsTheKeyTables) {
    StartTelling(6);
    char line[300];
    FormatCodeLine({9, 5, 7, 42}, 16, TellCode(16, 1000), line, sizeof line);
    EXPECT_STREQ(line, "09:05:07.042\t16 (Up)\tpress\tnothing (no TV application recognised; the pointer takes codes "
                       "0 to 10 only)");
    desk.version.dwMajorVersion = 10;
    desk.version.dwBuildNumber = 19045;
    char header[200];
    FormatCopyHeader("Remote Control uses \"713x BDA Analog Capture\".", header, sizeof header);
    const std::string text = header;
    EXPECT_EQ(text.rfind("Alder Remote Check ", 0), 0u) << text;
    EXPECT_NE(text.find(" on Windows 10.0 build 19045\r\nRemote Control uses \"713x BDA Analog Capture\".\r\n\r\n"),
              std::string::npos) << text;
}

// --- The receiver report ------------------------------------------------------------

struct ReportCase {
    const char* name;
    std::vector<std::string> devices;
    bool answers;  // the status request succeeds
    bool reading;
    const char* ending;
};

class ReceiverReport : public ProductTest, public ::testing::WithParamInterface<ReportCase> {};

TEST_P(ReceiverReport, NamesTheDevices_TheOneUsed_AndWhatToCheck) {
    const ReportCase& c = GetParam();
    desk.captureDevices = c.devices;
    desk.statusResult = c.answers ? 0 : static_cast<std::int32_t>(0x80004005);
    char text[receiverReportSize];
    EXPECT_EQ(ReportReceiver(true, text, sizeof text), c.reading);
    const std::string report = text;
    EXPECT_EQ(report.substr(report.size() - std::string(c.ending).size()), c.ending) << report;
}

INSTANTIATE_TEST_SUITE_P(
    Devices, ReceiverReport,
    ::testing::Values(
        ReportCase{"TheCard", {"Camera", "713x BDA Analog Capture"}, true, true,
                   "Remote Control uses \"713x BDA Analog Capture\". Its driver answers. Press a button on the "
                   "remote."},
        ReportCase{"AnEarlierNameWins", {"7162 BDA Analog Capture1", "Philips Cap713x Video Capture"}, true, true,
                   "uses \"Philips Cap713x Video Capture\". Its driver answers. Press a button on the remote."},
        ReportCase{"DriverSilent", {"713x BDA Analog Capture"}, false, false,
                   "does not answer the status request, so no code can be read: reinstall the card's driver."},
        ReportCase{"OtherDevicesOnly", {"713x BDA Analog Capture "}, true, false,
                   "Video-capture devices: \"713x BDA Analog Capture \".\r\nNone is the tuner card's capture filter "
                   "that Remote Control looks for (\"Philips Silicon (7171-35) WDM Video Capture\", \"Philips "
                   "Cap713x Video Capture\", \"713x BDA Analog Capture\" or \"7162 BDA Analog Capture1\"), so it "
                   "would say \"Can't find the BDA video capture filter.\" Check that the card is in place and its "
                   "driver is installed (Device Manager), then press Check again."},
        ReportCase{"NoDevice", {}, true, false,
                   "No video-capture device is present.\r\nSo none is the tuner card's capture filter that Remote "
                   "Control looks for (\"Philips Silicon (7171-35) WDM Video Capture\", \"Philips Cap713x Video "
                   "Capture\", \"713x BDA Analog Capture\" or \"7162 BDA Analog Capture1\"), so it would say "
                   "\"Can't find the BDA video capture filter.\" Check that the card is in place and its driver is "
                   "installed (Device Manager), then press Check again."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
