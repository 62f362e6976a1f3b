// The user's VirtualStore copy of "DefaultTVAPP", taken over once.
#include "settings/virtual_store_choice.h"

#include "adapters/app_ids.h"
#include "platform/registry_values.h"
#include "platform/win32_constants.h"
#include "settings/settings.h"

namespace {

// Where Windows put a legacy program's HKEY_LOCAL_MACHINE\Software writes:
// a 32-bit program on 64-bit Windows wrote through the WOW64 view.
const char* const virtualStoreKeys[] = {
    "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\Tarvex Multimedia\\Nimbus XQ Utilities",
    "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Tarvex Multimedia\\Nimbus XQ Utilities",
};

// What the installer stored as "DefaultTVAPP" (its choice, or the one it kept).
const char* const installerDefaultValue = "InstallerDefaultTVAPP";

enum class Outcome { taken, notTaken, writeFailed };

Outcome TakeOver(std::uint32_t choice) {
    if (!IsAppId(choice)) return Outcome::notTaken;
    platform::RegKey key = 0;
    if (platform::RegOpenKeyExA(HKEY_LOCAL_MACHINE, settingsKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return Outcome::writeFailed;
    std::uint32_t stored = 0;
    std::uint32_t installers = 0;
    const bool hasStored = QueryDword(key, "DefaultTVAPP", &stored);
    const bool untouched = !hasStored || (QueryDword(key, installerDefaultValue, &installers) && stored == installers);
    Outcome outcome = Outcome::notTaken;
    if (untouched && (!hasStored || stored != choice)) {
        const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(choice), 0, 0, 0};
        outcome = platform::RegSetValueExA(key, "DefaultTVAPP", 0, REG_DWORD, bytes, sizeof bytes) == ERROR_SUCCESS
                      ? Outcome::taken
                      : Outcome::writeFailed;
        platform::RegFlushKey(key);
    }
    platform::RegCloseKey(key);
    return outcome;
}

}  // namespace

void TakeOverVirtualStoreChoice() {
    for (const char* path : virtualStoreKeys) {
        platform::RegKey copy = 0;
        if (platform::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &copy) !=
            ERROR_SUCCESS)
            continue;
        std::uint32_t choice = 0;
        if (QueryDword(copy, "DefaultTVAPP", &choice) && TakeOver(choice) != Outcome::writeFailed)
            platform::RegDeleteValueA(copy, "DefaultTVAPP");
        platform::RegCloseKey(copy);
    }
}
