// DetectMediaCenter on the fake desktop: the version test with its retry, the
// registration value and the shell file.
#include "adapters/media_center_detection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "product_fixture.h"

namespace {

const char* const registrationKey = "HKLM\\System\\WPA\\MediaCenter";

class MediaCenterDetectionTest : public ProductTest {
  protected:
    void SetUp() override {
        ProductTest::SetUp();
        RunOnWindowsXp();
        desk.SetDword(registrationKey, "Installed", 1);
        desk.windowsDirectory = "C:\\WINDOWS";
        desk.existingFiles.insert("C:\\WINDOWS\\ehome\\ehshell.exe");
    }
};

TEST_F(MediaCenterDetectionTest, XpWithRegistrationAndShell_Passes_AndMarksTheRecordInstalled) {
    EXPECT_EQ(DetectMediaCenter(), 1);
    EXPECT_EQ(AppRecord(mediaCenterId).installed, 1);
    EXPECT_EQ(desk.Log({"OpenFile"}).size(), 1u);
    EXPECT_NE(desk.Log({"OpenFile"})[0].find("\"C:\\WINDOWS\\ehome\\ehshell.exe\""), std::string::npos)
        << desk.Log({"OpenFile"})[0];
    EXPECT_EQ(desk.openKeyCount(), 0);
}

TEST_F(MediaCenterDetectionTest, ExFormRefused_RetriesWithThePlainForm) {
    desk.versionSizesRefused = {156};
    EXPECT_EQ(DetectMediaCenter(), 1);
    EXPECT_EQ(desk.Log({"GetVersionExA"}).size(), 2u);
}

TEST_F(MediaCenterDetectionTest, BothVersionFormsRefused_Fails_BeforeTheRegistry) {
    desk.versionSizesRefused = {156, 148};
    EXPECT_EQ(DetectMediaCenter(), 0);
    EXPECT_TRUE(desk.Log({"RegOpenKeyExA", "OpenFile"}).empty());
}

// Media Center came with XP Media Center Edition and with Windows 7, 8 and
// 8.1 (6.1 to 6.3); Vista's is not the one supported, and 10 has none.
struct VersionCase {
    const char* name;
    std::uint32_t platformId;
    std::uint32_t major;
    std::uint32_t minor;
    int found;
};

class Versions : public MediaCenterDetectionTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(Versions, OnlyXpAnd7To81_FindIt) {
    const VersionCase& c = GetParam();
    desk.version.dwPlatformId = c.platformId;
    desk.version.dwMajorVersion = c.major;
    desk.version.dwMinorVersion = c.minor;
    AppRecord(mediaCenterId).installed = 0;
    EXPECT_EQ(DetectMediaCenter(), c.found);
    EXPECT_EQ(AppRecord(mediaCenterId).installed, c.found);
}

INSTANTIATE_TEST_SUITE_P(Versions, Versions,
                         ::testing::Values(VersionCase{"Windows2000", 2, 5, 0, 0},
                                           VersionCase{"Server2003", 2, 5, 2, 0}, VersionCase{"Vista", 2, 6, 0, 0},
                                           VersionCase{"Nt4", 2, 4, 0, 0}, VersionCase{"NineXWith51", 1, 5, 1, 0},
                                           VersionCase{"Windows7", 2, 6, 1, 1}, VersionCase{"Windows81", 2, 6, 3, 1},
                                           VersionCase{"Windows10", 2, 10, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RegistrationCase {
    const char* name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;  // empty: no value at all
    int result;
};

class Registration : public MediaCenterDetectionTest,
                     public ::testing::WithParamInterface<RegistrationCase> {};

TEST_P(Registration, PassesOnlyWhenTheFourBytesReadAre1) {
    const RegistrationCase& c = GetParam();
    desk.DeleteKey(registrationKey);
    desk.CreateKey(registrationKey);
    if (!c.data.empty()) desk.SetValue(registrationKey, "Installed", c.type, c.data);
    EXPECT_EQ(DetectMediaCenter(), c.result);
    EXPECT_EQ(desk.openKeyCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Values, Registration,
                         ::testing::Values(RegistrationCase{"Dword1", REG_DWORD, {1, 0, 0, 0}, 1},
                                           RegistrationCase{"Binary1", REG_BINARY, {1, 0, 0, 0}, 1},
                                           RegistrationCase{"Dword2", REG_DWORD, {2, 0, 0, 0}, 0},
                                           RegistrationCase{"Dword0", REG_DWORD, {0, 0, 0, 0}, 0},
                                           RegistrationCase{"HighByteSet", REG_DWORD, {1, 0, 0, 1}, 0},
                                           RegistrationCase{"String1", REG_SZ, {'1', 0}, 0},
                                           RegistrationCase{"LongString", REG_SZ, {'Y', 'e', 's', '!', 0}, 0},
                                           RegistrationCase{"Missing", REG_NONE, {}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MediaCenterDetectionTest, RegistrationKeyMissingOrDenied_Fails) {
    desk.denyOpen.insert(registrationKey);
    EXPECT_EQ(DetectMediaCenter(), 0);
    desk.denyOpen.clear();
    desk.DeleteKey(registrationKey);
    EXPECT_EQ(DetectMediaCenter(), 0);
    EXPECT_TRUE(desk.Log({"OpenFile"}).empty());
}

TEST_F(MediaCenterDetectionTest, RegistrationReadOnly_AsAStandardAccountSeesIt_Passes) {
    desk.readOnly.insert(registrationKey);
    EXPECT_EQ(DetectMediaCenter(), 1);
    EXPECT_EQ(desk.openKeyCount(), 0);
}

TEST_F(MediaCenterDetectionTest, ShellMissingFromTheEhomeFolder_Fails) {
    desk.existingFiles = {"C:\\WINDOWS\\ehshell.exe", "C:\\Program Files\\ehome\\ehshell.exe"};
    EXPECT_EQ(DetectMediaCenter(), 0);
    EXPECT_EQ(AppRecord(mediaCenterId).installed, 0);
}

TEST_F(MediaCenterDetectionTest, Failure_NeverClearsAnInstalledRecord) {
    AppRecord(mediaCenterId).installed = 1;
    desk.existingFiles.clear();
    EXPECT_EQ(DetectMediaCenter(), 0);
    EXPECT_EQ(AppRecord(mediaCenterId).installed, 1);
    for (int k = 1; k <= appCount; ++k) {
        if (k != 4) {
            EXPECT_EQ(AppRecord(k).installed, 0) << "AppId " << k;
        }
    }
}

}  // namespace
