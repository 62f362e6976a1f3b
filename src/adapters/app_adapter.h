// The runtime record of one supported TV application and the operations that
// all records share: install location, finding and launching the
// application, activating it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// Where the application's install location is read from at start-up.
struct InstallLocation {
    const char* registryKey;
    const char* valueName;   // empty: the key's default value
    const char* executable;  // appended to the value's data to launch it
};

// A launch rule of the default application: while it is the default and the
// rule finds its program, every launch starts that program instead (Media
// Center: the shell its detection found). Writes the path and answers 1, or
// answers 0.
using LaunchRule = int (*)(char* path, std::size_t size);

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

    // windowClass and windowTitle: what Launch looks for once it has started
    // the program.
    AppAdapter(const InstallLocation& install, const char* windowClass, const char* windowTitle);
    AppAdapter(const AppAdapter&) = delete;
    AppAdapter& operator=(const AppAdapter&) = delete;

    bool ReadInstallInfo(const char* registryKey, const char* valueName, const char* executable);
    platform::WindowHandle FindByTitle() const;
    // defaultAppRule: the default application's launch rule, or null.
    platform::WindowHandle Launch(LaunchRule defaultAppRule);
    platform::WindowHandle ActivateOrLaunch(LaunchRule defaultAppRule);
    // What the constructor leaves when nothing was read: not installed, not
    // active, no window; the launch identity stays.
    void Reset();
};
