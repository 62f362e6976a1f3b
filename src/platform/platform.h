// The whole of what the program asks of Windows.
//
// Everything outside platform/ reaches the operating system only through the
// functions declared here. They carry the Win32 ANSI names and argument order
// so that the product code reads like the Win32 program it is, but use portable
// types, so that the same product code builds on the Linux host against the
// fake desktop of the tests. platform/win32/ implements them with the real API.
//
// This header declares no constants with Win32 macro names (windows.h defines
// those as macros); they live in win32_constants.h, which portable code
// includes and the Win32 implementation does not.
#pragma once

#include <cstdint>

namespace platform {

// Handles are opaque numbers; 0 is the null handle.
using WindowHandle = std::uintptr_t;
using InstanceHandle = std::uintptr_t;
using IconHandle = std::uintptr_t;
using CursorHandle = std::uintptr_t;
using BrushHandle = std::uintptr_t;
using MenuHandle = std::uintptr_t;
using AcceleratorHandle = std::uintptr_t;
using RegKey = std::uintptr_t;
using TokenHandle = std::uintptr_t;
using FontHandle = std::uintptr_t;

// The capture filter's IKsControl, as an opaque pointer; null means no receiver.
struct KsControl;
using ReceiverControl = KsControl*;

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

using WindowProc = LResult (*)(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);
// Returns the handled flag, as a DLGPROC does.
using DialogProc = std::intptr_t (*)(WindowHandle dialog, std::uint32_t message, WParam wParam, LParam lParam);
using TimerProc = void (*)(WindowHandle window, std::uint32_t message, std::uintptr_t timerId, std::uint32_t tickCount);

struct Point {
    std::int32_t x;
    std::int32_t y;
};

// RECT, field for field.
struct Rect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

struct Message {
    WindowHandle hwnd;
    std::uint32_t message;
    WParam wParam;
    LParam lParam;
    std::uint32_t time;
    Point pt;
};

// WNDCLASSEXA, field for field but its size, which the platform layer fills.
struct WindowClassEx {
    std::uint32_t style;
    WindowProc lpfnWndProc;
    std::int32_t cbClsExtra;
    std::int32_t cbWndExtra;
    InstanceHandle hInstance;
    IconHandle hIcon;
    CursorHandle hCursor;
    BrushHandle hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
    IconHandle hIconSm;
};

// The first six fields of NOTIFYICONDATAA and its 64-byte tip: the 88-byte form
// that every shell version accepts. cbSize is passed through as the caller sets it.
struct NotifyIconData {
    std::uint32_t cbSize;
    WindowHandle hWnd;
    std::uint32_t uID;
    std::uint32_t uFlags;
    std::uint32_t uCallbackMessage;
    IconHandle hIcon;
    char szTip[64];
};

// OSVERSIONINFOEXA, field for field. dwOSVersionInfoSize selects the structure
// that GetVersionExA fills: 148 bytes (OSVERSIONINFOA) or 156 (the EX form).
struct OsVersionInfoEx {
    std::uint32_t dwOSVersionInfoSize;
    std::uint32_t dwMajorVersion;
    std::uint32_t dwMinorVersion;
    std::uint32_t dwBuildNumber;
    std::uint32_t dwPlatformId;
    char szCSDVersion[128];
    std::uint16_t wServicePackMajor;
    std::uint16_t wServicePackMinor;
    std::uint16_t wSuiteMask;
    std::uint8_t wProductType;
    std::uint8_t wReserved;
};

// The fields of SYSTEMTIME that a clock display needs.
struct LocalTime {
    std::uint16_t hour;
    std::uint16_t minute;
    std::uint16_t second;
    std::uint16_t milliseconds;
};

struct Luid {
    std::uint32_t LowPart;
    std::int32_t HighPart;
};

// --- Windows and messages ---------------------------------------------------
std::uint16_t RegisterClassExA(const WindowClassEx* windowClass);
WindowHandle CreateWindowExA(std::uint32_t exStyle, const char* className, const char* windowName,
                             std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,
                             std::int32_t height, WindowHandle parent, MenuHandle menu,
                             InstanceHandle instance, void* createParam);
int ShowWindow(WindowHandle window, int showCommand);
int UpdateWindow(WindowHandle window);
LResult DefWindowProcA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);
int GetMessageA(Message* message, WindowHandle window, std::uint32_t filterMin, std::uint32_t filterMax);
int TranslateMessage(const Message* message);
LResult DispatchMessageA(const Message* message);
int TranslateAcceleratorA(WindowHandle window, AcceleratorHandle accelerators, Message* message);
void PostQuitMessage(int exitCode);
int PostMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);
LResult SendMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);
// The session-wide message number for a name (0xC000 to 0xFFFF; the same for
// every process that asks), or 0 on failure.
std::uint32_t RegisterWindowMessageA(const char* name);
// Lets message through to a program running with more rights than its
// sender (ChangeWindowMessageFilter, Vista and later); 0 where it cannot.
int AllowMessageFromLowerLevel(std::uint32_t message);

// --- Window lookup and foreground -------------------------------------------
WindowHandle GetDesktopWindow();
WindowHandle GetWindow(WindowHandle window, std::uint32_t command);
// Copies at most maxCount - 1 characters and a NUL; returns the count copied.
int GetWindowTextA(WindowHandle window, char* text, int maxCount);
int SetWindowTextA(WindowHandle window, const char* text);
WindowHandle FindWindowA(const char* className, const char* windowName);
WindowHandle FindWindowExA(WindowHandle parent, WindowHandle childAfter, const char* className,
                           const char* windowName);
int SetForegroundWindow(WindowHandle window);
WindowHandle SetActiveWindow(WindowHandle window);
int BringWindowToTop(WindowHandle window);
int IsIconic(WindowHandle window);
int SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx, int cy,
                 std::uint32_t flags);
// The screen's dots per inch (96 at 100 %, 144 at 150 %), as a program that
// lays itself out for it sees it.
int GetScreenDpi();
// The size of the window's client area, in pixels; 0 on failure.
int GetClientSize(WindowHandle window, int* width, int* height);
// The window's rectangle on the screen; 0 on failure.
int GetWindowRect(WindowHandle window, Rect* rect);
// The primary screen's work area (SystemParametersInfoA, SPI_GETWORKAREA):
// the screen less the taskbar; 0 on failure.
int GetWorkArea(Rect* rect);

// --- Input -------------------------------------------------------------------
void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags, std::uintptr_t extraInfo);
void mouse_event(std::uint32_t flags, std::uint32_t dx, std::uint32_t dy, std::uint32_t data,
                 std::uintptr_t extraInfo);
int GetCursorPos(Point* point);
int SetCursorPos(int x, int y);
LParam GetMessageExtraInfo();
int GetSystemMetrics(int index);
// GetKeyState: the high bit set while the key is down, as this thread's
// messages saw it.
std::int16_t GetKeyState(int virtualKey);
// GetStockObject of a stock font (windowsx.h has the name GetStockFont).
FontHandle StockFontHandle(int index);

// --- Resources -----------------------------------------------------------------
int LoadStringA(InstanceHandle instance, std::uint32_t id, char* buffer, int bufferMax);
IconHandle LoadIconA(InstanceHandle instance, std::uint32_t resourceId);
CursorHandle LoadCursorA(InstanceHandle instance, std::uint32_t resourceId);
AcceleratorHandle LoadAcceleratorsA(InstanceHandle instance, std::uint32_t resourceId);

// --- Dialogs, message boxes, menus -------------------------------------------
std::intptr_t DialogBoxParamA(InstanceHandle instance, std::uint32_t templateId, WindowHandle owner,
                              DialogProc procedure, LParam initParam);
int EndDialog(WindowHandle dialog, std::intptr_t result);
LResult SendDlgItemMessageA(WindowHandle dialog, int itemId, std::uint32_t message, WParam wParam,
                            LParam lParam);
int MessageBoxA(WindowHandle owner, const char* text, const char* caption, std::uint32_t type);
MenuHandle CreatePopupMenu();
int DestroyMenu(MenuHandle menu);
int AppendMenuA(MenuHandle menu, std::uint32_t flags, std::uintptr_t itemId, const char* text);
int TrackPopupMenu(MenuHandle menu, std::uint32_t flags, int x, int y, int reserved, WindowHandle owner,
                   const void* rect);

// --- Clipboard ------------------------------------------------------------------
// Puts text (NUL-terminated, CF_TEXT) on the clipboard in place of what was
// there; 1 on success, 0 when the clipboard could not be opened or filled.
int CopyTextToClipboard(WindowHandle owner, const char* text);

// --- Timers and clock --------------------------------------------------------
std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t timerId, std::uint32_t periodMs, TimerProc procedure);
int KillTimer(WindowHandle window, std::uintptr_t timerId);
std::uint32_t GetTickCount();
// Blocks the calling (the only) thread.
void Sleep(std::uint32_t milliseconds);

// --- Registry ------------------------------------------------------------------
// Results are Win32 error codes (ERROR_SUCCESS is 0).
long RegOpenKeyA(RegKey root, const char* subKey, RegKey* result);
long RegOpenKeyExA(RegKey root, const char* subKey, std::uint32_t options, std::uint32_t access, RegKey* result);
long RegCreateKeyExA(RegKey root, const char* subKey, std::uint32_t reserved, char* className,
                     std::uint32_t options, std::uint32_t access, const void* security, RegKey* result,
                     std::uint32_t* disposition);
long RegQueryValueExA(RegKey key, const char* valueName, std::uint32_t* reserved, std::uint32_t* type,
                      std::uint8_t* data, std::uint32_t* dataSize);
long RegSetValueExA(RegKey key, const char* valueName, std::uint32_t reserved, std::uint32_t type,
                    const std::uint8_t* data, std::uint32_t dataSize);
long RegDeleteValueA(RegKey key, const char* valueName);
long RegFlushKey(RegKey key);
long RegCloseKey(RegKey key);

// --- Shell -----------------------------------------------------------------------
int Shell_NotifyIconA(std::uint32_t message, NotifyIconData* data);
// Returns the shell's instance value: above 32 on success.
std::intptr_t ShellExecuteA(WindowHandle owner, const char* verb, const char* file, const char* parameters,
                            const char* directory, int showCommand);

// --- System ------------------------------------------------------------------------
int GetVersionExA(OsVersionInfoEx* info);
std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size);
// The path of the program's own executable; 0 on failure, size on truncation.
std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size);
void GetLocalTime(LocalTime* time);
// Returns HFILE_ERROR (-1) on failure; only the OF_EXIST test is used.
int OpenFile(const char* path, std::uint32_t style);
int OpenProcessToken(std::uint32_t desiredAccess, TokenHandle* token);  // of the current process
int LookupPrivilegeValueA(const char* systemName, const char* name, Luid* luid);
// AdjustTokenPrivileges with one privilege, disable-all FALSE and no previous state.
int AdjustTokenPrivileges(TokenHandle token, Luid privilege, std::uint32_t attributes);
int CloseHandle(TokenHandle handle);
std::uint32_t GetLastError();
// 1 when the program's session is the one at the console (the user at the
// screen), 0 when it is switched away or remote; 1 where Windows has no
// sessions (9x) or cannot tell.
int IsConsoleSession();
// 1 when the window's program runs at a higher integrity level than this
// one (as administrator while this one does not): Windows then drops the
// input this program synthesises for it and refuses its posted messages.
int RunsWithMoreRights(WindowHandle window);
// 1 when this program runs on 64-bit Windows.
int RunsOn64BitWindows();
// Asks for WM_WTSSESSION_CHANGE on window for the program's own session;
// 0 where Windows has no sessions.
int WatchSessionChanges(WindowHandle window);
void StopWatchingSessionChanges(WindowHandle window);
// The system's words for a Win32 error code (FormatMessageA), without the
// trailing line break; 0 when it has none.
int FormatErrorText(std::uint32_t error, char* text, std::uint32_t size);
int ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved);

// --- COM and the receiver --------------------------------------------------------
// CoInitialize, then the capture-filter search over DirectShow's video-capture
// devices by the given FriendlyNames in order; the filter is added to a graph
// under graphName. Returns the filter's IKsControl, or null.
ReceiverControl OpenCaptureFilterControl(const char* const* friendlyNames, int nameCount, const char* graphName);
void CoUninitialize();
// The FriendlyNames of the devices that the capture-filter search looks
// through, in enumeration order: at most maxNames of them, each cut to fit
// captureDeviceNameSize bytes with its NUL. Returns how many there are, or -1
// when they cannot be enumerated. CoInitialize is called first.
constexpr int captureDeviceNameSize = 80;
int ListCaptureDeviceNames(char (*names)[captureDeviceNameSize], int maxNames);
// The 32-bit address by which the driver reaches one of the program's own
// buffers (the requests carry 32-bit pointer fields).
std::uint32_t DriverAddress(void* buffer);
// IKsControl::KsProperty; returns the HRESULT.
std::int32_t KsProperty(ReceiverControl control, void* property, std::uint32_t propertyLength, void* data,
                        std::uint32_t dataLength, std::uint32_t* bytesReturned);

}  // namespace platform
