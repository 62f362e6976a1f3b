// The two persistent settings: which application the Power key launches, and
// a switch that stops the program at start-up.
#include "settings/settings.h"

#include "adapters/app_ids.h"
#include "platform/registry_values.h"
#include "platform/win32_constants.h"

const char* const settingsKey = "Software\\Tarvex Multimedia\\Nimbus XQ Utilities";

Settings settings = {quartzviewId, 0};

void Settings::Reset() {
    defaultApp = quartzviewId;
    alwaysRemoteOff = 0;
}

namespace {

const char* const defaultAppValue = "DefaultTVAPP";
const char* const alwaysRemoteOffValue = "AlwaysRemoteOff";

bool WriteDword(platform::RegKey key, const char* name, std::uint32_t value) {
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                   static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return platform::RegSetValueExA(key, name, 0, REG_DWORD, bytes, sizeof bytes) == ERROR_SUCCESS;
}

}  // namespace

int LoadSettings() {
    const std::uint32_t defaultToWrite = static_cast<std::uint32_t>(settings.defaultApp);
    const std::uint32_t alwaysRemoteOffToWrite = 0;
    platform::RegKey key = 0;
    const KeyAccess access = OpenKeyForValues(HKEY_LOCAL_MACHINE, settingsKey, &key);
    if (access != KeyAccess::none) {
        // Each repair write is flushed before the next value is read. A key
        // opened read-only cannot be repaired; its values are read all the same.
        const bool repairable = access == KeyAccess::full;
        std::uint32_t value = 0;
        if (QueryDword(key, defaultAppValue, &value)) {
            settings.defaultApp = static_cast<std::int32_t>(value);
        } else if (repairable) {
            WriteDword(key, defaultAppValue, defaultToWrite);
            platform::RegFlushKey(key);
        }
        if (QueryDword(key, alwaysRemoteOffValue, &value)) {
            settings.alwaysRemoteOff = value == 1 ? 1 : 0;
        } else if (repairable) {
            WriteDword(key, alwaysRemoteOffValue, alwaysRemoteOffToWrite);
            platform::RegFlushKey(key);
        }
        platform::RegCloseKey(key);
        return 1;
    }
    if (platform::RegCreateKeyExA(HKEY_LOCAL_MACHINE, settingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        WriteDword(key, defaultAppValue, defaultToWrite);
        WriteDword(key, alwaysRemoteOffValue, alwaysRemoteOffToWrite);
        platform::RegFlushKey(key);
        platform::RegCloseKey(key);
    }
    return 1;
}

bool PeekDefaultApp(std::int32_t* value) {
    platform::RegKey key = 0;
    if (platform::RegOpenKeyExA(HKEY_LOCAL_MACHINE, settingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    std::uint32_t stored = 0;
    const bool read = QueryDword(key, defaultAppValue, &stored);
    platform::RegCloseKey(key);
    if (read) *value = static_cast<std::int32_t>(stored);
    return read;
}

int SaveDefaultApp() {
    platform::RegKey key = 0;
    if (platform::RegOpenKeyExA(HKEY_LOCAL_MACHINE, settingsKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return 0;
    // The save only replaces an existing value; creating it is the load's job.
    std::uint32_t existing = 0;
    if (!QueryDword(key, defaultAppValue, &existing)) {
        platform::RegCloseKey(key);
        return 0;
    }
    const bool written = WriteDword(key, defaultAppValue, static_cast<std::uint32_t>(settings.defaultApp));
    platform::RegFlushKey(key);
    platform::RegCloseKey(key);
    return written ? 1 : 0;
}
