// Opening a key under HKEY_LOCAL_MACHINE for its values. The program asks for
// full access, so that it can repair a missing value; where that is refused
// (a standard account on the NT family, with no registry virtualisation), it
// opens the key read-only, so that the stored values still hold.
#pragma once

#include "platform/platform.h"
#include "platform/win32_constants.h"

enum class KeyAccess { none, full, readOnly };

inline KeyAccess OpenKeyForValues(platform::RegKey root, const char* path, platform::RegKey* key) {
    const long result = platform::RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, key);
    if (result == ERROR_SUCCESS) return KeyAccess::full;
    if (result == ERROR_ACCESS_DENIED && platform::RegOpenKeyExA(root, path, 0, KEY_READ, key) == ERROR_SUCCESS)
        return KeyAccess::readOnly;
    return KeyAccess::none;
}
