// The fake desktop: an in-memory model of the parts of Windows the program
// relies on, behind the same functions as platform/platform.h.
//
// It is a small faithful model, not a bag of canned answers: top-level windows
// in Z order with titles, classes, visibility and iconic state; FindWindowA /
// FindWindowExA matching whole strings case-insensitively; GetWindowTextA
// cutting at the buffer size; foreground and active window; a typed registry
// with access failures on demand; a tick clock that Sleep and the test advance;
// window timers; a stand-in receiver with a key queue; and a log of every call
// the program makes, in order.
//
// Log entries are formatted as the call would be written, with these rules:
// numbers in hexadecimal with 0x (0x0 for zero), except coordinates, sizes and
// counts, which are signed decimal; windows as w<N> (the handle number, null as
// 0x0); strings in double quotes, a null string as null. For example:
//   keybd_event(0x12,0x0,0x1,0x0)
//   mouse_event(0x2,512,384,0x0,0xE1A5)
//   SetCursorPos(513,384)
//   PostMessageA(w3,0x100,0x26,0x1500001)
//   SendMessageA(w9,0x100,0xD,0x0)
//   SetForegroundWindow(w3)   SetActiveWindow(w3)
//   ShellExecuteA(0x0,"open","C:\TV\MainPanel.exe","remote",null,5)
//   MessageBoxA(0x0,"Please re-initialize the TV application settings.","Remote Control",0x10000)
//   FindWindowExA(w1,0x0,null,"Home Theater")   FindWindowA(null,"PowerCinema")
//   SetTimer(w2,0x1,65)   KillTimer(w2,0x1)   Sleep(2000)
//   RegSetValueExA("HKLM\Software\...","DefaultTVAPP",0x4,4)
//   KsProperty(48,8)
// Every platform call is logged, lookups and reads included, so a test can
// also count all OS calls of an operation.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace fake {

using platform::WindowHandle;

// "w<N>" for a window handle, "0x0" for null.
std::string W(WindowHandle window);

struct Window {
    WindowHandle handle = 0;
    std::string title;
    std::string className;
    bool visible = true;
    bool iconic = false;
    // A window of the program itself (AddOwnWindow, CreateWindowExA, dialogs):
    // it takes timers, activation and posted messages into Desktop::queue.
    bool own = false;
    // Set for windows the program itself creates (main window, dialogs);
    // SendMessageA and DispatchMessageA call it.
    platform::WindowProc procedure = nullptr;
    platform::DialogProc dialogProcedure = nullptr;
    bool dialogEnded = false;
    std::intptr_t dialogResult = 0;
    std::uint32_t dialogTemplate = 0;
};

struct RegistryValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

// One IKsControl::KsProperty call as the stand-in receiver saw it.
struct KsRequest {
    std::vector<std::uint8_t> property;  // the bytes of the property, as sent
    std::vector<std::uint8_t> dataOnEntry;
    std::uint32_t propertyLength = 0;
    std::uint32_t dataLength = 0;
};

struct TimerState {
    WindowHandle window = 0;
    std::uintptr_t id = 0;
    std::uint32_t periodMs = 0;
    platform::TimerProc procedure = nullptr;
    std::uint32_t nextDue = 0;
};

class Desktop {
  public:
    // The one fake desktop that the platform functions act on. Tests call
    // Reset() in SetUp (the FakeDesktopTest fixture does).
    static Desktop& Get();
    // Back to an empty desktop on a 1024x768 screen.
    void Reset();

    // --- Windows ----------------------------------------------------------
    // A top-level window of another process, placed at the top of the Z order
    // (newest first, as Wine lists them).
    WindowHandle AddWindow(const std::string& title, const std::string& className = "");
    // A window of the program itself, as CreateWindowExA would make it, but
    // without WM_CREATE and without a log entry: a timer owner or message
    // target for tests that do not run the program's start-up.
    WindowHandle AddOwnWindow(const std::string& title, platform::WindowProc procedure,
                              const std::string& className = "");
    // Takes the window off the desktop with its timers, sending nothing; a
    // removed foreground or active window leaves none behind.
    void RemoveWindow(WindowHandle window);
    Window* Find(WindowHandle window);
    // Top-level windows in Z order, topmost first.
    std::vector<WindowHandle> ZOrder() const;
    WindowHandle desktop() const { return desktopWindow; }
    WindowHandle foreground = 0;
    WindowHandle active = 0;
    // Called when a window of another process is removed or receives WM_CLOSE;
    // by default a posted WM_CLOSE to a foreign window is only logged.
    bool closeWindowsOnWmClose = false;

    // --- Registry (paths like "HKLM\Software\Tarvex Multimedia\Nimbus XQ Utilities";
    // key paths and value names compare case-insensitively) ------------------
    void SetValue(const std::string& keyPath, const std::string& name, std::uint32_t type,
                  std::vector<std::uint8_t> data);
    void SetDword(const std::string& keyPath, const std::string& name, std::uint32_t value);
    // REG_SZ with its terminating NUL unless withNul is false.
    void SetString(const std::string& keyPath, const std::string& name, const std::string& text,
                   bool withNul = true);
    void CreateKey(const std::string& keyPath);
    void DeleteKey(const std::string& keyPath);
    bool KeyExists(const std::string& keyPath) const;
    std::optional<RegistryValue> GetValue(const std::string& keyPath, const std::string& name) const;
    bool DeleteValue(const std::string& keyPath, const std::string& name);  // false: there was none
    std::optional<std::uint32_t> GetDword(const std::string& keyPath, const std::string& name) const;
    // Opening this key fails with ERROR_ACCESS_DENIED (RegOpenKeyA/ExA).
    std::set<std::string> denyOpen;
    // Creating this key fails with ERROR_ACCESS_DENIED.
    std::set<std::string> denyCreate;
    // Writes to values of this key fail with ERROR_ACCESS_DENIED.
    std::set<std::string> denyWrite;
    // Opens of this key that ask for write access fail with ERROR_ACCESS_DENIED,
    // read-only opens succeed: HKLM as a standard account sees it.
    std::set<std::string> readOnly;
    // Opens that ask for more than reading and setting values fail with
    // ERROR_ACCESS_DENIED: the settings key as the installer leaves it to a
    // standard account.
    std::set<std::string> valuesOnly;
    int openKeyCount() const;  // registry handles not yet closed

    // --- Clock and timers ---------------------------------------------------
    std::uint32_t tickCount = 0;
    // Moves the clock forward, firing every due timer in order of due time
    // (each through its procedure, as DispatchMessageA would).
    void Advance(std::uint32_t milliseconds);
    // Fires one timer now, as its WM_TIMER would; false when it is not set.
    bool FireTimer(WindowHandle window, std::uintptr_t id);
    bool TimerSet(WindowHandle window, std::uintptr_t id) const;
    const TimerState* Timer(WindowHandle window, std::uintptr_t id) const;

    // --- Input, cursor, screen ---------------------------------------------
    // The keyboard as keybd_event leaves it: a key is down from its down event
    // to its up event (KEYEVENTF_KEYUP), as GetAsyncKeyState would tell.
    std::array<bool, 256> keyDown{};
    // The virtual keys still down, in ascending order.
    std::vector<std::uint8_t> KeysDown() const;
    // The mouse buttons as mouse_event leaves them: left, right.
    bool leftButtonDown = false;
    bool rightButtonDown = false;
    platform::Point cursor{0, 0};
    int screenWidth = 1024;  // SetCursorPos clamps to the screen
    int screenHeight = 768;
    std::map<int, int> metrics;  // GetSystemMetrics answers; missing indexes answer 0
    // The screen size, and the four metrics that give it (full screen is the
    // whole screen here: no taskbar).
    void SetScreen(int width, int height);
    std::intptr_t messageExtraInfo = 0xE1A5;
    int dpi = 96;  // GetScreenDpi answers
    // GetWorkArea answers: the screen less a taskbar 40 pixels high.
    platform::Rect workArea{0, 0, 1024, 728};

    // --- Modal loops ---------------------------------------------------------
    // Called inside MessageBoxA, DialogBoxParamA (after WM_INITDIALOG) and
    // TrackPopupMenu, where the real system runs a nested message loop: a test
    // can fire timers or send messages from here. MessageBoxA returns what
    // onMessageBox returns (IDOK when unset).
    std::function<int(const std::string& text, const std::string& caption)> onMessageBox;
    std::function<void(WindowHandle dialog)> onDialog;
    std::function<void()> onTrackPopupMenu;
    // DialogBoxParamA fails (returns -1, creates nothing) for these templates.
    std::set<std::uint32_t> failingDialogs;

    // --- Resources -------------------------------------------------------------
    std::map<std::uint32_t, std::string> strings;  // LoadStringA

    // --- Message queue (the program's own thread) -------------------------------
    // PostMessageA to one of the program's windows and PostQuitMessage queue
    // here; GetMessageA takes from the front and returns 0 on WM_QUIT. An empty
    // queue also returns 0, with queueRanDry set: the fake has no other source
    // of messages.
    std::deque<platform::Message> queue;
    bool queueRanDry = false;

    // --- Registered window messages ---------------------------------------------------
    // RegisterWindowMessageA's number for a name, compared case-insensitively:
    // the same for every caller, from 0xC000 up. Registers it when new, without a log entry.
    std::uint32_t RegisteredMessage(const std::string& name);
    std::map<std::string, std::uint32_t> registeredMessages;  // by lower-case name

    // --- Shell ---------------------------------------------------------------------
    // The shell's restart as Explorer does it: every icon on the tray is gone,
    // then the registered "TaskbarCreated" message goes to every top-level
    // window; the program's own windows receive it through their procedure.
    void RestartShell();
    // ShellExecuteA's result for a file; 33 when unset. A launch can also
    // create the application's window through onShellExecute.
    std::function<std::intptr_t(const std::string& file)> onShellExecute;
    // NIM_ADD / NIM_MODIFY / NIM_DELETE calls, with a copy of the record passed.
    struct TrayCall {
        std::uint32_t message;
        platform::NotifyIconData data;
    };
    std::vector<TrayCall> trayCalls;
    int trayAddFailures = 0;  // the next NIM_ADD calls that fail, as at logon before Explorer is ready

    // --- System -------------------------------------------------------------------
    platform::OsVersionInfoEx version{};          // GetVersionExA answers (size field excepted)
    std::set<std::uint32_t> versionSizesRefused;  // GetVersionExA fails for these sizes
    std::string windowsDirectory = "C:\\windows";
    std::string moduleFileName = "C:\\Program Files\\Alder Remote Control\\RemoteCheck.exe";
    platform::LocalTime localTime{12, 0, 0, 0};  // GetLocalTime answers
    std::set<std::string> existingFiles;  // OpenFile(OF_EXIST); compared case-insensitively
    std::string clipboard;  // what CopyTextToClipboard put there
    bool shutdownPrivilegeGranted = true;
    bool atConsole = true;  // IsConsoleSession answers
    std::set<WindowHandle> elevatedWindows;  // RunsWithMoreRights answers 1 for these
    bool windows64 = false;                  // RunsOn64BitWindows answers
    bool exitWindowsSucceeds = true;

    // --- Receiver -------------------------------------------------------------------
    bool receiverPresent = true;        // OpenCaptureFilterControl finds a filter
    // ListCaptureDeviceNames answers these, in order; -1 in count: it fails.
    std::vector<std::string> captureDevices;
    bool captureDevicesFail = false;
    std::deque<std::uint8_t> keyQueue;  // codes waiting, each answered once
    std::int32_t statusResult = 0;      // HRESULT of status requests
    std::int32_t transferResult = 0;    // HRESULT of transfer requests
    // Status byte answered while no code waits (non-zero); 0 while one waits.
    std::uint8_t idleStatus = 1;
    std::vector<KsRequest> ksRequests;
    // A driver of the test's own making: when set, it answers every KsProperty
    // call of a well-formed request of either set instead of the model above.
    // It gets the data buffer and, for a transfer, the read buffer the request
    // names (null when it names none), and returns the HRESULT.
    struct DriverCall {
        bool transfer = false;  // else status
        std::uint8_t selectorOrAddress = 0;
        std::uint8_t* data = nullptr;
        std::uint32_t dataLength = 0;
        std::uint8_t* readBuffer = nullptr;
        std::uint32_t readCount = 0;
        std::uint32_t* bytesReturned = nullptr;
    };
    std::function<std::int32_t(const DriverCall& call)> driver;
    bool coUninitialized = false;

    // --- Dialog controls, tray, process state ------------------------------------
    // A dialog's combo box as the CB_ messages of SendDlgItemMessageA see it,
    // by (dialog, item id). Kept after the dialog closes, so that a test can
    // read what it offered.
    struct ComboBox {
        std::vector<std::string> items;
        int selection = -1;
    };
    std::map<std::pair<WindowHandle, int>, ComboBox> comboBoxes;
    // Icons on the tray by (hWnd, uID), as the shell keeps them: NIM_ADD of a
    // shown icon and NIM_MODIFY / NIM_DELETE of a missing one fail.
    std::set<std::pair<WindowHandle, std::uint32_t>> trayIcons;
    std::uint32_t lastError = 0;  // GetLastError
    // Set by AdjustTokenPrivileges when the shutdown privilege is granted;
    // ExitWindowsEx refuses to shut down or restart without it, as Windows NT
    // does (not when version.dwPlatformId is VER_PLATFORM_WIN32_WINDOWS).
    bool shutdownPrivilegeEnabled = false;

    // --- The failure switch ------------------------------------------------------------
    // Makes one call of the program fail: its occurrence-th call (counted
    // from the switch being set), or every call from that one on when
    // persistent. A failing call sets the last error and returns what Windows
    // documents for its failure (each call's answer is written beside it).
    struct FailureSwitch {
        std::string call;  // empty: nothing fails
        int occurrence = 0;
        bool persistent = false;
    };
    FailureSwitch failure;
    std::map<std::string, int> callCounts;  // every call that can be made to fail, by name
    // Each call's occurrences by the place in the program that made them
    // (the fake function's return address), so that a sweep can fail every
    // site, not only the first calls of each function.
    std::map<std::string, std::map<const void*, std::vector<int>>> callSites;
    int failuresMade = 0;

    // --- The log -------------------------------------------------------------------------
    std::vector<std::string> log;
    // Entries whose function name is one of names, in order.
    std::vector<std::string> Log(const std::set<std::string>& names) const;
    // Input, foreground, messages, shell launches and message boxes.
    std::vector<std::string> Actions() const;
    void ClearLog() { log.clear(); }

    // Used by the platform functions.
    void Record(std::string entry) { log.push_back(std::move(entry)); }
    WindowHandle NewHandle() { return nextHandle++; }
    // Sets the (window, id) timer or replaces it, due one period from now.
    void PlaceTimer(WindowHandle window, std::uintptr_t id, std::uint32_t periodMs,
                    platform::TimerProc procedure);
    std::vector<WindowHandle> zOrder;  // topmost first
    std::map<WindowHandle, Window> windows;
    std::map<std::string, std::map<std::string, RegistryValue>> registry;  // lower-case keys
    std::map<std::uintptr_t, std::string> openKeys;                        // handle -> lower-case path
    std::vector<TimerState> timers;
    std::map<std::uint32_t, void*> driverAddresses;
    std::uintptr_t nextRegHandle = 0x1000;
    std::uint32_t nextDriverAddress = 0x10000;
    struct WindowClass {
        std::string name;  // as registered
        platform::WindowProc procedure = nullptr;
    };
    std::map<std::string, WindowClass> windowClasses;  // by lower-case name
    struct OpenKeyInfo {
        std::string spelledPath;  // as the program named it, for the log
        std::uint32_t access = 0;
    };
    std::map<std::uintptr_t, OpenKeyInfo> openKeyInfo;  // same handles as openKeys
    std::set<platform::MenuHandle> menus;
    platform::MenuHandle nextMenu = 0x80001;
    std::set<platform::TokenHandle> openTokens;
    platform::TokenHandle nextToken = 0x3001;
    std::uintptr_t nextThreadTimerId = 0x7F01;  // SetTimer without a window

  private:
    WindowHandle nextHandle = 1;
    WindowHandle desktopWindow = 0;
};

}  // namespace fake
