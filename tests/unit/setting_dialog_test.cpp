// The Setting dialog's list, preselection and save rules, and the About
// dialog, both opened the way the tray menu opens them.
#include "shell/setting_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fake/fake_text.h"
#include "product_fixture.h"
#include "shell/tray_menu.h"

namespace {

using Calls = std::vector<std::string>;
using Names = std::vector<std::string>;

const char* const settingsPath = "HKLM\\Software\\Tarvex Multimedia\\Nimbus XQ Utilities";

class SettingDialogTest : public ProductTest {
  protected:
    void SetUp() override {
        ProductTest::SetUp();
        settingDialog.lastSettingIndex = -1;
        program.appInstance = 0x400000;
        desk.SetDword(settingsPath, "DefaultTVAPP", 6);
        desk.SetDword(settingsPath, "AlwaysRemoteOff", 0);
    }

    void InstallAll() {
        for (int k = 1; k <= 8; ++k)
            if (k != 4) Install(k, "C:\\TV", "tv.exe");
    }
    void ProvideMediaCenter() {
        RunOnWindowsXp();
        desk.SetDword("HKLM\\System\\WPA\\MediaCenter", "Installed", 1);
        desk.existingFiles.insert("C:\\windows\\ehome\\ehshell.exe");
    }

    // Opens Setting from the menu; act plays the user inside the open dialog.
    // Returns what the dialog offered: its entries, with the selection shown
    // when it opened.
    void Open(const std::function<void(platform::WindowHandle)>& act) {
        desk.onDialog = [this, act](platform::WindowHandle dialog) {
            shown = dialog;
            const fake::Desktop::ComboBox& list = desk.comboBoxes[{dialog, 11}];
            offered = list.items;
            preselected = list.selection;
            act(dialog);
        };
        MainWndProc(owner, WM_COMMAND, 32, 0);
        desk.onDialog = nullptr;
    }
    static std::function<void(platform::WindowHandle)> Choose(int index, int button) {
        return [index, button](platform::WindowHandle dialog) {
            platform::SendDlgItemMessageA(dialog, 11, CB_SETCURSEL, static_cast<platform::WParam>(index), 0);
            platform::SendMessageA(dialog, WM_COMMAND, static_cast<platform::WParam>(button), 0);
        };
    }
    static std::function<void(platform::WindowHandle)> Press(int button) {
        return [button](platform::WindowHandle dialog) {
            platform::SendMessageA(dialog, WM_COMMAND, static_cast<platform::WParam>(button), 0);
        };
    }
    std::vector<std::string> RegistryWrites() const {
        return desk.Log({"RegOpenKeyExA", "RegCreateKeyExA", "RegSetValueExA"});
    }

    platform::WindowHandle shown = 0;
    Names offered;
    int preselected = -2;
};

TEST_F(SettingDialogTest, Opening_PlacesItEmptiesTheListAddsTheAvailableAppsInAppIdOrder_SelectsTheDefault) {
    Install(1, "C:\\PC", "PowerCinema.exe");
    Install(3, "C:\\ICTV", "HT IC-TV.exe");
    ProvideMediaCenter();
    Install(6, "C:\\TV", "MainPanel.exe");
    Install(8, "C:\\DVR", "WinDVR.exe");
    Open(Press(IDCANCEL));
    const std::string d = W(shown);
    EXPECT_EQ(desk.Log({"SetWindowPos", "SendDlgItemMessageA"}),
              (Calls{"SetWindowPos(" + d + ",0xFFFFFFFF,350,300,0,0,0x1)",
                     "SendDlgItemMessageA(" + d + ",0xB,0x14B,0x0,0x0)",
                     "SendDlgItemMessageA(" + d + ",0xB,0x143,0x0,\"PowerCinema\")",
                     "SendDlgItemMessageA(" + d + ",0xB,0x143,0x0,\"My IC-TV\")",
                     "SendDlgItemMessageA(" + d + ",0xB,0x143,0x0,\"Media Center\")",
                     "SendDlgItemMessageA(" + d + ",0xB,0x143,0x0,\"Quartzview\")",
                     "SendDlgItemMessageA(" + d + ",0xB,0x143,0x0,\"WinDVR 6\")",
                     "SendDlgItemMessageA(" + d + ",0xB,0x14E,0x3,0x0)"}));
    EXPECT_EQ(preselected, 3);
    EXPECT_EQ(settingDialog.lastSettingIndex, 3);
}

TEST_F(SettingDialogTest, EveryApplication_ListedUnderItsOwnName) {
    InstallAll();
    ProvideMediaCenter();
    Open(Press(IDCANCEL));
    EXPECT_EQ(offered, (Names{"PowerCinema", "Home Theater", "My IC-TV", "Media Center", "TotalMedia",
                              "Quartzview", "SnapStream", "WinDVR 6"}));
}

TEST_F(SettingDialogTest, MediaCenter_ListedByItsDetection_NotByItsRecord) {
    AppRecord(mediaCenterId).installed = 1;
    Install(5, "C:\\TM", "TotalMedia.exe");
    Open(Press(IDCANCEL));
    EXPECT_EQ(offered, (Names{"TotalMedia"}));
}

TEST_F(SettingDialogTest, OkOnAnotherEntry_MakesItTheDefault_AndSavesIt) {
    InstallAll();
    Open(Choose(3, IDOK));  // TotalMedia: Media Center is not listed
    EXPECT_EQ(settings.defaultApp, 5);
    EXPECT_EQ(settingDialog.lastSettingIndex, 3);
    EXPECT_EQ(desk.GetDword(settingsPath, "DefaultTVAPP"), 5u);
    EXPECT_EQ(desk.Log({"RegSetValueExA"}),
              (Calls{"RegSetValueExA(\"HKLM\\Software\\Tarvex Multimedia\\Nimbus XQ "
                     "Utilities\",\"DefaultTVAPP\",0x4,4)"}));
    EXPECT_EQ(desk.Log({"EndDialog"}), (Calls{"EndDialog(" + W(shown) + ",0x1)"}));
}

// The choice holds for the run either way; the user is told when it will
// not survive a restart.
struct UnsavedChoiceCase {
    const char* name;
    std::function<void(fake::Desktop&)> registry;
    bool told;
};

class OkWhenTheSaveFails : public SettingDialogTest, public ::testing::WithParamInterface<UnsavedChoiceCase> {};

TEST_P(OkWhenTheSaveFails, KeepsTheChoiceForTheRun_AndSaysSo) {
    const UnsavedChoiceCase& c = GetParam();
    InstallAll();
    c.registry(desk);
    Open(Choose(3, IDOK));
    EXPECT_EQ(settings.defaultApp, 5);
    const Calls expected = {"MessageBoxA(" + W(shown) + ",\"" + choiceNotSavedText + "\",\"Remote Control\",0x30)"};
    EXPECT_EQ(desk.Log({"MessageBoxA"}), c.told ? expected : Calls{});
    EXPECT_EQ(desk.Log({"EndDialog"}), (Calls{"EndDialog(" + W(shown) + ",0x1)"}));
}

INSTANTIATE_TEST_SUITE_P(
    Registry, OkWhenTheSaveFails,
    ::testing::Values(UnsavedChoiceCase{"Saved", [](fake::Desktop&) {}, false},
                      UnsavedChoiceCase{"StandardAccount", [](fake::Desktop& d) { d.readOnly.insert(settingsPath); },
                                        true},
                      UnsavedChoiceCase{"WriteRefused", [](fake::Desktop& d) { d.denyWrite.insert(settingsPath); },
                                        true},
                      UnsavedChoiceCase{"KeyDeletedMeanwhile", [](fake::Desktop& d) { d.DeleteKey(settingsPath); },
                                        true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingDialogTest, OkOnTheDefaultsOwnEntry_WritesNothing) {
    InstallAll();
    Open(Press(IDOK));
    EXPECT_EQ(settings.defaultApp, 6);
    EXPECT_TRUE(RegistryWrites().empty());
    EXPECT_EQ(desk.Log({"EndDialog"}), (Calls{"EndDialog(" + W(shown) + ",0x1)"}));
}

TEST_F(SettingDialogTest, EscapeAfterPickingAnother_ChangesNothing_AndTheNextOpeningShowsTheDefaultAgain) {
    InstallAll();
    Open(Choose(0, IDCANCEL));
    EXPECT_EQ(desk.Log({"EndDialog"}), (Calls{"EndDialog(" + W(shown) + ",0x2)"}));
    EXPECT_EQ(settings.defaultApp, 6);
    EXPECT_TRUE(RegistryWrites().empty());
    Open(Press(IDCANCEL));
    EXPECT_EQ(preselected, 4);
}

TEST_F(SettingDialogTest, NothingInstalled_SaysSoAndWhereToLook_ThenCloses) {
    Open(Press(IDOK));
    const Calls boxes = desk.Log({"MessageBoxA"});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("nothing to choose"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("user guide"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find(",\"Remote Control\",0x40)"), std::string::npos) << boxes[0];
    EXPECT_EQ(desk.Log({"EndDialog"}).size(), 1u);
    EXPECT_NE(desk.Log({"EndDialog"})[0].find(",0x2)"), std::string::npos) << "cancelled";
    EXPECT_EQ(settings.defaultApp, 6);
    EXPECT_TRUE(RegistryWrites().empty());
}

TEST_F(SettingDialogTest, NoSelection_AsAfterTypingIntoTheEditField_OkChangesNothing) {
    InstallAll();
    Open([this](platform::WindowHandle dialog) {
        desk.comboBoxes[{dialog, 11}].selection = -1;
        platform::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(settings.defaultApp, 6);
    EXPECT_EQ(settingDialog.lastSettingIndex, -1);
    EXPECT_TRUE(RegistryWrites().empty());
    Open(Press(IDCANCEL));
    EXPECT_EQ(preselected, 4) << "the default's entry again";
}

TEST_F(SettingDialogTest, DefaultNotListed_PreselectsTheFirstEntry_ThenTheOneLastPreselectedOrConfirmed) {
    Install(2, "C:\\HT", "Home Theater.exe");
    Install(5, "C:\\TM", "TotalMedia.exe");
    Install(7, "C:\\BTV", "BTVD3DShell.exe");
    settings.defaultApp = 6;  // Quartzview, not installed
    Open(Press(IDCANCEL));
    EXPECT_EQ(preselected, 0) << "nothing preselected or confirmed yet in this run";

    settings.defaultApp = 7;
    Open(Press(IDCANCEL));
    EXPECT_EQ(preselected, 2);
    settings.defaultApp = 9;  // as a DefaultTVAPP outside 1 to 8 would load
    Open(Press(IDCANCEL));
    EXPECT_EQ(preselected, 2) << "the entry last preselected";

    Open(Choose(1, IDOK));
    EXPECT_EQ(settings.defaultApp, 5);
    settings.defaultApp = 0;
    Open(Press(IDCANCEL));
    EXPECT_EQ(preselected, 1) << "the entry last confirmed";
}

TEST_F(SettingDialogTest, OpenedAgainFromTheMenuWhileOpen_BothWork_TheInnerChoiceIsSaved) {
    InstallAll();
    desk.onDialog = [this](platform::WindowHandle outer) {
        desk.onDialog = [](platform::WindowHandle inner) { Choose(0, IDOK)(inner); };
        MainWndProc(owner, WM_COMMAND, 32, 0);
        platform::SendMessageA(outer, WM_COMMAND, IDCANCEL, 0);
    };
    MainWndProc(owner, WM_COMMAND, 32, 0);
    EXPECT_EQ(desk.Log({"DialogBoxParamA"}).size(), 2u);
    EXPECT_EQ(desk.Log({"EndDialog"}).size(), 2u);
    EXPECT_EQ(settings.defaultApp, 1);
    EXPECT_EQ(desk.GetDword(settingsPath, "DefaultTVAPP"), 1u);
}

// --- Placement and the About dialog ---------------------------------------------------

struct PlacementCase {
    int screenWidth;
    const char* expected;  // null: not moved, not topmost
};

class DialogPlacement : public SettingDialogTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(DialogPlacement, AboutAndSetting_ArePlacedByScreenWidth) {
    InstallAll();
    desk.metrics[SM_CXFULLSCREEN] = GetParam().screenWidth;
    for (const platform::WParam command : {30u, 32u}) {
        desk.ClearLog();
        desk.onDialog = [&](platform::WindowHandle dialog) {
            shown = dialog;
            platform::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        };
        MainWndProc(owner, WM_COMMAND, command, 0);
        const Calls expected =
            GetParam().expected ? Calls{"SetWindowPos(" + W(shown) + GetParam().expected + ")"} : Calls{};
        EXPECT_EQ(desk.Log({"SetWindowPos"}), expected) << command;
    }
}

// The whole table is PlaceDialog's own test; here only that both dialogs use it.
INSTANTIATE_TEST_SUITE_P(Widths, DialogPlacement,
                         ::testing::Values(PlacementCase{1280, ",0xFFFFFFFF,420,300,0,0,0x1"},
                                           PlacementCase{1366, ",0xFFFFFFFF,362,304,0,0,0x1"}),
                         [](const auto& info) { return "Width" + std::to_string(info.param.screenWidth); });

TEST_F(SettingDialogTest, About_OkAndCancelEndItWithTheirIds_OtherMessagesAreLeftToTheSystem) {
    for (const int button : {IDOK, IDCANCEL}) {
        std::vector<std::intptr_t> answers;
        desk.ClearLog();
        desk.onDialog = [&](platform::WindowHandle dialog) {
            shown = dialog;
            const platform::DialogProc procedure = desk.Find(dialog)->dialogProcedure;
            answers.push_back(procedure(dialog, WM_COMMAND, 3, 0));
            answers.push_back(procedure(dialog, WM_KEYDOWN, VK_RETURN, 0));
            answers.push_back(procedure(dialog, WM_COMMAND, static_cast<platform::WParam>(button), 0));
        };
        MainWndProc(owner, WM_COMMAND, 30, 0);
        EXPECT_EQ(answers, (std::vector<std::intptr_t>{0, 0, 1})) << button;
        EXPECT_EQ(desk.Log({"EndDialog"}), (Calls{"EndDialog(" + W(shown) + "," + fake::Hex(button) + ")"}));
    }
    EXPECT_EQ(settings.defaultApp, 6);
    EXPECT_TRUE(RegistryWrites().empty());
}

}  // namespace
