// The record of one supported TV application and the operations that all eight
// records share: install location, finding and launching the application,
// activating it and injecting input.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// One supported application. A global object that lives for the whole run; its
// constructor reads the install location from the registry before WinMain.
struct AppAdapter {
    std::int32_t installed;         // 1 when the registry value was read at start-up
    std::int32_t active;            // 1 while the remote drives this application
    char installDir[128];           // the registry value's data, NUL-terminated
    char exeName[64];               // empty unless the registry value was found
    char windowClass[64];           // Launch looks up by class when not empty, else by title
    char windowTitle[64];           // the whole title that FindByTitle compares
    platform::WindowHandle window;  // what the most recent key action (or storing Close) found

    AppAdapter(const char* registryKey, const char* valueName, const char* executable, const char* className,
               const char* title);
    AppAdapter(const AppAdapter&) = delete;
    AppAdapter& operator=(const AppAdapter&) = delete;

    bool ReadInstallInfo(const char* registryKey, const char* valueName, const char* executable);
    platform::WindowHandle FindByTitle() const;
    platform::WindowHandle Launch();
    platform::WindowHandle ActivateOrLaunch();
};

// Modifier downs in the order given, the last key down and up, modifier ups in
// reverse; keys ends at the first 0 or after maxChordKeys keys.
constexpr int maxChordKeys = 4;
void SendChord(const std::uint8_t* keys);
