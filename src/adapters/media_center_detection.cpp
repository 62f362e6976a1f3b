// The direct test for Windows Media Center: the system version, its
// registration value and its shell in the Windows directory. No state is kept
// between calls; every pass marks the Media Center record installed.
#include "adapters/media_center_detection.h"

#include <cstring>

#include "adapters/app_table.h"
#include "adapters/bounded_text.h"
#include "platform/registry_values.h"
#include "platform/win32_constants.h"

namespace {

constexpr std::uint32_t versionInfoExSize = 156;
constexpr std::uint32_t versionInfoSize =
    148;  // the plain OSVERSIONINFOA, for systems that refuse the EX form

// Windows XP (Media Center Edition), or 7, 8 and 8.1, which brought Media
// Center too; the registration and the shell then decide.
bool IsMediaCenterWindows() {
    platform::OsVersionInfoEx info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = versionInfoExSize;
    if (platform::GetVersionExA(&info) == 0) {
        info.dwOSVersionInfoSize = versionInfoSize;
        if (platform::GetVersionExA(&info) == 0) return false;
    }
    if (info.dwPlatformId != VER_PLATFORM_WIN32_NT) return false;
    if (info.dwMajorVersion == 5) return info.dwMinorVersion == 1;
    return info.dwMajorVersion == 6 && info.dwMinorVersion >= 1 && info.dwMinorVersion <= 3;
}

bool IsRegistered() {
    platform::RegKey key = 0;
    if (OpenKeyForValues(HKEY_LOCAL_MACHINE, "System\\WPA\\MediaCenter", &key) == KeyAccess::none) return false;
    // Four bytes whatever the type: a string value is refused by its size or
    // reads as a number other than 1.
    std::uint32_t installed = 0;
    const bool read = QueryDword(key, "Installed", &installed);
    platform::RegCloseKey(key);
    return read && installed == 1;
}

bool IsShellPresent(char (&path)[mediaCenterShellPathSize]) {
    char directory[256] = {};
    platform::GetWindowsDirectoryA(directory, sizeof directory);
    directory[sizeof directory - 1] = '\0';
    CopyText(path, sizeof path, directory);
    AppendText(path, sizeof path, "\\ehome\\ehshell.exe");
    return platform::OpenFile(path, OF_EXIST) != HFILE_ERROR;
}

}  // namespace

int DetectMediaCenter(char* shellPath, std::size_t shellPathSize) {
    char shell[mediaCenterShellPathSize];
    if (!IsMediaCenterWindows() || !IsRegistered() || !IsShellPresent(shell)) return 0;
    AppRecord(mediaCenterId).installed = 1;
    if (shellPath != nullptr) CopyText(shellPath, shellPathSize, shell);
    return 1;
}
