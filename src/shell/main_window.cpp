// The program's entry and its hidden main window: start-up, the message loop
// and every message the window handles.
#include "shell/main_window.h"

#include <cstring>

#include "adapters/media_center_detection.h"
#include "adapters/window_lookup.h"
#include "dispatch/pointer_emulation.h"
#include "platform/win32_constants.h"
#include "receiver/receiver_access.h"
#include "dispatch/timer_slot.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "settings/virtual_store_choice.h"
#include "settings/utility_titles.h"
#include "shell/program_window_class.h"
#include "shell/tray_icon.h"
#include "shell/tray_menu.h"
#include "shell/utility_copies.h"

namespace {

const char* const noTimerText =
    "Remote Control cannot read the remote: Windows refused it a timer (too many programs or windows may be "
    "open). Close some programs, then start Remote Control again.";

const char* const missingFilterText =
    "Can't find the BDA video capture filter.\n\nPlease check your hardware or drivers. ";

// Posted when a resume or a return to the screen could not start the poll
// timer again: told once the power or session notice has been answered, so
// that no box holds up Windows' own notice.
constexpr std::uint32_t pollTimerRefusedMessage = WM_APP + 1;

char windowName[100];
char className[100];

void OnTrayClick(platform::WindowHandle window) {
    if (program.receiverFound == 0) {
        platform::MessageBoxA(0, missingFilterText, "Remote Control", MB_SETFOREGROUND);
        RemoveTrayIcon(window);
        platform::PostQuitMessage(0);
        return;
    }
    ShowTrayMenu(window);
}

platform::LResult OnCommand(platform::WindowHandle window, platform::WParam wParam, platform::LParam lParam) {
    const std::uint32_t id = static_cast<std::uint32_t>(wParam & 0xFFFF);
    if (id == IDM_ABOUT || id == IDM_SETTING || IsApplicationCommand(id)) {
        OnMenuCommand(id);
        return 0;
    }
    if (id == IDM_QUIT_QUIETLY) {
        ReleaseButtonHold();
        RemoveTrayIcon(window);
        platform::PostQuitMessage(0);
        return 0;
    }
    if (id == IDM_EXIT) {
        ReleaseButtonHold();
        RemoveTrayIcon(window);
        platform::PostQuitMessage(0);
        platform::CoUninitialize();
        return 0;
    }
    return platform::DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

// The timers run while the PC is awake and the program's session is the one
// at the screen; they stop and start again as on suspend and resume.
void FollowSuspendAndSession() {
    if (program.suspended || !program.atConsole) {
        DisarmPollTimer();
        DisarmWatchTimer();
    } else {
        ArmPollTimer();
        ArmWatchTimer();
        if (program.receiverFound == 1 && pollTimer.armed == 0)
            platform::PostMessageA(program.mainWindow, pollTimerRefusedMessage, 0, 0);
    }
}

// One more try, then the user is told, as at start.
void OnPollTimerRefused() {
    if (program.suspended || !program.atConsole || pollTimer.armed == 1) return;
    ArmPollTimer();
    if (pollTimer.armed == 0) platform::MessageBoxA(0, noTimerText, "Remote Control", MB_OK | MB_ICONWARNING);
}

void OnPowerBroadcast(platform::WParam wParam) {
    switch (wParam & 0xFFFF) {
        case PBT_APMQUERYSUSPEND:
        case PBT_APMSUSPEND:
            program.suspended = true;
            FollowSuspendAndSession();
            break;
        // A refused suspend and a wake without a user (which brings no
        // PBT_APMRESUMESUSPEND) would otherwise leave the remote dead.
        case PBT_APMQUERYSUSPENDFAILED:
        case PBT_APMRESUMEAUTOMATIC:
        case PBT_APMRESUMESUSPEND:
            program.suspended = false;
            FollowSuspendAndSession();
            break;
        default:
            break;
    }
}

// Fast user switching: the copy of the user switched away from stops polling,
// so that the copy of the user at the screen gets every code.
void OnSessionChange(platform::WParam wParam) {
    if (wParam == WTS_CONSOLE_DISCONNECT) program.atConsole = false;
    if (wParam == WTS_CONSOLE_CONNECT) program.atConsole = true;
    if (wParam == WTS_CONSOLE_DISCONNECT || wParam == WTS_CONSOLE_CONNECT) FollowSuspendAndSession();
}

// Earlier copies, including the old product names, are asked to close; the
// program does not wait for them to go. Under this product's own name other
// programs' windows are common (a browser showing the guide, a folder window
// of the install folder), so there only windows of the utility's own class
// count, every copy of this program, wherever it is in the window order. The
// older names keep the first window whose title begins with them.
void AskEarlierCopiesToClose() {
    for (const char* title : utilityWindowTitles) {
        if (std::strcmp(title, utilityWindowClass) == 0) {
            AskEveryCopyToClose();
            continue;
        }
        const platform::WindowHandle copy = FindTopLevelByTitlePrefix(title);
        if (copy != 0) platform::PostMessageA(copy, WM_CLOSE, 0, 0);
    }
}

}  // namespace

void RegisterMainClass(platform::InstanceHandle instance) {
    RegisterProgramClass(instance, className, MainWndProc, CS_HREDRAW | CS_VREDRAW);
}

int CreateMainWindow(platform::InstanceHandle instance) {
    program.appInstance = instance;
    const platform::WindowHandle window =
        platform::CreateWindowExA(0, className, windowName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT,
                                  0, 0, 0, instance, nullptr);
    program.mainWindow = window;
    if (window == 0) return 0;
    TakeOverVirtualStoreChoice();
    LoadSettings();
    if (settings.alwaysRemoteOff == 1) {
        // The program ends without destroying its window; the icon would
        // otherwise linger in the tray until the mouse passes over it.
        RemoveTrayIcon(window);
        return 0;
    }
    platform::ShowWindow(window, SW_HIDE);
    platform::UpdateWindow(window);
    if (program.receiverFound == 1) {
        StartPollTimer(window);
        PrepareWatchTimer(window);
        // Without its poll timer the remote does nothing at all: the user is
        // told, rather than left with an icon that never answers.
        if (pollTimer.armed == 0) platform::MessageBoxA(0, noTimerText, "Remote Control", MB_OK | MB_ICONWARNING);
        // Started in a session that is not at the screen (another user's,
        // signed in at the same time): it waits to be switched to.
        program.atConsole = platform::IsConsoleSession() == 1;
        if (!program.atConsole) FollowSuspendAndSession();
    }
    return 1;
}

platform::LResult MainWndProc(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                              platform::LParam lParam) {
    // A registered number, so it cannot be a case of the switch.
    if (IsTaskbarCreated(message)) {
        RestoreTrayIcon();
        return 0;
    }
    switch (message) {
        case WM_CREATE:
            if (!OpenReceiver()) program.receiverFound = 0;
            DetectMediaCenter();
            InitPointerLimits();
            AddTrayIcon(window, TRAY_ICON_ID, platform::LoadIconA(program.appInstance, IDI_PROGRAM), "Remote Control");
            platform::WatchSessionChanges(window);
            return 0;
        case WM_DESTROY:
            ReleaseButtonHold();
            platform::StopWatchingSessionChanges(window);
            RemoveTrayIcon(window);
            platform::PostQuitMessage(0);
            return 0;
        case WM_DISPLAYCHANGE:
            UpdatePointerLimits(lParam);
            return 0;
        case WM_COMMAND:
            return OnCommand(window, wParam, lParam);
        case WM_POWERBROADCAST:
            OnPowerBroadcast(wParam);
            return 0;
        case WM_WTSSESSION_CHANGE:
            OnSessionChange(wParam);
            return 0;
        case pollTimerRefusedMessage:
            OnPollTimerRefused();
            return 0;
        case TRAY_CALLBACK_MESSAGE:
            if (lParam == WM_MOUSEMOVE) {
                platform::Shell_NotifyIconA(NIM_MODIFY, &tray.trayIcon);
            } else if (lParam == WM_LBUTTONDOWN || lParam == WM_RBUTTONDOWN) {
                OnTrayClick(window);
            }
            return 0;
        default:
            return platform::DefWindowProcA(window, message, wParam, lParam);
    }
}

int RunRemoteControl(platform::InstanceHandle instance) {
    AskEarlierCopiesToClose();
    platform::LoadStringA(instance, IDS_WINDOW_NAME, windowName, sizeof windowName);
    platform::LoadStringA(instance, IDS_CLASS_NAME, className, sizeof className);
    RegisterMainClass(instance);
    if (!CreateMainWindow(instance)) return 0;
    const platform::AcceleratorHandle accelerators = platform::LoadAcceleratorsA(instance, IDA_ACCELERATORS);
    platform::Message message = {};
    // GetMessageA answers -1 on an error; looping on "non-zero" would then spin forever.
    while (platform::GetMessageA(&message, 0, 0, 0) > 0) {
        if (platform::TranslateAcceleratorA(message.hwnd, accelerators, &message) == 0) {
            platform::TranslateMessage(&message);
            platform::DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
