// The eight key maps against the expected tables of tests/key_maps/: every
// code from 0 to 255, routed by the dispatcher to the active application,
// must make exactly the calls its line stands for, and a code without a line
// none at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "adapters/key_action.h"
#include "expected_input.h"
#include "expected_key_map.h"
#include "product_fixture.h"

namespace {

class KeyMapTest : public ProductTest, public ::testing::WithParamInterface<std::string> {
  protected:
    void SetUp() override {
        ProductTest::SetUp();
        expected = ReadExpectedKeyMap(GetParam().c_str());
        ASSERT_TRUE(IsAppId(expected.appId)) << expected.file;
    }

    platform::WindowHandle AddAppWindow(const std::string& text) {
        return expected.byClass ? desk.AddWindow("Some title", text) : desk.AddWindow(text);
    }

    // The calls of one action of the program, as the table lines speak of
    // them: the window lookups (a title walk by its first step), foreground
    // changes, input, messages, pauses, the pointer and the window's state.
    Calls Recorded() const {
        Calls calls;
        const std::string walkStart = "GetWindow(" + W(desk.desktop()) + ",0x5)";
        for (const std::string& entry : desk.log) {
            const std::string name = entry.substr(0, entry.find('('));
            static const std::set<std::string> names = {
                "FindWindowExA", "FindWindowA",  "SetForegroundWindow", "SetActiveWindow", "BringWindowToTop",
                "keybd_event",   "PostMessageA", "SendMessageA",        "Sleep",           "IsIconic",
                "ShowWindow",    "GetCursorPos", "mouse_event",         "SetCursorPos",    "ShellExecuteA",
                "MessageBoxA"};
            if (names.count(name) != 0 || entry == walkStart) calls.push_back(entry);
        }
        return calls;
    }

    ExpectedContext Context(platform::WindowHandle window) const {
        ExpectedContext context;
        context.desktop = desk.desktop();
        context.window = window;
        context.cursor = desk.cursor;
        context.extraInfo = desk.messageExtraInfo;
        context.pointerStep = winDvr6.fastPointer != 0 ? 50 : 10;
        return context;
    }

    // One read of code by the poll tick, far enough from the previous one to
    // be a fresh press whatever pause came before.
    void Route(int code) { ReadAt(static_cast<std::uint8_t>(code), desk.tickCount + 3000); }

    ExpectedKeyMap expected;
};

TEST_P(KeyMapTest, EveryCode_MakesExactlyTheCallsOfItsLine) {
    AddAppWindow(expected.windowText);  // an older window of the same identity, below
    const auto window = AddAppWindow(expected.windowText);
    desk.cursor = {400, 300};
    AppAdapter& record = AppRecord(expected.appId);
    record.active = 1;
    for (int code = 0; code <= 255; ++code) {
        if (code == 12) continue;  // the Power key goes to Power, never to the key map
        record.window = 0x7777;
        const ExpectedContext context = Context(window);
        desk.ClearLog();
        Route(code);
        EXPECT_EQ(Recorded(), ExpectedCalls(expected, code, context)) << expected.file << " code " << code;
        const bool looksUp = expected.codes.count(code) != 0 && !SkipsLookup(expected, code);
        EXPECT_EQ(record.window, looksUp ? window : 0x7777u) << expected.file << " code " << code;
        EXPECT_TRUE(desk.KeysDown().empty()) << expected.file << " code " << code;
        ASSERT_EQ(record.active, 1) << "code " << code;
    }
    desk.ClearLog();
    HandleKey(AppFor(expected.appId), 12);
    EXPECT_TRUE(desk.log.empty());
}

TEST_P(KeyMapTest, WithTheWindowGone_EveryCodeOnlyLooksUp_AndStillPauses) {
    AppAdapter& record = AppRecord(expected.appId);
    record.active = 1;
    const auto foreground = desk.AddWindow("Another program");
    desk.foreground = foreground;
    for (int code = 0; code <= 255; ++code) {
        if (code == 12) continue;
        const ExpectedContext context = Context(0);
        desk.ClearLog();
        Route(code);
        EXPECT_EQ(Recorded(), ExpectedCalls(expected, code, context)) << expected.file << " code " << code;
        if (!SkipsLookup(expected, code)) {
            EXPECT_EQ(record.window, 0u) << expected.file << " code " << code;
        }
    }
    EXPECT_EQ(desk.foreground, foreground);
}

// Whole titles and classes compare without regard to case, except in the
// title walk of Home Theater and WinDVR 6, which finds only the exact title.
TEST_P(KeyMapTest, AWindowInOtherLetterCase_IsFoundUnlessTheLookupIsTheExactTitleWalk) {
    std::string swapped = expected.windowText;
    for (char& c : swapped) {
        const unsigned char u = static_cast<unsigned char>(c);
        c = static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
    }
    const auto window = AddAppWindow(swapped);
    AppAdapter& record = AppRecord(expected.appId);
    record.active = 1;
    const int code = 11;  // Enter, or its like, in every key map
    ASSERT_EQ(expected.codes.count(code), 1u);
    Route(code);
    const bool found = expected.lookup != "walk";
    EXPECT_EQ(record.window, found ? window : 0u);
    EXPECT_EQ(desk.Log({"PostMessageA", "keybd_event"}).empty(), !found);
}

// Every table of tests/key_maps/, so that a new application's table is tested
// once it is there.
std::vector<std::string> TableNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(ALDER_KEY_MAPS_DIR)) {
        if (entry.path().extension() == ".keys") names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(EveryApplication, KeyMapTest, ::testing::ValuesIn(TableNames()),
                         [](const auto& info) { return info.param; });

// A new application without its hand-written table fails here.
TEST(KeyMapTables, EveryAppIdHasAnExpectedTable) {
    std::set<int> covered;
    for (const std::string& name : TableNames()) covered.insert(ReadExpectedKeyMap(name.c_str()).appId);
    for (int k = 1; k <= appCount; ++k) {
        EXPECT_EQ(covered.count(k), 1u) << AppFor(k).name << " (AppId " << k << ") has no table in tests/key_maps/";
    }
}

// --- The departures of Home Theater and WinDVR 6 ------------------------------------

TEST_F(ProductTest, HomeTheaterToggle_RestoresAMinimisedWindow_AndMinimisesItAgain) {
    const auto window = desk.AddWindow("Home Theater");
    AppRecord(homeTheaterId).active = 1;
    ReadAt(75, 2000000);
    EXPECT_TRUE(desk.Find(window)->iconic);
    desk.ClearLog();
    ReadAt(75, 2003000);
    EXPECT_EQ(desk.Log({"IsIconic", "ShowWindow"}),
              (Calls{"IsIconic(" + W(window) + ")", "ShowWindow(" + W(window) + ",9)"}));
    EXPECT_FALSE(desk.Find(window)->iconic);
}

TEST_F(ProductTest, HomeTheaterInCapitals_IsDetectedByTheDispatcher_ButReceivesNothing) {
    desk.AddWindow("HOME THEATER");
    ReadAt(16, 2000000);
    EXPECT_EQ(AppRecord(homeTheaterId).active, 1);
    EXPECT_EQ(AppRecord(homeTheaterId).window, 0u);
    EXPECT_TRUE(desk.Actions().empty());
}

TEST_F(ProductTest, WinDvr6PointerStep_CyclesBetween10And50_AndDetectionResetsIt) {
    desk.AddWindow("InterVideo WinDVR 6");
    winDvr6.fastPointer = 1;
    std::uint32_t time = 2000000;
    const auto move = [&](std::uint8_t code) {
        desk.ClearLog();
        ReadAt(code, time += 3000);
        return desk.Log({"mouse_event"});
    };
    // Detection takes WinDVR 6 up and starts with the small step.
    EXPECT_EQ(move(17), (Calls{"mouse_event(0x1,0,10,0x0,0x0)"}));
    EXPECT_TRUE(move(75).empty());
    EXPECT_EQ(move(17), (Calls{"mouse_event(0x1,0,50,0x0,0x0)"}));
    EXPECT_EQ(move(18), (Calls{"mouse_event(0x1,-50,0,0x0,0x0)"}));
    move(75);
    EXPECT_EQ(move(16), (Calls{"mouse_event(0x1,0,-10,0x0,0x0)"}));
}

TEST_F(ProductTest, WinDvr6PointerStep_SurvivesALaunchByPower) {
    Install(8, "C:\\DVR", "WinDVR.exe");
    winDvr6.fastPointer = 1;
    PowerAndWatch(AppFor(8), settings.defaultApp);
    EXPECT_EQ(AppRecord(winDvr6Id).active, 1);
    EXPECT_EQ(winDvr6.fastPointer, 1);
}

TEST_F(ProductTest, WinDvr6Click_ActsWithoutAnyWindow_Wherever_ThePointerIs) {
    AppRecord(winDvr6Id).active = 1;
    AppRecord(winDvr6Id).window = 0x7777;
    desk.cursor = {1023, 0};
    ReadAt(14, 2000000);
    EXPECT_EQ(desk.Log({"mouse_event"}),
              (Calls{"mouse_event(0x2,1023,0,0x0,0xE1A5)", "mouse_event(0x4,1023,0,0x0,0xE1A5)"}));
    EXPECT_TRUE(Lookups().empty());
    EXPECT_EQ(AppRecord(winDvr6Id).window, 0x7777u);
}

}  // namespace
