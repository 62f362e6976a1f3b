// The runtime record of one supported TV application and the operations that
// all records share: install location, finding and launching the
// application, activating it.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct SupportedApp;

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

    explicit AppAdapter(const SupportedApp& app);
    AppAdapter(const AppAdapter&) = delete;
    AppAdapter& operator=(const AppAdapter&) = delete;

    bool ReadInstallInfo(const char* registryKey, const char* valueName, const char* executable);
    platform::WindowHandle FindByTitle() const;
    // defaultAppId: while Media Center is the default application and the
    // system detection finds it, every launch starts the shell it found.
    platform::WindowHandle Launch(std::int32_t defaultAppId);
    platform::WindowHandle ActivateOrLaunch(std::int32_t defaultAppId);
    // What the constructor leaves when nothing was read: not installed, not
    // active, no window; the launch identity stays.
    void Reset();
};
