// The registry as the input: every value the program reads (the two settings,
// the eight install locations, the Media Center registration), each absent or
// of any type with 0 to 300 bytes of any content, terminated or not, its key
// present or not, the settings key possibly refusing to open, be created or be
// written. Through the install reads of the records, start-up, the Power-key
// launch of each application, the save of the default application (after
// the value may have changed under the running program), directly and through
// the Setting dialog, and Media
// Center detection. After every step:
//  - installDir and exeName are strings inside their arrays, and an installed
//    record's installDir is the stored text;
//  - the settings are loaded and repaired exactly as the load says: a value
//    that reads (4 bytes or fewer, any type) is taken zero-extended and left
//    alone, any other is rewritten as a REG_DWORD default; the save writes
//    only over a value that reads, and says 1 only when it wrote;
//  - nothing outside the settings key is ever written;
//  - a launch starts only the installed record's directory and program;
//  - Media Center is detected exactly on Windows XP with "Installed" reading
//    as 1 and its shell present;
//  - no registry key or token handle is left open.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "adapters/app_table.h"
#include "adapters/media_center_detection.h"
#include "dispatch/key_dispatcher.h"
#include "fake/fake_text.h"
#include "fuzz_support.h"
#include "platform/win32_constants.h"
#include "receiver/receiver_access.h"
#include "dispatch/timer_slot.h"
#include "shell/main_window.h"
#include "settings/settings.h"
#include "shell/tray_menu.h"

namespace {

const std::string settingsPath = "HKLM\\Software\\Tarvex Multimedia\\Nimbus XQ Utilities";
const std::string mediaCenterPath = "HKLM\\System\\WPA\\MediaCenter";

struct InstallValue {
    const char* key;  // under HKLM
    const char* value;
    const char* executable;
};
// By AppId.
const InstallValue installValues[8] = {
    {"SOFTWARE\\CyberLink\\PowerCinema", "InstallPath", "PowerCinema.exe"},
    {"Software\\InterVideo\\Home Theater", "PATH", "Home Theater.exe"},
    {"Software\\Honestech\\HT IC-TV", "AppPath", "HT IC-TV.exe"},
    {"SOFTWARE\\Classes\\Applications\\ehshell.exe\\shell\\open\\command", "", ""},
    {"SOFTWARE\\ArcSoft\\TotalMedia\\2.0", "AppPath", "TotalMedia.exe"},
    {"Software\\Honestech\\TV Plus\\DTVR", "AppPath", "MainPanel.exe"},
    {"SOFTWARE\\SnapStream Media\\Beyond TV", "InstallDir", "BTVD3DShell.exe"},
    {"Software\\InterVideo\\DVR6", "PATH", "WinDVR.exe"},
};

std::uint32_t PickType(FuzzedDataProvider& input) {
    constexpr std::uint32_t common[] = {REG_SZ, REG_DWORD, 3 /*REG_BINARY*/, 2 /*REG_EXPAND_SZ*/,
                                        7 /*REG_MULTI_SZ*/};
    const int pick = input.ConsumeIntegralInRange<int>(0, 5);
    return pick < 5 ? common[pick] : input.ConsumeIntegral<std::uint32_t>();
}

// A value of the input's making: absent, its key absent, or any type with
// 0 to 300 bytes, mostly text with or without its NUL.
void PlaceValue(FuzzedDataProvider& input, const std::string& keyPath, const std::string& name) {
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            return;  // no key
        case 1:
            fuzz::Desk().CreateKey(keyPath);
            return;  // key without the value
        default:
            break;
    }
    const std::uint32_t type = PickType(input);
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 300);
    std::vector<std::uint8_t> data;
    if (input.ConsumeBool()) {
        std::string text = input.ConsumeBytesAsString(length);
        data.assign(text.begin(), text.end());
    } else {
        data = input.ConsumeBytes<std::uint8_t>(length);
    }
    fuzz::Desk().SetValue(keyPath, name, type, data);
}

using Snapshot = std::map<std::string, std::map<std::string, fake::RegistryValue>>;

bool SameValue(const fake::RegistryValue& a, const fake::RegistryValue& b) {
    return a.type == b.type && a.data == b.data;
}

// Everything but the settings key is as it was.
void CheckOnlySettingsWritten(const Snapshot& before) {
    Snapshot after = fuzz::Desk().registry;
    Snapshot was = before;
    const std::string settings = fake::KeyPathKey(settingsPath);
    after.erase(settings);
    was.erase(settings);
    // Creating the settings key creates the keys above it that were missing.
    for (std::size_t end = settings.find('\\'); end != std::string::npos;
         end = settings.find('\\', end + 1)) {
        const std::string parent = settings.substr(0, end);
        if (!was.count(parent) && after.count(parent) && after.at(parent).empty()) after.erase(parent);
    }
    FUZZ_CHECK(after.size() == was.size(), "a key was created or deleted outside the settings key");
    for (const auto& [key, values] : was) {
        const auto found = after.find(key);
        FUZZ_CHECK(found != after.end(), "key " + key + " vanished");
        FUZZ_CHECK(found->second.size() == values.size(), "values of " + key + " added or removed");
        for (const auto& [name, value] : values) {
            const auto other = found->second.find(name);
            FUZZ_CHECK(other != found->second.end() && SameValue(other->second, value),
                       "value " + key + "\\" + name + " changed");
        }
    }
}

// A value reads into a 4-byte buffer when present with 4 bytes or fewer.
std::optional<std::uint32_t> ReadsAsDword(const std::optional<fake::RegistryValue>& value) {
    if (!value || value->data.size() > 4) return std::nullopt;
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < value->data.size(); ++i) number |= std::uint32_t(value->data[i]) << (8 * i);
    return number;
}

bool SameKey(const std::string& path, const Snapshot& before) {
    const Snapshot& now = fuzz::Desk().registry;
    const auto was = before.find(fake::KeyPathKey(path));
    const auto is = now.find(fake::KeyPathKey(path));
    if ((was == before.end()) != (is == now.end())) return false;
    if (was == before.end()) return true;
    if (was->second.size() != is->second.size()) return false;
    for (const auto& [name, value] : was->second) {
        const auto other = is->second.find(name);
        if (other == is->second.end() || !SameValue(other->second, value)) return false;
    }
    return true;
}

// Neither present, or both with the same type and bytes.
bool Unchanged(const std::optional<fake::RegistryValue>& before,
               const std::optional<fake::RegistryValue>& after) {
    return (!before && !after) || (before && after && SameValue(*before, *after));
}

bool IsDword(const std::optional<fake::RegistryValue>& value, std::uint32_t number) {
    return value && value->type == REG_DWORD && ReadsAsDword(value) == number && value->data.size() == 4;
}

void CheckRecords(const Snapshot& registry) {
    for (int k = 1; k <= appCount; ++k) {
        const AppAdapter& record = AppRecord(k);
        FUZZ_CHECK(std::memchr(record.installDir, 0, sizeof record.installDir) != nullptr,
                   "installDir unterminated");
        FUZZ_CHECK(std::memchr(record.exeName, 0, sizeof record.exeName) != nullptr, "exeName unterminated");
        if (record.installed != 1) continue;
        // Media Center also counts as installed when the system detection finds it.
        if (k == 4 && record.installDir[0] == '\0') continue;
        const InstallValue& install = installValues[k - 1];
        const auto key = registry.find(fake::KeyPathKey("HKLM\\" + std::string(install.key)));
        FUZZ_CHECK(key != registry.end(), "installed without its key, AppId " + std::to_string(k));
        const auto value = key->second.find(fake::Lower(install.value));
        FUZZ_CHECK(value != key->second.end(), "installed without its value, AppId " + std::to_string(k));
        const std::vector<std::uint8_t>& data = value->second.data;
        const std::string stored(data.begin(), data.end());
        FUZZ_CHECK(std::string(record.installDir) == stored.substr(0, stored.find('\0')),
                   "installDir is not the stored text, AppId " + std::to_string(k));
        FUZZ_CHECK(std::string(record.exeName) == install.executable, "exeName, AppId " + std::to_string(k));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    fuzz::FreshDesktop();
    fake::Desktop& desk = fuzz::Desk();
    // As the process is before WinMain: no main window, no receiver yet.
    desk.RemoveWindow(program.mainWindow);
    program.mainWindow = 0;
    receiver.receiverControl = nullptr;
    desk.strings[22] = "Alder Remote Control";
    desk.strings[23] = "Alder Remote Control";

    PlaceValue(input, settingsPath, "DefaultTVAPP");
    PlaceValue(input, settingsPath, "AlwaysRemoteOff");
    for (const InstallValue& install : installValues)
        PlaceValue(input, "HKLM\\" + std::string(install.key), install.value);
    PlaceValue(input, mediaCenterPath, "Installed");
    const std::uint8_t refusals = input.ConsumeIntegral<std::uint8_t>();
    if (refusals & 1) desk.denyOpen.insert(settingsPath);
    if (refusals & 2) desk.denyCreate.insert(settingsPath);
    if (refusals & 4) desk.denyWrite.insert(settingsPath);
    const bool windowsXp = input.ConsumeBool();
    if (windowsXp) {
        desk.version.dwPlatformId = VER_PLATFORM_WIN32_NT;
        desk.version.dwMajorVersion = 5;
        desk.version.dwMinorVersion = 1;
    }
    const bool shellPresent = input.ConsumeBool();
    if (shellPresent) desk.existingFiles.insert("C:\\windows\\ehome\\ehshell.exe");
    desk.onMessageBox = [](const std::string&, const std::string&) { return IDOK; };
    std::vector<std::string> launched;
    desk.onShellExecute = [&launched](const std::string& file) {
        launched.push_back(file);
        return std::intptr_t{33};
    };

    // The records' install reads, as before WinMain.
    const Snapshot initial = desk.registry;
    for (int k = 1; k <= appCount; ++k) {
        const InstallValue& install = installValues[k - 1];
        AppRecord(k).ReadInstallInfo(install.key, install.value, install.executable);
    }
    CheckRecords(initial);
    fuzz::CheckNoHandlesOpen();
    CheckOnlySettingsWritten(initial);
    FUZZ_CHECK(SameKey(settingsPath, initial), "the install reads wrote to the settings key");

    // Start-up loads and repairs the settings.
    const bool keyExisted = desk.KeyExists(settingsPath);
    const auto defaultBefore = desk.GetValue(settingsPath, "DefaultTVAPP");
    const auto offBefore = desk.GetValue(settingsPath, "AlwaysRemoteOff");
    RunRemoteControl(0x400000);
    CheckOnlySettingsWritten(initial);
    fuzz::CheckNoHandlesOpen();
    CheckRecords(initial);
    const bool opens = keyExisted && !(refusals & 1);
    const auto defaultAfter = desk.GetValue(settingsPath, "DefaultTVAPP");
    const auto offAfter = desk.GetValue(settingsPath, "AlwaysRemoteOff");
    if (opens) {
        const auto stored = ReadsAsDword(defaultBefore);
        if (stored) {
            FUZZ_CHECK(settings.defaultApp == static_cast<std::int32_t>(*stored), "defaultApp is the stored value");
            FUZZ_CHECK(defaultAfter && SameValue(*defaultAfter, *defaultBefore),
                       "a readable DefaultTVAPP rewritten");
        } else {
            FUZZ_CHECK(settings.defaultApp == 6, "defaultApp stays 6 when DefaultTVAPP does not read");
            FUZZ_CHECK((refusals & 4) ? Unchanged(defaultBefore, defaultAfter) : IsDword(defaultAfter, 6),
                       "DefaultTVAPP repaired as REG_DWORD 6");
        }
        const auto off = ReadsAsDword(offBefore);
        if (off) {
            FUZZ_CHECK(settings.alwaysRemoteOff == (*off == 1 ? 1 : 0), "alwaysRemoteOff is the stored value == 1");
            FUZZ_CHECK(offAfter && SameValue(*offAfter, *offBefore), "a readable AlwaysRemoteOff rewritten");
        } else {
            FUZZ_CHECK(settings.alwaysRemoteOff == 0, "alwaysRemoteOff stays 0");
            FUZZ_CHECK((refusals & 4) ? Unchanged(offBefore, offAfter) : IsDword(offAfter, 0),
                       "AlwaysRemoteOff repaired as REG_DWORD 0");
        }
    } else {
        FUZZ_CHECK(settings.defaultApp == 6 && settings.alwaysRemoteOff == 0, "built-in settings when the key does not open");
        if (!keyExisted && !(refusals & 2) && !(refusals & 4)) {
            FUZZ_CHECK(IsDword(defaultAfter, 6) && IsDword(offAfter, 0), "a created key holds both defaults");
        }
        if (keyExisted) FUZZ_CHECK(SameKey(settingsPath, initial), "a key that did not open was written");
    }

    // The Power-key launch of applications the input picks.
    const platform::WindowHandle owner = desk.AddOwnWindow("Alder Remote Control", nullptr);
    program.mainWindow = owner;
    watchTimer.Configure(owner, 1000);
    OpenReceiver();
    for (int launches = input.ConsumeIntegralInRange<int>(0, 3); launches > 0; --launches) {
        settings.defaultApp = input.ConsumeIntegralInRange<int>(0, 9);
        for (int k = 1; k <= appCount; ++k) AppRecord(k).active = 0;
        launched.clear();
        desk.keyQueue.push_back(12);
        desk.tickCount += 1000;
        DispatchKey(owner, WM_TIMER, 1, desk.tickCount);
        FUZZ_CHECK(launched.size() <= 1, "one launch per Power key");
        for (const std::string& file : launched) {
            const AppAdapter& record = AppRecord(settings.defaultApp);
            const bool mediaCenterShell = settings.defaultApp == 4 && file.find("\\ehshell.exe") != std::string::npos;
            FUZZ_CHECK(mediaCenterShell || (record.installed == 1 &&
                                            file == std::string(record.installDir) + "\\" + record.exeName),
                       "launched what the default application's record does not name: " + file);
        }
        CheckOnlySettingsWritten(initial);
        fuzz::CheckNoHandlesOpen();
        fuzz::CheckNothingLeftDown();
    }

    // The Setting dialog's save, after another program may have changed the
    // value or deleted the key while the program ran.
    {
        switch (input.ConsumeIntegralInRange<int>(0, 2)) {
            case 1:
                PlaceValue(input, settingsPath, "DefaultTVAPP");
                break;
            case 2:
                desk.DeleteKey(settingsPath);
                break;
            default:
                break;
        }
        const auto before = desk.GetValue(settingsPath, "DefaultTVAPP");
        const bool reads =
            desk.KeyExists(settingsPath) && !(refusals & 1) && ReadsAsDword(before).has_value();
        settings.defaultApp = input.ConsumeIntegralInRange<int>(0, 9);
        const int saved = SaveDefaultApp();
        const auto after = desk.GetValue(settingsPath, "DefaultTVAPP");
        FUZZ_CHECK(saved == (reads && !(refusals & 4) ? 1 : 0),
                   "the save reports whether it found the value and wrote it");
        if (reads && !(refusals & 4)) {
            FUZZ_CHECK(IsDword(after, static_cast<std::uint32_t>(settings.defaultApp)), "the save writes defaultApp");
        } else {
            FUZZ_CHECK(Unchanged(before, after), "the save wrote over a value that does not read");
        }
        CheckOnlySettingsWritten(initial);
        fuzz::CheckNoHandlesOpen();
    }

    // The same save through the Setting dialog, opened from the tray menu:
    // the user picks any entry and confirms.
    {
        const auto before = desk.GetValue(settingsPath, "DefaultTVAPP");
        const bool reads =
            desk.KeyExists(settingsPath) && !(refusals & 1) && ReadsAsDword(before).has_value();
        const std::int32_t defaultBefore = settings.defaultApp;
        const std::uint8_t pick = input.ConsumeIntegral<std::uint8_t>();
        desk.onDialog = [pick](platform::WindowHandle dialog) {
            const std::size_t count = fuzz::Desk().comboBoxes[{dialog, 11}].items.size();
            if (count > 0) platform::SendDlgItemMessageA(dialog, 11, CB_SETCURSEL, pick % count, 0);
            platform::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        };
        OnMenuCommand(32);
        desk.onDialog = nullptr;
        const auto after = desk.GetValue(settingsPath, "DefaultTVAPP");
        if (reads && !(refusals & 4) && settings.defaultApp != defaultBefore) {
            FUZZ_CHECK(IsDword(after, static_cast<std::uint32_t>(settings.defaultApp)), "the dialog saves the choice");
        } else {
            FUZZ_CHECK(Unchanged(before, after),
                       "the dialog wrote without a new choice or over a value that "
                       "does not read");
        }
        CheckOnlySettingsWritten(initial);
        fuzz::CheckNoHandlesOpen();
    }

    // Media Center detection.
    {
        const auto installed = ReadsAsDword(desk.GetValue(mediaCenterPath, "Installed"));
        const bool expected = windowsXp && installed == 1u && shellPresent;
        FUZZ_CHECK(DetectMediaCenter() == (expected ? 1 : 0), "Media Center detection");
        CheckOnlySettingsWritten(initial);
        fuzz::CheckNoHandlesOpen();
    }
    return 0;
}
