// Remote Check's verdicts on the fake desktop: for each code, the words of
// what the utility's dispatcher would do, worked out from the same rules, and
// that working them out sends nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "product_fixture.h"
#include "remote_check/code_verdict.h"
#include "remote_check/receiver_report.h"

namespace {

struct Read {
    int code;
    std::uint32_t afterMs;  // since the previous read
};

struct VerdictCase {
    const char* name;
    std::int32_t defaultApp;
    std::vector<std::pair<std::string, std::string>> windows;  // (title, class)
    int installed;  // an AppId whose record is installed, or 0
    std::vector<Read> reads;
    bool repeat;  // of the last read
    const char* words;
};

class CodeVerdict : public ProductTest, public ::testing::WithParamInterface<VerdictCase> {};

TEST_P(CodeVerdict, TellsWhatTheUtilityWouldDo_AndDoesNothing) {
    const VerdictCase& c = GetParam();
    for (const auto& [title, className] : c.windows) desk.AddWindow(title, className);
    if (c.installed != 0) Install(c.installed, "C:\\TV", "tv.exe");
    check.Reset(c.defaultApp);
    desk.ClearLog();
    Verdict verdict{};
    std::uint32_t now = 1000000;
    for (const Read& read : c.reads) verdict = JudgeCode(read.code, now += read.afterMs);
    EXPECT_EQ(verdict.repeat, c.repeat);
    EXPECT_STREQ(verdict.action, c.words);
    EXPECT_TRUE(desk.Actions().empty()) << "Remote Check did something";
    EXPECT_TRUE(desk.Log({"SetTimer", "ShellExecuteA", "MessageBoxA", "DialogBoxParamA"}).empty());
}

const std::pair<std::string, std::string> totalMedia{"Arcsoft TotalMedia", ""};
const std::pair<std::string, std::string> quartzview{"TVR", "TarvexMainPanel_Class"};

INSTANTIATE_TEST_SUITE_P(
    Codes, CodeVerdict,
    ::testing::Values(
        VerdictCase{"PointerMove", 6, {}, 0, {{9, 0}}, false, "pointer: move down-right (no TV application recognised)"},
        VerdictCase{"PointerIgnoresOtherCodes", 6, {}, 0, {{20, 0}}, false,
                    "nothing (no TV application recognised; the pointer takes codes 0 to 10 only)"},
        VerdictCase{"IgnoredCode", 6, {}, 0, {{13, 0}}, false,
                    "nothing (this key acts only while a TV application is active)"},
        VerdictCase{"ShutDownKeyOfQuartzview", 6, {}, 0, {{29, 0}}, false, "opens the Shut Down dialog"},
        VerdictCase{"ShutDownKeyOfOthers", 5, {}, 0, {{24, 0}}, false, "opens the Shut Down dialog"},
        VerdictCase{"ShutDownKeyWhileOneRuns", 5, {quartzview}, 0, {{24, 0}}, false,
                    "nothing (the Shut Down dialog opens only while no TV application runs)"},
        VerdictCase{"PowerStartsTheInstalledDefault", 5, {}, 5, {{12, 0}}, false,
                    "Power: closes the other TV applications, then starts TotalMedia"},
        VerdictCase{"PowerWithoutADefault", 0, {}, 0, {{12, 0}}, false,
                    "Power: nothing (no default TV application is stored; choose one in Setting)"},
        VerdictCase{"RecognisedByDetection", 6, {quartzview}, 0, {{0, 0}}, false,
                    "(recognised) Quartzview: command 4024 (10001, 0)"},
        VerdictCase{"NoRowForTheCode", 6, {totalMedia}, 0, {{24, 0}, {76, 300}}, false,
                    "(recognised) TotalMedia: nothing (no action for this key)"},
        VerdictCase{"HeldKeyActsOnTheTenthRepeat", 6, {totalMedia}, 0,
                    {{16, 0}, {16, 65}, {16, 65}, {16, 65}, {16, 65}, {16, 65}, {16, 65}, {16, 65}, {16, 65},
                     {16, 65}, {16, 65}},
                    true, "TotalMedia: Up"},
        VerdictCase{"PowerOfTheActiveApp", 6, {totalMedia}, 0, {{16, 0}, {12, 300}}, false,
                    "Power: closes TotalMedia"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProductTest, RemoteCheck_LetsGoOfAnApplicationWhoseWindowHasGone) {
    const auto window = desk.AddWindow("Arcsoft TotalMedia");
    check.Reset(6);
    JudgeCode(16, 1000);
    desk.RemoveWindow(window);
    EXPECT_STREQ(JudgeCode(2, 2000).action, "pointer: move up (no TV application recognised)");
}

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
                   "is installed (Device Manager), then open Remote Check again."},
        ReportCase{"NoDevice", {}, true, false,
                   "is installed (Device Manager), then open Remote Check again."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
