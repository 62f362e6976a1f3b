// Reading the program's registry values: opening a key under
// HKEY_LOCAL_MACHINE for them, and reading a 32-bit value.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/win32_constants.h"

enum class KeyAccess { none, full, readOnly };

// The program asks to read and set values, so that it can repair a missing
// one: no more, so that a standard account on a key that lets users set
// values (as the installer leaves the settings key) gets it. Where even that
// is refused, it opens the key read-only, so that the stored values still
// hold.
inline KeyAccess OpenKeyForValues(platform::RegKey root, const char* path, platform::RegKey* key) {
    const long result = platform::RegOpenKeyExA(root, path, 0, KEY_READ | KEY_SET_VALUE, key);
    if (result == ERROR_SUCCESS) return KeyAccess::full;
    if (result == ERROR_ACCESS_DENIED && platform::RegOpenKeyExA(root, path, 0, KEY_READ, key) == ERROR_SUCCESS)
        return KeyAccess::readOnly;
    return KeyAccess::none;
}

// Reads a 32-bit value into a zeroed 4-byte buffer: shorter data is thereby
// zero-extended, longer data fails. The value's type is not looked at, so a
// string value is refused by its size or reads as some number.
inline bool QueryDword(platform::RegKey key, const char* name, std::uint32_t* value) {
    std::uint8_t buffer[4] = {};
    std::uint32_t size = sizeof buffer;
    if (platform::RegQueryValueExA(key, name, nullptr, nullptr, buffer, &size) != ERROR_SUCCESS) return false;
    *value = static_cast<std::uint32_t>(buffer[0]) | static_cast<std::uint32_t>(buffer[1]) << 8 |
             static_cast<std::uint32_t>(buffer[2]) << 16 | static_cast<std::uint32_t>(buffer[3]) << 24;
    return true;
}
