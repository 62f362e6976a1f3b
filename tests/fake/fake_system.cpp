// The fake's resources, timers and clock, shell calls and system services
// (version, Windows directory, files, the shutdown privilege).

#include <cstdio>

#include "fake/fake_calls.h"

namespace platform {

using namespace calls;

namespace {

std::size_t BoundedLength(const char* text, std::size_t max) {
    std::size_t length = 0;
    while (length < max && text[length] != 0) ++length;
    return length;
}

constexpr std::uint32_t kPrivilegeShutdown = 19;  // SE_SHUTDOWN_PRIVILEGE's LUID
constexpr std::uint32_t kEwxReboot = 0x2;

}  // namespace

// --- Resources -----------------------------------------------------------------

int LoadStringA(InstanceHandle instance, std::uint32_t id, char* buffer, int bufferMax) {
    Log("LoadStringA", {Hex(instance), Hex(id), Dec(bufferMax)});
    if (Failing("LoadStringA", 1814)) return 0;
    const auto found = D().strings.find(id);
    return CopyCut(found == D().strings.end() ? std::string() : found->second, buffer, bufferMax);
}

IconHandle LoadIconA(InstanceHandle instance, std::uint32_t resourceId) {
    Log("LoadIconA", {Hex(instance), Hex(resourceId)});
    if (Failing("LoadIconA", 1813)) return 0;
    return 0x50000 + resourceId;
}

CursorHandle LoadCursorA(InstanceHandle instance, std::uint32_t resourceId) {
    Log("LoadCursorA", {Hex(instance), Hex(resourceId)});
    if (Failing("LoadCursorA", 1813)) return 0;
    return 0x60000 + resourceId;
}

AcceleratorHandle LoadAcceleratorsA(InstanceHandle instance, std::uint32_t resourceId) {
    Log("LoadAcceleratorsA", {Hex(instance), Hex(resourceId)});
    if (Failing("LoadAcceleratorsA", 1813)) return 0;
    return 0x70000 + resourceId;
}

// --- Timers and clock --------------------------------------------------------

std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t timerId, std::uint32_t periodMs,
                        TimerProc procedure) {
    Log("SetTimer", {W(window), Hex32(timerId), Dec(periodMs)});
    if (Failing("SetTimer", 8)) return 0;
    fake::Desktop& desktop = D();
    if (window != 0) {
        // Only the calling thread's windows take timers.
        const fake::Window* target = desktop.Find(window);
        if (!target || !target->own) {
            desktop.lastError = kErrorInvalidWindowHandle;
            return 0;
        }
        desktop.PlaceTimer(window, timerId, periodMs, procedure);
        return timerId ? timerId : 1;
    }
    // Without a window Windows ignores the id unless it names an existing
    // thread timer, and hands out a new one.
    if (timerId == 0 || !desktop.TimerSet(0, timerId)) timerId = desktop.nextThreadTimerId++;
    desktop.PlaceTimer(0, timerId, periodMs, procedure);
    return timerId;
}

int KillTimer(WindowHandle window, std::uintptr_t timerId) {
    Log("KillTimer", {W(window), Hex32(timerId)});
    auto& timers = D().timers;
    const auto found = std::find_if(timers.begin(), timers.end(), [&](const fake::TimerState& timer) {
        return timer.window == window && timer.id == timerId;
    });
    if (found == timers.end()) return 0;
    timers.erase(found);
    return 1;
}

std::uint32_t GetTickCount() {
    Log("GetTickCount", {});
    return D().tickCount;
}

void Sleep(std::uint32_t milliseconds) {
    Log("Sleep", {Dec(milliseconds)});
    // The only thread is blocked: time passes, no timer fires.
    D().tickCount += milliseconds;
}

// --- Shell -----------------------------------------------------------------------

int Shell_NotifyIconA(std::uint32_t message, NotifyIconData* data) {
    if (!data) {
        Log("Shell_NotifyIconA", {Hex(message), "null"});
        return 0;
    }
    const std::string tip(data->szTip, BoundedLength(data->szTip, sizeof data->szTip));
    Log("Shell_NotifyIconA",
        {Hex(message), "{" + Dec(data->cbSize) + "," + W(data->hWnd) + "," + Hex(data->uID) + "," +
                           Hex(data->uFlags) + "," + Hex(data->uCallbackMessage) + "," + Hex(data->hIcon) +
                           "," + Str(tip.c_str()) + "}"});
    // A shell not ready yet, or too busy to answer in time.
    if (Failing("Shell_NotifyIconA", 1460)) return 0;
    fake::Desktop& desktop = D();
    desktop.trayCalls.push_back(fake::Desktop::TrayCall{message, *data});
    const std::pair<WindowHandle, std::uint32_t> icon{data->hWnd, data->uID};
    switch (message) {
        case NIM_ADD:
            // Explorer not ready yet: refused, nothing added.
            if (desktop.trayAddFailures > 0) {
                --desktop.trayAddFailures;
                return 0;
            }
            return desktop.trayIcons.insert(icon).second ? 1 : 0;
        case NIM_MODIFY:
            return desktop.trayIcons.count(icon) ? 1 : 0;
        case NIM_DELETE:
            return desktop.trayIcons.erase(icon) ? 1 : 0;
        default:
            return 1;
    }
}

std::intptr_t ShellExecuteA(WindowHandle owner, const char* verb, const char* file, const char* parameters,
                            const char* directory, int showCommand) {
    Log("ShellExecuteA", {W(owner), Str(verb), Str(file), Str(parameters), Str(directory), Dec(showCommand)});
    if (Failing("ShellExecuteA", 5)) return 5;
    const auto onShellExecute = D().onShellExecute;
    return onShellExecute ? onShellExecute(file ? file : "") : 33;
}

// --- System ------------------------------------------------------------------------

int GetVersionExA(OsVersionInfoEx* info) {
    Log("GetVersionExA", {info ? Dec(info->dwOSVersionInfoSize) : "null"});
    if (Failing("GetVersionExA", 87)) return 0;
    if (!info) return 0;
    const std::uint32_t size = info->dwOSVersionInfoSize;
    if ((size != 148 && size != sizeof(OsVersionInfoEx)) || D().versionSizesRefused.count(size)) {
        D().lastError = kErrorInsufficientBuffer;
        return 0;
    }
    // The 148-byte form ends after szCSDVersion: the EX fields stay untouched.
    const auto* source = reinterpret_cast<const std::uint8_t*>(&D().version);
    auto* target = reinterpret_cast<std::uint8_t*>(info);
    const std::size_t skip = sizeof info->dwOSVersionInfoSize;
    std::memcpy(target + skip, source + skip, size - skip);
    return 1;
}

std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    Log("GetWindowsDirectoryA", {Dec(size)});
    if (Failing("GetWindowsDirectoryA", 8)) return 0;
    const std::string& directory = D().windowsDirectory;
    const auto length = static_cast<std::uint32_t>(directory.size());
    if (!buffer || size < length + 1) return length + 1;
    std::memcpy(buffer, directory.c_str(), length + 1);
    return length;
}

int CopyTextToClipboard(WindowHandle owner, const char* text) {
    Log("CopyTextToClipboard", {W(owner), Str(text)});
    if (Failing("CopyTextToClipboard", 1418)) return 0;
    D().clipboard = text ? text : "";
    return 1;
}

std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) {
    Log("GetModuleFileNameA", {Dec(size)});
    if (Failing("GetModuleFileNameA", 8)) return 0;
    const std::string& path = D().moduleFileName;
    if (!buffer || size == 0) return 0;
    // As Windows does: cut to size - 1 characters and a NUL, returning size.
    const auto length = static_cast<std::uint32_t>(path.size());
    const std::uint32_t copied = length < size ? length : size - 1;
    std::memcpy(buffer, path.c_str(), copied);
    buffer[copied] = '\0';
    return length < size ? length : size;
}

void GetLocalTime(LocalTime* time) {
    Log("GetLocalTime", {});
    *time = D().localTime;
}

int OpenFile(const char* path, std::uint32_t style) {
    Log("OpenFile", {Str(path), Hex(style)});
    if (Failing("OpenFile", 2)) return HFILE_ERROR;
    const auto& files = D().existingFiles;
    const bool exists = path && std::any_of(files.begin(), files.end(), [&](const std::string& file) {
                            return fake::EqualNoCase(file, path);
                        });
    if (!exists) {
        D().lastError = ERROR_FILE_NOT_FOUND;
        return HFILE_ERROR;
    }
    return 1;
}

int OpenProcessToken(std::uint32_t desiredAccess, TokenHandle* token) {
    Log("OpenProcessToken", {Hex(desiredAccess)});
    if (Failing("OpenProcessToken", 5)) return 0;
    if (!token) return 0;
    *token = D().nextToken++;
    D().openTokens.insert(*token);
    return 1;
}

int LookupPrivilegeValueA(const char* systemName, const char* name, Luid* luid) {
    Log("LookupPrivilegeValueA", {Str(systemName), Str(name)});
    if (Failing("LookupPrivilegeValueA", 1313)) return 0;
    if (!luid || !name || !fake::EqualNoCase(name, "SeShutdownPrivilege")) {
        D().lastError = kErrorNoSuchPrivilege;
        return 0;
    }
    *luid = Luid{kPrivilegeShutdown, 0};
    return 1;
}

int AdjustTokenPrivileges(TokenHandle token, Luid privilege, std::uint32_t attributes) {
    Log("AdjustTokenPrivileges",
        {Hex(token),
         "{" + Hex(privilege.LowPart) + "," + Hex32(static_cast<std::uint32_t>(privilege.HighPart)) + "}",
         Hex(attributes)});
    if (Failing("AdjustTokenPrivileges", 5)) return 0;
    fake::Desktop& desktop = D();
    if (!desktop.openTokens.count(token)) {
        desktop.lastError = kErrorInvalidHandle;
        return 0;
    }
    // Succeeds even when the privilege is not held; only GetLastError tells.
    const bool granted = desktop.shutdownPrivilegeGranted && privilege.LowPart == kPrivilegeShutdown &&
                         privilege.HighPart == 0;
    if (granted) desktop.shutdownPrivilegeEnabled = (attributes & SE_PRIVILEGE_ENABLED) != 0;
    desktop.lastError = granted ? 0 : ERROR_NOT_ALL_ASSIGNED;
    return 1;
}

int CloseHandle(TokenHandle handle) {
    Log("CloseHandle", {Hex(handle)});
    if (!D().openTokens.erase(handle)) {
        D().lastError = kErrorInvalidHandle;
        return 0;
    }
    return 1;
}

std::uint32_t GetLastError() {
    Log("GetLastError", {});
    return D().lastError;
}

int AllowMessageFromLowerLevel(std::uint32_t message) {
    Log("AllowMessageFromLowerLevel", {Hex(message)});
    if (Failing("AllowMessageFromLowerLevel", 5)) return 0;
    return 1;
}

int RunsWithMoreRights(WindowHandle window) {
    Log("RunsWithMoreRights", {W(window)});
    return D().elevatedWindows.count(window) ? 1 : 0;
}

int RunsOn64BitWindows() {
    Log("RunsOn64BitWindows", {});
    return D().windows64 ? 1 : 0;
}

int IsConsoleSession() {
    Log("IsConsoleSession", {});
    return D().atConsole ? 1 : 0;
}

int WatchSessionChanges(WindowHandle window) {
    Log("WatchSessionChanges", {W(window)});
    if (Failing("WatchSessionChanges", 1722)) return 0;
    return 1;
}

void StopWatchingSessionChanges(WindowHandle window) { Log("StopWatchingSessionChanges", {W(window)}); }

int FormatErrorText(std::uint32_t error, char* text, std::uint32_t size) {
    Log("FormatErrorText", {Hex(error)});
    if (Failing("FormatErrorText", 317)) return 0;
    // The words of the errors the fake itself gives; others have none.
    const std::string words = error == kErrorPrivilegeNotHeld ? "A required privilege is not held by the client."
                              : error == 5                    ? "Access is denied."
                                                              : "";
    if (words.empty() || size == 0) return 0;
    std::snprintf(text, size, "%s", words.c_str());
    return 1;
}

int ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
    Log("ExitWindowsEx", {Hex(flags), Hex(reserved)});
    if (Failing("ExitWindowsEx", 5)) return 0;
    fake::Desktop& desktop = D();
    // NT refuses to shut down or restart for a process without the enabled
    // privilege; Windows 9x has no privileges to enable.
    const bool needsPrivilege = (flags & (EWX_SHUTDOWN | kEwxReboot | EWX_POWEROFF)) != 0 &&
                                desktop.version.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS;
    if (needsPrivilege && !desktop.shutdownPrivilegeEnabled) {
        desktop.lastError = kErrorPrivilegeNotHeld;
        return 0;
    }
    if (!desktop.exitWindowsSucceeds) desktop.lastError = 5;
    return desktop.exitWindowsSucceeds ? 1 : 0;
}

}  // namespace platform
