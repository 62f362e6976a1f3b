// Pointer emulation on the fake desktop: limits, acceleration, the strict
// edges, clicks and the button hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "product_fixture.h"

namespace {

using Calls = std::vector<std::string>;

class PointerTest : public ProductTest {
  protected:
    void SetUp() override {
        ProductTest::SetUp();
        UpdatePointerLimits(768 << 16 | 1024);
    }
};

TEST(PointerStepRule, OnePixelForMoves1To4_SmallFor5To9_LargeFrom10) {
    std::vector<int> steps;
    for (int n = 1; n <= 12; ++n) steps.push_back(PointerStep(n, 6, 12));
    EXPECT_EQ(steps, (std::vector<int>{1, 1, 1, 1, 6, 6, 6, 6, 6, 12, 12, 12}));
    EXPECT_EQ(PointerStep(1000000, 6, 12), 12);
}

struct DisplayCase {
    int width;
    int height;
    std::int32_t right;
    std::int32_t bottom;
    std::int32_t small;
    std::int32_t large;
};

class DisplayChange : public PointerTest, public ::testing::WithParamInterface<DisplayCase> {};

TEST_P(DisplayChange, SetsLimitsAndStepsFromTheNewResolution) {
    const DisplayCase& c = GetParam();
    UpdatePointerLimits(static_cast<platform::LParam>(c.height) << 16 | c.width);
    EXPECT_EQ(pointer.pointerRect.left, 0);
    EXPECT_EQ(pointer.pointerRect.top, 0);
    EXPECT_EQ(pointer.pointerRect.right, c.right);
    EXPECT_EQ(pointer.pointerRect.bottom, c.bottom);
    EXPECT_EQ(pointer.smallStep, c.small);
    EXPECT_EQ(pointer.largeStep, c.large);
    EXPECT_TRUE(desk.log.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Resolutions, DisplayChange,
    ::testing::Values(DisplayCase{640, 480, 639, 479, 4, 8}, DisplayCase{800, 600, 799, 599, 5, 10},
                      DisplayCase{1024, 768, 1023, 767, 6, 12}, DisplayCase{1280, 1024, 1279, 1023, 8, 16},
                      // No odd-height correction on a display change.
                      DisplayCase{1024, 749, 1023, 748, 6, 12}),
    [](const auto& info) {
        return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
    });

TEST_F(PointerTest, DisplayChange_UsesOnlyTheLow32BitsOfLParam) {
    UpdatePointerLimits(static_cast<platform::LParam>(0x7FFF'0000'0000LL) | (600 << 16) | 800);
    EXPECT_EQ(pointer.pointerRect.right, 799);
    EXPECT_EQ(pointer.pointerRect.bottom, 599);
}

struct StartupCase {
    int cxFullScreen;
    int cyFullScreen;
    std::int32_t right;
    std::int32_t bottom;
    std::int32_t small;
    std::int32_t large;
};

class StartupLimits : public PointerTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(StartupLimits, OddFullScreenHeightGets19PixelsBack) {
    const StartupCase& c = GetParam();
    desk.metrics[SM_CXFULLSCREEN] = c.cxFullScreen;
    desk.metrics[SM_CYFULLSCREEN] = c.cyFullScreen;
    InitPointerLimits();
    EXPECT_EQ(pointer.pointerRect.right, c.right);
    EXPECT_EQ(pointer.pointerRect.bottom, c.bottom);
    EXPECT_EQ(pointer.smallStep, c.small);
    EXPECT_EQ(pointer.largeStep, c.large);
}

INSTANTIATE_TEST_SUITE_P(FullScreenMetrics, StartupLimits,
                         ::testing::Values(StartupCase{1024, 749, 1023, 767, 6, 12},
                                           StartupCase{1024, 712, 1023, 711, 6, 12},
                                           StartupCase{800, 581, 799, 599, 5, 10},
                                           StartupCase{1280, 1024, 1279, 1023, 8, 16}),
                         [](const auto& info) { return "Height" + std::to_string(info.param.cyFullScreen); });

// Metrics that answered 0 at start-up are asked again by the first move.
TEST_F(PointerTest, LimitsUnreadAtStart_AreReadAgainByTheFirstMove) {
    InitPointerLimits();  // no metric answers
    desk.metrics[SM_CXFULLSCREEN] = 1024;
    desk.metrics[SM_CYFULLSCREEN] = 749;
    desk.cursor = {100, 400};
    EmulatePointer(6);
    EXPECT_EQ(desk.cursor.x, 101);
    EXPECT_EQ(pointer.pointerRect.right, 1023);
}

TEST_F(PointerTest, HeldDirectionKey_Accelerates_1Then6Then12_On1024PixelScreen) {
    desk.cursor = {100, 400};
    for (int move = 0; move < 12; ++move) EmulatePointer(6);
    EXPECT_EQ(desk.Log({"SetCursorPos"}),
              (Calls{"SetCursorPos(101,400)", "SetCursorPos(102,400)", "SetCursorPos(103,400)",
                     "SetCursorPos(104,400)", "SetCursorPos(110,400)", "SetCursorPos(116,400)",
                     "SetCursorPos(122,400)", "SetCursorPos(128,400)", "SetCursorPos(134,400)",
                     "SetCursorPos(146,400)", "SetCursorPos(158,400)", "SetCursorPos(170,400)"}));
    EXPECT_EQ(pointer.moveCount, 12);
}

struct DirectionCase {
    std::uint32_t code;
    int dx;
    int dy;
};

class Direction : public PointerTest, public ::testing::WithParamInterface<DirectionCase> {};

TEST_P(Direction, MovesAsTheKeypadLayoutSays) {
    const DirectionCase& c = GetParam();
    desk.cursor = {500, 400};
    pointer.moveCount = 9;  // the next move is the tenth: largeStep
    EmulatePointer(c.code);
    EXPECT_EQ(desk.Log({"SetCursorPos"}), (Calls{"SetCursorPos(" + std::to_string(500 + 12 * c.dx) + "," +
                                                 std::to_string(400 + 12 * c.dy) + ")"}));
}

INSTANTIATE_TEST_SUITE_P(Codes, Direction,
                         ::testing::Values(DirectionCase{1, -1, -1}, DirectionCase{2, 0, -1},
                                           DirectionCase{3, 1, -1}, DirectionCase{4, -1, 0},
                                           DirectionCase{6, 1, 0}, DirectionCase{7, -1, 1},
                                           DirectionCase{8, 0, 1}, DirectionCase{9, 1, 1}),
                         [](const auto& info) { return "Code" + std::to_string(info.param.code); });

TEST_F(PointerTest, CreepingLeft_EndsAtColumn1_NeverOnTheEdge) {
    desk.cursor = {20, 300};
    for (int move = 0; move < 40; ++move) EmulatePointer(4);
    EXPECT_EQ(desk.cursor.x, 1);
    for (const std::string& entry : desk.Log({"SetCursorPos"})) {
        EXPECT_EQ(entry.rfind("SetCursorPos(0,", 0), std::string::npos) << entry;
        EXPECT_EQ(entry.rfind("SetCursorPos(-", 0), std::string::npos) << entry;
    }
}

struct EdgeCase {
    const char* name;
    platform::Point start;
    std::uint32_t code;
};

class EdgeRefusal : public PointerTest, public ::testing::WithParamInterface<EdgeCase> {};

// Right is width - 1 and bottom is height - 1: those rows and columns are out too.
TEST_P(EdgeRefusal, MoveOntoOrPastAnEdge_IsRefused_AndRestartsAcceleration) {
    const EdgeCase& c = GetParam();
    desk.cursor = c.start;
    pointer.moveCount = 3;
    EmulatePointer(c.code);
    EXPECT_TRUE(desk.Log({"SetCursorPos"}).empty());
    EXPECT_EQ(pointer.moveCount, 0);
}

INSTANTIATE_TEST_SUITE_P(Edges, EdgeRefusal,
                         ::testing::Values(EdgeCase{"Left", {1, 300}, 4}, EdgeCase{"Top", {500, 1}, 2},
                                           EdgeCase{"Right", {1022, 300}, 6},
                                           EdgeCase{"Bottom", {500, 766}, 8},
                                           EdgeCase{"DiagonalCrossingTopOnly", {500, 1}, 3},
                                           EdgeCase{"DiagonalCrossingLeftOnly", {1, 500}, 7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PointerTest, RefusedDiagonal_MovesNeitherAxis_ThenTheNextMoveSteps1Pixel) {
    desk.cursor = {500, 3};
    pointer.moveCount = 4;  // the next move steps smallStep (6): y would be -3
    EmulatePointer(1);
    EXPECT_TRUE(desk.Log({"SetCursorPos"}).empty());
    EmulatePointer(6);
    EXPECT_EQ(desk.Log({"SetCursorPos"}), (Calls{"SetCursorPos(501,3)"}));
}

TEST_F(PointerTest, Clicks_UseFixedButtons_AtThePointer_WithFreshExtraInfo) {
    desk.cursor = {300, 200};
    desk.metrics[SM_SWAPBUTTON] = 1;  // codes 0 and 10 do not look at it
    EmulatePointer(0);
    EmulatePointer(10);
    EXPECT_EQ(desk.Actions(),
              (Calls{"mouse_event(0x2,300,200,0x0,0xE1A5)", "mouse_event(0x4,300,200,0x0,0xE1A5)",
                     "mouse_event(0x8,300,200,0x0,0xE1A5)", "mouse_event(0x10,300,200,0x0,0xE1A5)"}));
    const Calls order = desk.Log({"GetMessageExtraInfo", "mouse_event"});
    ASSERT_EQ(order.size(), 8u);
    for (std::size_t i = 0; i < order.size(); i += 2) {
        EXPECT_EQ(order[i].rfind("GetMessageExtraInfo", 0), 0u) << i;
        EXPECT_EQ(order[i + 1].rfind("mouse_event", 0), 0u) << i;
    }
    EXPECT_EQ(pointer.buttonHeld, 0);
}

struct HoldCase {
    const char* name;
    int swapped;       // SM_SWAPBUTTON at the first code 5
    int swappedLater;  // and from the second on
    Calls flags;       // of the events of code 5, code 5, code 5, then the release at the program's end
};

class ButtonHold : public PointerTest, public ::testing::WithParamInterface<HoldCase> {};

TEST_P(ButtonHold, Code5_TogglesThePrimaryButton_AndLetsGoOfTheOneItPressed) {
    const HoldCase& c = GetParam();
    desk.cursor = {40, 50};
    Calls expected;
    for (int i = 0; i < 4; ++i) {
        desk.metrics[SM_SWAPBUTTON] = i == 0 ? c.swapped : c.swappedLater;
        i < 3 ? EmulatePointer(5) : ReleaseButtonHold();
        expected.push_back("mouse_event(" + c.flags[i] + ",40,50,0x0,0xE1A5)");
        EXPECT_EQ(pointer.buttonHeld, i % 2 == 0 ? 1 : 0);
    }
    ReleaseButtonHold();  // nothing held: nothing sent
    EXPECT_EQ(desk.Log({"mouse_event"}), expected);
}

INSTANTIATE_TEST_SUITE_P(Buttons, ButtonHold,
                         ::testing::Values(HoldCase{"Normal", 0, 0, {"0x2", "0x4", "0x2", "0x4"}},
                                           HoldCase{"Swapped", 1, 1, {"0x8", "0x10", "0x8", "0x10"}},
                                           // The user swaps the buttons while one is held.
                                           HoldCase{"SwappedWhileHeld", 0, 1, {"0x2", "0x4", "0x8", "0x10"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PointerTest, ClicksAndHold_LeaveMoveCountAlone) {
    pointer.moveCount = 7;
    for (const std::uint32_t code : {0u, 5u, 10u}) EmulatePointer(code);
    EXPECT_EQ(pointer.moveCount, 7);
}

TEST_F(PointerTest, CodesAbove10_DoNothing) {
    pointer.moveCount = 3;
    for (const std::uint32_t code : {11u, 12u, 16u, 79u, 255u, 0xFFFFFFFFu}) EmulatePointer(code);
    EXPECT_TRUE(desk.log.empty());
    EXPECT_EQ(pointer.moveCount, 3);
    EXPECT_EQ(pointer.buttonHeld, 0);
}

}  // namespace
