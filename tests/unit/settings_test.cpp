// The settings store: what the load makes of whatever the registry holds,
// the repairs it writes, and the save that never creates anything.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/virtual_store_choice.h"
#include "shell_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class SettingsTest : public ShellTest {
protected:
    std::vector<std::string> RegistryCalls() const {
        return desk.Log({"RegOpenKeyExA", "RegCreateKeyExA", "RegQueryValueExA", "RegSetValueExA", "RegFlushKey",
                         "RegCloseKey"});
    }
    void ExpectDword(const char* name, std::uint32_t value) const {
        const auto stored = desk.GetValue(settingsPath, name);
        ASSERT_TRUE(stored.has_value()) << name;
        EXPECT_EQ(stored->type, REG_DWORD) << name;
        EXPECT_EQ(stored->data, (Bytes{std::uint8_t(value), std::uint8_t(value >> 8), std::uint8_t(value >> 16),
                                       std::uint8_t(value >> 24)}))
            << name;
    }
};

TEST_F(SettingsTest, FirstStart_CreatesTheKeyWithQuartzviewAndRemoteOn) {
    EXPECT_EQ(LoadSettings(), 1);

    ExpectDword("DefaultTVAPP", 6);
    ExpectDword("AlwaysRemoteOff", 0);
    EXPECT_EQ(settings.defaultApp, 6);
    EXPECT_EQ(settings.alwaysRemoteOff, 0);
    const std::string key = "\"Software\\Tarvex Multimedia\\Nimbus XQ Utilities\"";
    const std::string opened = "\"HKLM\\Software\\Tarvex Multimedia\\Nimbus XQ Utilities\"";
    EXPECT_EQ(RegistryCalls(), (std::vector<std::string>{
                                   "RegOpenKeyExA(\"HKLM\"," + key + ",0x0,0x2001B)",
                                   "RegCreateKeyExA(\"HKLM\"," + key + ",0x0,0xF003F)",
                                   "RegSetValueExA(" + opened + ",\"DefaultTVAPP\",0x4,4)",
                                   "RegSetValueExA(" + opened + ",\"AlwaysRemoteOff\",0x4,4)",
                                   "RegFlushKey(" + opened + ")",
                                   "RegCloseKey(" + opened + ")",
                               }));
    EXPECT_EQ(desk.openKeyCount(), 0);
}

TEST_F(SettingsTest, MissingDefault_IsRecreatedAndFlushedBeforeTheSwitchIsRead) {
    desk.SetDword(settingsPath, "AlwaysRemoteOff", 0);

    LoadSettings();

    ExpectDword("DefaultTVAPP", 6);
    EXPECT_EQ(settings.defaultApp, 6);
    const std::string key = "\"HKLM\\Software\\Tarvex Multimedia\\Nimbus XQ Utilities\"";
    EXPECT_EQ(RegistryCalls(), (std::vector<std::string>{
                                   "RegOpenKeyExA(\"HKLM\",\"Software\\Tarvex Multimedia\\Nimbus XQ Utilities\","
                                   "0x0,0x2001B)",
                                   "RegQueryValueExA(" + key + ",\"DefaultTVAPP\",4)",
                                   "RegSetValueExA(" + key + ",\"DefaultTVAPP\",0x4,4)",
                                   "RegFlushKey(" + key + ")",
                                   "RegQueryValueExA(" + key + ",\"AlwaysRemoteOff\",4)",
                                   "RegCloseKey(" + key + ")",
                               }));
}

// Whatever is stored is loaded as its four bytes, unvalidated; shorter data
// is zero-extended and longer data counts as missing and is repaired.
struct StoredDefault {
    const char* what;
    std::uint32_t type;
    Bytes data;
    std::int32_t loaded;
    bool repaired;
};

class StoredDefaultTest : public SettingsTest, public ::testing::WithParamInterface<StoredDefault> {};

TEST_P(StoredDefaultTest, LoadsTheFourBytesAsTheyAre) {
    const StoredDefault& stored = GetParam();
    desk.SetValue(settingsPath, "DefaultTVAPP", stored.type, stored.data);
    desk.SetDword(settingsPath, "AlwaysRemoteOff", 0);

    LoadSettings();

    EXPECT_EQ(settings.defaultApp, stored.loaded);
    const auto after = desk.GetValue(settingsPath, "DefaultTVAPP");
    ASSERT_TRUE(after.has_value());
    if (stored.repaired) {
        EXPECT_EQ(after->type, REG_DWORD);
        EXPECT_EQ(after->data, (Bytes{6, 0, 0, 0}));
    } else {
        EXPECT_EQ(after->data, stored.data) << "a value that was read is not rewritten";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredDefaultTest,
    ::testing::Values(StoredDefault{"TotalMedia", REG_DWORD, {5, 0, 0, 0}, 5, false},
                      StoredDefault{"zero", REG_DWORD, {0, 0, 0, 0}, 0, false},
                      StoredDefault{"nine", REG_DWORD, {9, 0, 0, 0}, 9, false},
                      StoredDefault{"all ones", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, -1, false},
                      StoredDefault{"string \"6\"", REG_SZ, {'6', 0}, 0x36, false},
                      StoredDefault{"one byte", REG_BINARY, {2}, 2, false},
                      StoredDefault{"empty", REG_BINARY, {}, 0, false},
                      StoredDefault{"eight bytes", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, 6, true},
                      StoredDefault{"long string", REG_SZ, {'P', 'o', 'w', 'e', 'r', 0}, 6, true}),
    [](const ::testing::TestParamInfo<StoredDefault>& info) { return "Case" + std::to_string(info.index); });

struct StoredSwitch {
    std::uint32_t type;
    Bytes data;
    std::uint8_t loaded;
    bool repaired;
};

class StoredSwitchTest : public SettingsTest, public ::testing::WithParamInterface<StoredSwitch> {};

TEST_P(StoredSwitchTest, OnlyExactlyOneTurnsTheRemoteOff) {
    const StoredSwitch& stored = GetParam();
    desk.SetDword(settingsPath, "DefaultTVAPP", 6);
    desk.SetValue(settingsPath, "AlwaysRemoteOff", stored.type, stored.data);

    LoadSettings();

    EXPECT_EQ(settings.alwaysRemoteOff, stored.loaded);
    const auto after = desk.GetValue(settingsPath, "AlwaysRemoteOff");
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->data, (stored.repaired ? Bytes{0, 0, 0, 0} : stored.data));
}

INSTANTIATE_TEST_SUITE_P(Values, StoredSwitchTest,
                         ::testing::Values(StoredSwitch{REG_DWORD, {1, 0, 0, 0}, 1, false},
                                           StoredSwitch{REG_DWORD, {0, 0, 0, 0}, 0, false},
                                           StoredSwitch{REG_DWORD, {2, 0, 0, 0}, 0, false},
                                           StoredSwitch{REG_DWORD, {0xFF, 0, 0, 0}, 0, false},
                                           StoredSwitch{REG_DWORD, {1, 0, 0, 1}, 0, false},
                                           StoredSwitch{REG_BINARY, {1}, 1, false},
                                           StoredSwitch{REG_SZ, {'1', 0}, 0, false},
                                           StoredSwitch{REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, 0, true}));

TEST_F(SettingsTest, MissingSwitch_IsRecreatedAsZero) {
    desk.SetDword(settingsPath, "DefaultTVAPP", 3);

    LoadSettings();

    EXPECT_EQ(settings.defaultApp, 3);
    EXPECT_EQ(settings.alwaysRemoteOff, 0);
    ExpectDword("AlwaysRemoteOff", 0);
}

TEST_F(SettingsTest, UnwritableMachineKey_KeepsTheBuiltInValuesAndWritesNothing) {
    desk.denyOpen.insert(settingsPath);
    desk.denyCreate.insert(settingsPath);

    EXPECT_EQ(LoadSettings(), 1);

    EXPECT_EQ(settings.defaultApp, 6);
    EXPECT_EQ(settings.alwaysRemoteOff, 0);
    EXPECT_FALSE(desk.KeyExists(settingsPath));
    EXPECT_TRUE(desk.Log({"RegSetValueExA", "RegFlushKey", "RegCloseKey"}).empty());
}

// A standard account may read HKLM but not open it for writing: the stored
// choice holds, nothing is repaired, and the save says it wrote nothing.
struct StandardAccountCase {
    const char* name;
    std::optional<std::uint32_t> storedDefault;
    std::optional<std::uint32_t> storedSwitch;
    std::int32_t defaultApp;
    std::uint8_t alwaysRemoteOff;
};

class StandardAccount : public SettingsTest, public ::testing::WithParamInterface<StandardAccountCase> {};

TEST_P(StandardAccount, ReadsTheStoredValues_RepairsNothing_SaveFails) {
    const StandardAccountCase& c = GetParam();
    desk.CreateKey(settingsPath);
    if (c.storedDefault) desk.SetDword(settingsPath, "DefaultTVAPP", *c.storedDefault);
    if (c.storedSwitch) desk.SetDword(settingsPath, "AlwaysRemoteOff", *c.storedSwitch);
    desk.readOnly.insert(settingsPath);

    EXPECT_EQ(LoadSettings(), 1);
    EXPECT_EQ(settings.defaultApp, c.defaultApp);
    EXPECT_EQ(settings.alwaysRemoteOff, c.alwaysRemoteOff);
    settings.defaultApp = 2;
    EXPECT_EQ(SaveDefaultApp(), 0);

    EXPECT_TRUE(desk.Log({"RegSetValueExA", "RegCreateKeyExA"}).empty());
    EXPECT_EQ(desk.GetValue(settingsPath, "DefaultTVAPP").has_value(), c.storedDefault.has_value());
    EXPECT_EQ(desk.openKeyCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Stored, StandardAccount,
                         ::testing::Values(StandardAccountCase{"Both", 3, 1, 3, 1},
                                           StandardAccountCase{"DefaultMissing", std::nullopt, 0, 6, 0},
                                           StandardAccountCase{"SwitchMissing", 8, std::nullopt, 8, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// The key as the installer leaves it: every user may read and set its values
// (KEY_SET_VALUE), nothing more. A standard account then repairs a missing
// value and saves its choice like an administrator.
TEST_F(SettingsTest, StandardAccount_OnTheInstallersKey_RepairsAndSaves) {
    desk.SetDword(settingsPath, "DefaultTVAPP", 3);
    desk.valuesOnly.insert(settingsPath);

    LoadSettings();
    ExpectDword("AlwaysRemoteOff", 0);
    settings.defaultApp = 5;
    EXPECT_EQ(SaveDefaultApp(), 1);
    ExpectDword("DefaultTVAPP", 5);
    EXPECT_EQ(desk.openKeyCount(), 0);
}

// A choice an earlier, unmanifested copy left in the user's VirtualStore
// (the installer's key as it leaves it: values settable by every user).
struct VirtualStoreCase {
    const char* name;
    bool wow64View;  // written by a 32-bit copy on 64-bit Windows
    std::uint32_t usersChoice;
    std::optional<std::uint32_t> stored, installers;
    bool storedReadOnly;
    std::uint32_t defaultAfter;
    bool usersCopyLeft;
};

class VirtualStoreChoice : public SettingsTest, public ::testing::WithParamInterface<VirtualStoreCase> {};

TEST_P(VirtualStoreChoice, TakenOverOnceWhereNobodyChoseSinceTheInstaller) {
    const VirtualStoreCase& c = GetParam();
    const std::string copy = std::string("HKCU\\Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\") +
                             (c.wow64View ? "Wow6432Node\\" : "") + "Tarvex Multimedia\\Nimbus XQ Utilities";
    desk.SetDword(copy, "DefaultTVAPP", c.usersChoice);
    desk.SetDword(settingsPath, "AlwaysRemoteOff", 0);
    if (c.stored) desk.SetDword(settingsPath, "DefaultTVAPP", *c.stored);
    if (c.installers) desk.SetDword(settingsPath, "InstallerDefaultTVAPP", *c.installers);
    (c.storedReadOnly ? desk.readOnly : desk.valuesOnly).insert(settingsPath);

    TakeOverVirtualStoreChoice();
    LoadSettings();

    EXPECT_EQ(settings.defaultApp, static_cast<std::int32_t>(c.defaultAfter));
    EXPECT_EQ(desk.GetValue(copy, "DefaultTVAPP").has_value(), c.usersCopyLeft);
    EXPECT_EQ(desk.openKeyCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VirtualStoreChoice,
    ::testing::Values(
        VirtualStoreCase{"InstallersValueStands_Taken", true, 3, 6, 6, false, 3, false},
        VirtualStoreCase{"ThirtyTwoBitWindows_Taken", false, 3, 6, 6, false, 3, false},
        VirtualStoreCase{"NothingStored_Taken", true, 8, std::nullopt, std::nullopt, false, 8, false},
        VirtualStoreCase{"ChosenSinceTheInstaller_DroppedUntaken", true, 3, 5, 6, false, 5, false},
        VirtualStoreCase{"StoredWithoutTheInstallersMark_DroppedUntaken", true, 3, 5, std::nullopt, false, 5, false},
        VirtualStoreCase{"NoApplication_DroppedUntaken", true, 42, 6, 6, false, 6, false},
        VirtualStoreCase{"KeyNotWritable_KeptForALaterStart", true, 3, 6, 6, true, 6, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, FailingRepairWrite_IsIgnored) {
    desk.CreateKey(settingsPath);
    desk.denyWrite.insert(settingsPath);

    EXPECT_EQ(LoadSettings(), 1);

    EXPECT_EQ(settings.defaultApp, 6);
    EXPECT_FALSE(desk.GetValue(settingsPath, "DefaultTVAPP").has_value());
    EXPECT_EQ(desk.openKeyCount(), 0);
}

TEST_F(SettingsTest, DefaultChangedBeforeTheLoad_IsWhatAMissingValueIsRecreatedWith) {
    desk.CreateKey(settingsPath);
    settings.defaultApp = 2;

    LoadSettings();

    ExpectDword("DefaultTVAPP", 2);
}

TEST_F(SettingsTest, Save_ReplacesAnExistingValue) {
    desk.SetDword(settingsPath, "DefaultTVAPP", 6);
    settings.defaultApp = 7;

    EXPECT_EQ(SaveDefaultApp(), 1);

    ExpectDword("DefaultTVAPP", 7);
    EXPECT_EQ(desk.Log({"RegFlushKey"}).size(), 1u);
    EXPECT_EQ(desk.openKeyCount(), 0);
}

TEST_F(SettingsTest, Save_NeverCreatesTheKeyOrTheValue) {
    settings.defaultApp = 7;
    EXPECT_EQ(SaveDefaultApp(), 0);
    EXPECT_FALSE(desk.KeyExists(settingsPath));

    desk.CreateKey(settingsPath);
    EXPECT_EQ(SaveDefaultApp(), 0);
    EXPECT_FALSE(desk.GetValue(settingsPath, "DefaultTVAPP").has_value());
    EXPECT_TRUE(desk.Log({"RegSetValueExA"}).empty());
    EXPECT_EQ(desk.openKeyCount(), 0);
}

}  // namespace
