// The two persistent settings and their in-memory copies.
#pragma once

#include <cstdint>

// HKEY_LOCAL_MACHINE key that holds both values.
extern const char* const settingsKey;

struct Settings {
    // AppId that the Power key launches when no application is active. 6
    // (Quartzview) until the settings are loaded; then the stored 4 bytes as
    // they are, unvalidated: a value outside 1..8 matches no application.
    std::int32_t defaultApp;
    // 1 only when "AlwaysRemoteOff" was read as exactly 1.
    std::uint8_t alwaysRemoteOff;

    // The values before anything is loaded.
    void Reset();
};
extern Settings settings;

// Loads both values, creating the key and any missing value with defaults.
// Where full access to the key is refused, reads it read-only and repairs
// nothing. Always returns 1.
int LoadSettings();
// Writes defaultApp over an existing "DefaultTVAPP"; 1 when written, 0 when
// the key or the value is missing (the save never creates them) or the write
// is refused.
int SaveDefaultApp();
// The stored "DefaultTVAPP" as it is, read without creating or repairing
// anything; false when the key or the value cannot be read.
bool PeekDefaultApp(std::int32_t* value);
