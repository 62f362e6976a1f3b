// The Shut Down dialog and the shutdown it confirms, and where the dialogs
// are placed on the screen.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fake/fake_text.h"
#include "product_fixture.h"
#include "shell/dialog_placement.h"

namespace {

class ShutDownDialogTest : public ProductTest {
protected:
    void SetUp() override {
        ProductTest::SetUp();
        RunOnWindowsXp();
    }
    // Runs the dialog; press drives it the way the dispatcher or the user would.
    std::intptr_t ShowAndDo(std::function<void(platform::WindowHandle)> press) {
        desk.onDialog = [this, press](platform::WindowHandle dialog) {
            openWhileShown = shutDownState.shutDownDialogOpen;
            handleWhileShown = shutDownState.shutDownDialog;
            desk.ClearLog();
            press(dialog);
        };
        return ShowShutDownDialog(owner);
    }
    std::vector<std::string> ShutdownCalls() const {
        return desk.Log({"EndDialog", "OpenProcessToken", "LookupPrivilegeValueA", "AdjustTokenPrivileges",
                         "GetLastError", "ExitWindowsEx", "MessageBoxA"});
    }
    static void Key(platform::WindowHandle dialog, std::uint8_t vk) {
        platform::SendMessageA(dialog, WM_KEYDOWN, vk, 0);
    }
    static void Command(platform::WindowHandle dialog, int id) { platform::SendMessageA(dialog, WM_COMMAND, id, 0); }

    std::int32_t openWhileShown = -1;
    platform::WindowHandle handleWhileShown = 0;
};

TEST_F(ShutDownDialogTest, Opening_MarksItOpenStoresItsHandleAndBringsItForward) {
    platform::WindowHandle shown = 0;
    desk.onDialog = [&](platform::WindowHandle dialog) {
        shown = dialog;
        openWhileShown = shutDownState.shutDownDialogOpen;
        handleWhileShown = shutDownState.shutDownDialog;
        Key(dialog, VK_ESCAPE);
    };

    ShowShutDownDialog(owner);

    EXPECT_EQ(openWhileShown, 1);
    EXPECT_EQ(handleWhileShown, shown);
    EXPECT_EQ(shutDownState.shutDownDialogOpen, 0);
    const std::string d = W(shown);
    EXPECT_EQ(desk.Log({"DialogBoxParamA", "SetForegroundWindow", "SetActiveWindow", "SetWindowPos"}),
              (std::vector<std::string>{"DialogBoxParamA(0x0,0x6B," + W(owner) + ",0x0)",
                                        "SetForegroundWindow(" + d + ")", "SetActiveWindow(" + d + ")",
                                        "SetWindowPos(" + d + ",0xFFFFFFFF,350,300,0,0,0x1)"}));
}

TEST_F(ShutDownDialogTest, PowerKey_EndsTheDialogThenPowersOffWithForce) {
    platform::WindowHandle shown = 0;
    const std::intptr_t result = ShowAndDo([&](platform::WindowHandle dialog) {
        shown = dialog;
        Key(dialog, VK_RETURN);
    });

    EXPECT_EQ(result, 13);
    EXPECT_EQ(ShutdownCalls(),
              (std::vector<std::string>{"EndDialog(" + W(shown) + ",0xD)", "OpenProcessToken(0x28)",
                                        "LookupPrivilegeValueA(null,\"SeShutdownPrivilege\")",
                                        desk.Log({"AdjustTokenPrivileges"}).at(0), "GetLastError()",
                                        "ExitWindowsEx(0xC,0x800000FF)"}));
    EXPECT_NE(desk.Log({"AdjustTokenPrivileges"}).at(0).find(",0x2)"), std::string::npos)
        << "the privilege is enabled";
}

TEST_F(ShutDownDialogTest, OkButton_ShutsDownLikeThePowerKey) {
    EXPECT_EQ(ShowAndDo([](platform::WindowHandle dialog) { Command(dialog, IDOK); }), 1);

    EXPECT_EQ(desk.Log({"ExitWindowsEx"}), std::vector<std::string>{"ExitWindowsEx(0xC,0x800000FF)"});
}

struct CancelWay {
    const char* what;
    bool byKey;
    int keyOrId;
    std::intptr_t result;
};

class ShutDownCancelTest : public ShutDownDialogTest, public ::testing::WithParamInterface<CancelWay> {};

TEST_P(ShutDownCancelTest, ClosesTheDialogAndNothingElse) {
    const CancelWay& way = GetParam();
    platform::WindowHandle shown = 0;
    const std::intptr_t result = ShowAndDo([&](platform::WindowHandle dialog) {
        shown = dialog;
        if (way.byKey)
            Key(dialog, static_cast<std::uint8_t>(way.keyOrId));
        else
            Command(dialog, way.keyOrId);
    });

    EXPECT_EQ(result, way.result);
    EXPECT_EQ(ShutdownCalls(), std::vector<std::string>{"EndDialog(" + W(shown) + "," + fake::Hex(way.result) + ")"});
    EXPECT_EQ(shutDownState.shutDownDialogOpen, 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, ShutDownCancelTest,
                         ::testing::Values(CancelWay{"escape", true, VK_ESCAPE, 27},
                                           CancelWay{"cancel", false, IDCANCEL, 2}));

TEST_F(ShutDownDialogTest, OtherKeys_AreNotTheDialogs) {
    std::vector<platform::LResult> handled;
    ShowAndDo([&](platform::WindowHandle dialog) {
        for (std::uint8_t vk : {VK_SPACE, VK_F4, VK_TAB, std::uint8_t('A')})
            handled.push_back(platform::SendMessageA(dialog, WM_KEYDOWN, vk, 0));
        EXPECT_EQ(shutDownState.shutDownDialogOpen, 1);
        Key(dialog, VK_ESCAPE);
    });

    EXPECT_EQ(handled, (std::vector<platform::LResult>{0, 0, 0, 0}));
}

TEST_F(ShutDownDialogTest, Windows9x_ShutsDownWithoutThePrivilegeDance) {
    desk.version.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    desk.version.dwMajorVersion = 4;
    desk.version.dwMinorVersion = 10;

    ShowAndDo([](platform::WindowHandle dialog) { Key(dialog, VK_RETURN); });

    EXPECT_EQ(desk.Log({"OpenProcessToken", "AdjustTokenPrivileges", "ExitWindowsEx"}),
              std::vector<std::string>{"ExitWindowsEx(0x1,0x0)"});
}

TEST_F(ShutDownDialogTest, WithoutTheShutdownPrivilege_NothingHappensAndNothingIsShown) {
    desk.shutdownPrivilegeGranted = false;

    ShowAndDo([](platform::WindowHandle dialog) { Key(dialog, VK_RETURN); });

    EXPECT_TRUE(desk.Log({"ExitWindowsEx", "MessageBoxA"}).empty());
}

TEST_F(ShutDownDialogTest, RefusedShutdown_IsReported) {
    desk.exitWindowsSucceeds = false;

    ShowAndDo([](platform::WindowHandle dialog) { Key(dialog, VK_RETURN); });

    EXPECT_EQ(desk.Log({"MessageBoxA"}),
              std::vector<std::string>{
                  "MessageBoxA(0x0,\"Can't run ExitWindowsEx.\n\nAccess is denied.\",\"Remote Control\",0x0)"});
}

TEST_F(ShutDownDialogTest, DialogThatCannotBeCreated_LeavesNoStaleDialogBehind) {
    desk.failingDialogs.insert(107);

    EXPECT_EQ(ShowShutDownDialog(owner), -1);

    EXPECT_EQ(shutDownState.shutDownDialogOpen, 0);
}

TEST_F(ShutDownDialogTest, SuspendWhileOpen_ClickedCancel_ThenResume_KeysGoToThePointerNotTheOldDialog) {
    pollTimer.Configure(owner, 65);
    pollTimer.Arm();
    ShowAndDo([&](platform::WindowHandle dialog) {
        MainWndProc(owner, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
        EXPECT_FALSE(desk.TimerSet(owner, 1));
        // No tick reaches the dialog while suspended: the user answers it.
        Command(dialog, IDCANCEL);
    });
    EXPECT_EQ(shutDownState.shutDownDialogOpen, 0);
    MainWndProc(owner, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    ASSERT_TRUE(desk.TimerSet(owner, 1));
    desk.ClearLog();
    desk.cursor = {500, 400};
    ReadAt(6, desk.tickCount + 1000);
    EXPECT_TRUE(desk.Log({"SendMessageA"}).empty());
    EXPECT_EQ(desk.Log({"SetCursorPos"}).size(), 1u) << "the number key moved the pointer";
    pollTimer.Disarm();
}

// Widths without a row: centred on the work area (the screen less a taskbar
// 40 pixels high), the fake's windows being 300 x 120.
struct Placement {
    int screenWidth;
    int x;
    int y;
};

class PlaceDialogTest : public ProductTest, public ::testing::WithParamInterface<Placement> {};

TEST_P(PlaceDialogTest, MovesToTheTablePositionOrTheWorkAreasCentre_AndStaysOnTop) {
    desk.metrics[SM_CXFULLSCREEN] = GetParam().screenWidth;
    if (GetParam().screenWidth > 1600) desk.workArea = {0, 0, GetParam().screenWidth, 1040};
    const auto dialog = AddOwnWindow("Remote Control - About");

    PlaceDialog(dialog);

    EXPECT_EQ(desk.Log({"SetWindowPos"}),
              std::vector<std::string>{"SetWindowPos(" + W(dialog) + ",0xFFFFFFFF," + std::to_string(GetParam().x) +
                                       "," + std::to_string(GetParam().y) + ",0,0,0x1)"});
}

INSTANTIATE_TEST_SUITE_P(Widths, PlaceDialogTest,
                         ::testing::Values(Placement{640, 160, 200}, Placement{800, 280, 250},
                                           Placement{1024, 350, 300}, Placement{1152, 420, 300},
                                           Placement{1280, 420, 300}, Placement{1600, 580, 340},
                                           Placement{1366, 362, 304}, Placement{1920, 810, 460},
                                           Placement{2560, 1130, 460}, Placement{0, 362, 304}));

}  // namespace
