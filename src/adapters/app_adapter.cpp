// The shared operations of the application records.
#include "adapters/app_adapter.h"

#include <cstring>

#include "adapters/app_ids.h"
#include "adapters/bounded_text.h"
#include "adapters/window_lookup.h"
#include "platform/win32_constants.h"

AppAdapter::AppAdapter(const InstallLocation& install, const char* launchClass, const char* launchTitle)
    : installed(0), active(0), installDir{}, exeName{}, windowClass{}, windowTitle{}, window(0) {
    ReadInstallInfo(install.registryKey, install.valueName, install.executable);
    CopyText(windowClass, sizeof windowClass, launchClass);
    CopyText(windowTitle, sizeof windowTitle, launchTitle);
}

void AppAdapter::Reset() {
    installed = 0;
    active = 0;
    std::memset(installDir, 0, sizeof installDir);
    std::memset(exeName, 0, sizeof exeName);
    window = 0;
}

bool AppAdapter::ReadInstallInfo(const char* registryKey, const char* valueName, const char* executable) {
    installed = 0;
    std::memset(installDir, 0, sizeof installDir);
    std::memset(exeName, 0, sizeof exeName);
    platform::RegKey key = 0;
    if (platform::RegOpenKeyA(HKEY_LOCAL_MACHINE, registryKey, &key) != ERROR_SUCCESS) return false;
    // The value's type is not looked at. The data need not end in a NUL, so
    // the buffer starts cleared and a value that fills all 128 bytes without
    // one is refused like a longer value: installDir is always a string.
    std::uint32_t size = sizeof installDir;
    const long result = platform::RegQueryValueExA(key, valueName, nullptr, nullptr,
                                                   reinterpret_cast<std::uint8_t*>(installDir), &size);
    platform::RegCloseKey(key);
    if (result != ERROR_SUCCESS || installDir[sizeof installDir - 1] != '\0') {
        std::memset(installDir, 0, sizeof installDir);
        return false;
    }
    CopyText(exeName, sizeof exeName, executable);
    installed = 1;
    active = 0;
    return true;
}

platform::WindowHandle AppAdapter::FindByTitle() const {
    return FindTopLevelByTitle(windowTitle);
}

platform::WindowHandle AppAdapter::Launch(LaunchRule defaultAppRule) {
    const auto lookUp = [this] {
        return windowClass[0] != '\0' ? platform::FindWindowA(windowClass, nullptr) : FindByTitle();
    };
    const platform::WindowHandle running = lookUp();
    if (running != 0) return running;
    if (installed == 0) return 0;

    // Room for the install folder, a backslash and the executable's name, or
    // for a launch rule's path (a Windows folder of up to 255 characters and
    // more).
    char path[sizeof installDir + sizeof exeName + 96];
    // The rule depends on the default alone, not on which record is launched.
    if (defaultAppRule == nullptr || defaultAppRule(path, sizeof path) != 1) {
        CopyText(path, sizeof path, installDir);
        AppendText(path, sizeof path, "\\");
        AppendText(path, sizeof path, exeName);
    }

    const std::intptr_t result = platform::ShellExecuteA(0, "open", path, "remote", nullptr, SW_SHOW);
    if (result > 32) {
        active = 1;
    } else {
        platform::MessageBoxA(0, "Can't launch TV application what you want.", "Remote Control", MB_OK);
    }
    // The shell starts the program asynchronously, so this is usually null.
    return lookUp();
}

platform::WindowHandle AppAdapter::ActivateOrLaunch(LaunchRule defaultAppRule) {
    if (installed != 1) return 0;
    platform::WindowHandle found = FindByTitle();
    if (found == 0) found = Launch(defaultAppRule);
    if (found == 0) return 0;
    platform::SetForegroundWindow(found);
    platform::SetActiveWindow(found);
    return found;
}
