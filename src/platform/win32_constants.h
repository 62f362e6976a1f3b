// Win32 constants under their platform names and values, for portable code.
//
// windows.h defines these as macros, so this header must never meet it: the
// Win32 implementation in platform/win32/ takes them from windows.h instead.
#pragma once

#if defined(_WINDOWS_) || defined(_WINUSER_)
#error "win32_constants.h is for portable code; Win32 code takes these from windows.h"
#endif

#include <cstdint>

#include "platform.h"

// Messages
constexpr std::uint32_t WM_NULL = 0x0000;
constexpr std::uint32_t WM_CREATE = 0x0001;
constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_DISPLAYCHANGE = 0x007E;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_KEYUP = 0x0101;
constexpr std::uint32_t WM_CHAR = 0x0102;
constexpr std::uint32_t WM_INITDIALOG = 0x0110;
constexpr std::uint32_t WM_COMMAND = 0x0111;
constexpr std::uint32_t WM_TIMER = 0x0113;
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
constexpr std::uint32_t WM_POWERBROADCAST = 0x0218;
constexpr std::uint32_t WM_WTSSESSION_CHANGE = 0x02B1;
constexpr std::uint32_t WTS_CONSOLE_CONNECT = 0x1;
constexpr std::uint32_t WTS_CONSOLE_DISCONNECT = 0x2;
constexpr std::uint32_t WM_USER = 0x0400;
constexpr std::uint32_t WM_APP = 0x8000;

// Power events (low word of WM_POWERBROADCAST's wParam)
constexpr std::uint32_t PBT_APMQUERYSUSPEND = 0x0000;
constexpr std::uint32_t PBT_APMQUERYSUSPENDFAILED = 0x0002;
constexpr std::uint32_t PBT_APMSUSPEND = 0x0004;
constexpr std::uint32_t PBT_APMRESUMESUSPEND = 0x0007;
constexpr std::uint32_t PBT_APMRESUMEAUTOMATIC = 0x0012;

// Dialog and command ids
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Combo box messages
constexpr std::uint32_t CB_GETCURSEL = 0x0147;
constexpr std::uint32_t CB_GETLBTEXT = 0x0148;
constexpr std::uint32_t CB_RESETCONTENT = 0x014B;
constexpr std::uint32_t CB_SETCURSEL = 0x014E;
constexpr std::uint32_t CB_ADDSTRING = 0x0143;
constexpr std::uint32_t CB_GETCOUNT = 0x0146;

// List box messages and styles
constexpr std::uint32_t LB_INSERTSTRING = 0x0181;
constexpr std::uint32_t LB_DELETESTRING = 0x0182;
constexpr std::uint32_t LB_GETCOUNT = 0x018B;
constexpr std::uint32_t LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr std::uint32_t LBS_NOSEL = 0x4000;
constexpr std::uint32_t LB_RESETCONTENT = 0x0184;
constexpr std::uint32_t LB_GETSEL = 0x0187;
constexpr std::uint32_t LB_GETTEXT = 0x0189;
constexpr std::uint32_t LB_GETTEXTLEN = 0x018A;
constexpr std::uint32_t LB_GETSELCOUNT = 0x0190;
constexpr std::uint32_t LB_SETTABSTOPS = 0x0192;
constexpr std::uint32_t LB_SETHORIZONTALEXTENT = 0x0194;
constexpr std::uint32_t LBS_USETABSTOPS = 0x0080;
constexpr std::uint32_t LBS_EXTENDEDSEL = 0x0800;
constexpr std::uint32_t WM_SIZE = 0x0005;
constexpr std::uint32_t WS_HSCROLL = 0x00100000;
constexpr std::uint32_t WS_TABSTOP = 0x00010000;
constexpr std::uint32_t BS_PUSHBUTTON = 0x00000000;

// Controls
constexpr std::uint32_t WM_SETFONT = 0x0030;
constexpr int DEFAULT_GUI_FONT = 17;
constexpr std::uint32_t SS_LEFT = 0x0000;

// Window styles and creation
constexpr std::uint32_t WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr std::uint32_t WS_OVERLAPPED = 0x00000000;
constexpr std::uint32_t WS_CAPTION = 0x00C00000;
constexpr std::uint32_t WS_SYSMENU = 0x00080000;
constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;
constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_VSCROLL = 0x00200000;
constexpr std::uint32_t WS_BORDER = 0x00800000;
constexpr std::int32_t CW_USEDEFAULT = static_cast<std::int32_t>(0x80000000u);
constexpr std::uint32_t CS_VREDRAW = 0x0001;
constexpr std::uint32_t CS_HREDRAW = 0x0002;
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
constexpr int SW_RESTORE = 9;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWNORMAL = 1;
constexpr std::uint32_t COLOR_WINDOW = 5;
constexpr std::uint32_t IDC_ARROW = 32512;

// GetWindow commands
constexpr std::uint32_t GW_HWNDNEXT = 2;
constexpr std::uint32_t GW_CHILD = 5;

// SetWindowPos
constexpr platform::WindowHandle HWND_TOPMOST = static_cast<platform::WindowHandle>(-1);
constexpr std::uint32_t SWP_NOSIZE = 0x0001;
constexpr std::uint32_t SWP_NOZORDER = 0x0004;

// Message boxes
constexpr std::uint32_t MB_OK = 0x00000000;
constexpr std::uint32_t MB_ICONWARNING = 0x00000030;
constexpr std::uint32_t MB_SETFOREGROUND = 0x00010000;
constexpr std::uint32_t MB_YESNO = 0x00000004;
constexpr std::uint32_t MB_ICONQUESTION = 0x00000020;
constexpr std::uint32_t MB_ICONERROR = 0x00000010;
constexpr std::uint32_t MB_ICONINFORMATION = 0x00000040;
constexpr int IDYES = 6;

// Menus
constexpr std::uint32_t MF_STRING = 0x0000;
constexpr std::uint32_t MF_CHECKED = 0x0008;
constexpr std::uint32_t MF_SEPARATOR = 0x0800;

// Tray icon
constexpr std::uint32_t NIM_ADD = 0;
constexpr std::uint32_t NIM_MODIFY = 1;
constexpr std::uint32_t NIM_DELETE = 2;
constexpr std::uint32_t NIF_MESSAGE = 1;
constexpr std::uint32_t NIF_ICON = 2;
constexpr std::uint32_t NIF_TIP = 4;

// Keyboard input
constexpr std::uint32_t KEYEVENTF_EXTENDEDKEY = 0x0001;
constexpr std::uint32_t KEYEVENTF_KEYUP = 0x0002;
constexpr std::uint8_t VK_BACK = 0x08;
constexpr std::uint8_t VK_TAB = 0x09;
constexpr std::uint8_t VK_RETURN = 0x0D;
constexpr std::uint8_t VK_SHIFT = 0x10;
constexpr std::uint8_t VK_CONTROL = 0x11;
constexpr std::uint8_t VK_MENU = 0x12;
constexpr std::uint8_t VK_PAUSE = 0x13;
constexpr std::uint8_t VK_ESCAPE = 0x1B;
constexpr std::uint8_t VK_SPACE = 0x20;
constexpr std::uint8_t VK_PRIOR = 0x21;
constexpr std::uint8_t VK_NEXT = 0x22;
constexpr std::uint8_t VK_END = 0x23;
constexpr std::uint8_t VK_HOME = 0x24;
constexpr std::uint8_t VK_LEFT = 0x25;
constexpr std::uint8_t VK_UP = 0x26;
constexpr std::uint8_t VK_RIGHT = 0x27;
constexpr std::uint8_t VK_DOWN = 0x28;
constexpr std::uint8_t VK_INSERT = 0x2D;
constexpr std::uint8_t VK_DELETE = 0x2E;
constexpr std::uint8_t VK_NUMPAD0 = 0x60;
constexpr std::uint8_t VK_MULTIPLY = 0x6A;
constexpr std::uint8_t VK_ADD = 0x6B;
constexpr std::uint8_t VK_SUBTRACT = 0x6D;
constexpr std::uint8_t VK_DIVIDE = 0x6F;
constexpr std::uint8_t VK_F1 = 0x70;
constexpr std::uint8_t VK_F2 = 0x71;
constexpr std::uint8_t VK_F4 = 0x73;
constexpr std::uint8_t VK_F6 = 0x75;
constexpr std::uint8_t VK_F8 = 0x77;
constexpr std::uint8_t VK_F9 = 0x78;
constexpr std::uint8_t VK_F10 = 0x79;
constexpr std::uint8_t VK_F11 = 0x7A;
constexpr std::uint8_t VK_F12 = 0x7B;
constexpr std::uint8_t VK_MEDIA_PLAY_PAUSE = 0xB3;
constexpr std::uint8_t VK_OEM_COMMA = 0xBC;
constexpr std::uint8_t VK_OEM_PERIOD = 0xBE;

// Mouse input
constexpr std::uint32_t MOUSEEVENTF_MOVE = 0x0001;
constexpr std::uint32_t MOUSEEVENTF_LEFTDOWN = 0x0002;
constexpr std::uint32_t MOUSEEVENTF_LEFTUP = 0x0004;
constexpr std::uint32_t MOUSEEVENTF_RIGHTDOWN = 0x0008;
constexpr std::uint32_t MOUSEEVENTF_RIGHTUP = 0x0010;

// System metrics
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_SWAPBUTTON = 23;

// Registry
constexpr platform::RegKey HKEY_LOCAL_MACHINE = static_cast<platform::RegKey>(0x80000002u);
constexpr platform::RegKey HKEY_CURRENT_USER = static_cast<platform::RegKey>(0x80000001u);
constexpr std::uint32_t KEY_ALL_ACCESS = 0x000F003F;
constexpr std::uint32_t KEY_READ = 0x00020019;
constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr std::uint32_t KEY_SET_VALUE = 0x0002;
constexpr std::uint32_t REG_OPTION_NON_VOLATILE = 0;
constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_EXPAND_SZ = 2;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;
constexpr std::uint32_t REG_QWORD = 11;
constexpr long ERROR_SUCCESS = 0;
constexpr long ERROR_FILE_NOT_FOUND = 2;
constexpr long ERROR_ACCESS_DENIED = 5;
constexpr long ERROR_MORE_DATA = 234;
constexpr long ERROR_NOT_ALL_ASSIGNED = 1300;

// Version and files
constexpr std::uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr std::uint32_t VER_PLATFORM_WIN32_NT = 2;
constexpr std::uint32_t OF_EXIST = 0x4000;
constexpr int HFILE_ERROR = -1;

// Shutdown
constexpr std::uint32_t TOKEN_ADJUST_PRIVILEGES = 0x0020;
constexpr std::uint32_t TOKEN_QUERY = 0x0008;
constexpr std::uint32_t SE_PRIVILEGE_ENABLED = 0x00000002;
constexpr std::uint32_t EWX_SHUTDOWN = 0x00000001;
constexpr std::uint32_t EWX_FORCE = 0x00000004;
constexpr std::uint32_t EWX_POWEROFF = 0x00000008;

// HRESULT
constexpr std::int32_t S_OK = 0;
constexpr std::int32_t S_FALSE = 1;
constexpr std::int32_t E_FAIL = static_cast<std::int32_t>(0x80004005u);
