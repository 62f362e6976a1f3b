// Resources, the shell, the Windows version, files and the shutdown.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "platform/win32/handles.h"
#include "platform/win32/later_calls.h"

namespace platform {

int LoadStringA(InstanceHandle instance, std::uint32_t id, char* buffer, int bufferMax) {
    return ::LoadStringA(ToWin<HINSTANCE>(instance), id, buffer, bufferMax);
}

IconHandle LoadIconA(InstanceHandle instance, std::uint32_t resourceId) {
    return FromWin(::LoadIconA(ToWin<HINSTANCE>(instance), MAKEINTRESOURCEA(resourceId)));
}

CursorHandle LoadCursorA(InstanceHandle instance, std::uint32_t resourceId) {
    return FromWin(::LoadCursorA(ToWin<HINSTANCE>(instance), MAKEINTRESOURCEA(resourceId)));
}

AcceleratorHandle LoadAcceleratorsA(InstanceHandle instance, std::uint32_t resourceId) {
    return FromWin(::LoadAcceleratorsA(ToWin<HINSTANCE>(instance), MAKEINTRESOURCEA(resourceId)));
}

int Shell_NotifyIconA(std::uint32_t message, NotifyIconData* data) {
    // The shell reads only the cbSize bytes the caller declares (88: the
    // fields below), whatever the size of the SDK's structure. The 64-bit
    // twin declares the same fields at its own layout's size.
    static_assert(!thirtyTwoBitProcess || NOTIFYICONDATAA_V1_SIZE == 88, "the first form is 88 bytes in a 32-bit process");
    NOTIFYICONDATAA record = {};
    record.cbSize = thirtyTwoBitProcess ? data->cbSize : NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = ToHwnd(data->hWnd);
    record.uID = data->uID;
    record.uFlags = data->uFlags;
    record.uCallbackMessage = data->uCallbackMessage;
    record.hIcon = ToWin<HICON>(data->hIcon);
    static_assert(sizeof record.szTip >= sizeof data->szTip, "the tip field holds 64 bytes");
    std::memcpy(record.szTip, data->szTip, sizeof data->szTip);
    return ::Shell_NotifyIconA(message, &record);
}

std::intptr_t ShellExecuteA(WindowHandle owner, const char* verb, const char* file, const char* parameters,
                            const char* directory, int showCommand) {
    return reinterpret_cast<std::intptr_t>(
        ::ShellExecuteA(ToHwnd(owner), verb, file, parameters, directory, showCommand));
}

int GetVersionExA(OsVersionInfoEx* info) {
    static_assert(sizeof(OSVERSIONINFOA) == 148 && sizeof(OSVERSIONINFOEXA) == 156,
                  "the version records have no pointers: one size in every build");
    OSVERSIONINFOEXA version = {};
    version.dwOSVersionInfoSize = info->dwOSVersionInfoSize;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL result = ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version));
#pragma GCC diagnostic pop
    info->dwMajorVersion = version.dwMajorVersion;
    info->dwMinorVersion = version.dwMinorVersion;
    info->dwBuildNumber = version.dwBuildNumber;
    info->dwPlatformId = version.dwPlatformId;
    std::memcpy(info->szCSDVersion, version.szCSDVersion, sizeof info->szCSDVersion);
    info->wServicePackMajor = version.wServicePackMajor;
    info->wServicePackMinor = version.wServicePackMinor;
    info->wSuiteMask = version.wSuiteMask;
    info->wProductType = version.wProductType;
    info->wReserved = version.wReserved;
    return result;
}

std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) { return ::GetWindowsDirectoryA(buffer, size); }


int AllowMessageFromLowerLevel(std::uint32_t message) {
    using Filter = BOOL(WINAPI*)(UINT, DWORD);
    const auto filter = LaterCall<Filter>("user32.dll", "ChangeWindowMessageFilter");
    constexpr DWORD messageFilterAdd = 1;
    return filter != nullptr && filter(message, messageFilterAdd) ? 1 : 0;
}

int IsConsoleSession() {
    using ActiveConsole = DWORD(WINAPI*)();
    using SessionOf = BOOL(WINAPI*)(DWORD, DWORD*);
    const auto activeConsole = LaterCall<ActiveConsole>("kernel32.dll", "WTSGetActiveConsoleSessionId");
    const auto sessionOf = LaterCall<SessionOf>("kernel32.dll", "ProcessIdToSessionId");
    DWORD own = 0;
    if (activeConsole == nullptr || sessionOf == nullptr || !sessionOf(GetCurrentProcessId(), &own)) return 1;
    return activeConsole() == own ? 1 : 0;
}

int WatchSessionChanges(WindowHandle window) {
    using Register = BOOL(WINAPI*)(HWND, DWORD);
    const auto registerFor = LaterCall<Register>("wtsapi32.dll", "WTSRegisterSessionNotification");
    constexpr DWORD notifyForThisSession = 0;
    return registerFor != nullptr && registerFor(ToWin<HWND>(window), notifyForThisSession) ? 1 : 0;
}

void StopWatchingSessionChanges(WindowHandle window) {
    using Unregister = BOOL(WINAPI*)(HWND);
    const auto unregister = LaterCall<Unregister>("wtsapi32.dll", "WTSUnRegisterSessionNotification");
    if (unregister != nullptr) unregister(ToWin<HWND>(window));
}

int FormatErrorText(std::uint32_t error, char* text, std::uint32_t size) {
    if (size == 0) return 0;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                  text, size, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' ')) --length;
    text[length < size ? length : size - 1] = '\0';
    return length > 0 ? 1 : 0;
}

int CopyTextToClipboard(WindowHandle owner, const char* text) {
    const std::size_t size = std::strlen(text) + 1;
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) return 0;
    void* bytes = GlobalLock(memory);
    if (bytes == nullptr) {
        GlobalFree(memory);
        return 0;
    }
    std::memcpy(bytes, text, size);
    GlobalUnlock(memory);
    if (!OpenClipboard(ToWin<HWND>(owner))) {
        GlobalFree(memory);
        return 0;
    }
    EmptyClipboard();
    // Once set, the memory is the clipboard's; only a refusal leaves it ours.
    const bool set = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!set) GlobalFree(memory);
    return set ? 1 : 0;
}

std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) {
    return ::GetModuleFileNameA(nullptr, buffer, size);
}

void GetLocalTime(LocalTime* time) {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    *time = LocalTime{now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

int OpenFile(const char* path, std::uint32_t style) {
    OFSTRUCT file = {};
    return static_cast<int>(::OpenFile(path, &file, style));
}

int OpenProcessToken(std::uint32_t desiredAccess, TokenHandle* token) {
    HANDLE handle = nullptr;
    const BOOL result = ::OpenProcessToken(::GetCurrentProcess(), desiredAccess, &handle);
    *token = FromWin(handle);
    return result;
}

int LookupPrivilegeValueA(const char* systemName, const char* name, Luid* luid) {
    LUID value = {};
    const BOOL result = ::LookupPrivilegeValueA(systemName, name, &value);
    luid->LowPart = value.LowPart;
    luid->HighPart = value.HighPart;
    return result;
}

int AdjustTokenPrivileges(TokenHandle token, Luid privilege, std::uint32_t attributes) {
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid.LowPart = privilege.LowPart;
    privileges.Privileges[0].Luid.HighPart = privilege.HighPart;
    privileges.Privileges[0].Attributes = attributes;
    return ::AdjustTokenPrivileges(ToWin<HANDLE>(token), FALSE, &privileges, 0, nullptr, nullptr);
}

int CloseHandle(TokenHandle handle) { return ::CloseHandle(ToWin<HANDLE>(handle)); }
std::uint32_t GetLastError() { return ::GetLastError(); }
int ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) { return ::ExitWindowsEx(flags, reserved); }

}  // namespace platform
