// Remote Check's window, its poll timer and its dealings with a running
// Remote Control. The receiver is read exactly as Remote Control reads it (the
// same two requests every 65 ms), so the two must not run together: each
// read takes the code away from the other.
#include "remote_check/check_window.h"

#include "adapters/bounded_text.h"
#include "platform/win32_constants.h"
#include "receiver/receiver_access.h"
#include "remote_check/code_verdict.h"
#include "remote_check/receiver_report.h"
#include "settings/settings.h"
#include "settings/utility_titles.h"
#include "shell/program_window_class.h"

namespace {

const char* const windowTitle = "Remote Check";
const char* const windowClass = "Alder Remote Check";
constexpr std::uintptr_t pollTimerId = 1;
constexpr std::uint32_t pollPeriodMs = 65;
// The list keeps the newest codes; older ones scroll away.
constexpr int maxLines = 500;
struct CheckWindow {
    platform::WindowHandle window;
    platform::WindowHandle receiverText;
    platform::WindowHandle codeList;
    bool restartUtility;     // Remote Check closed it, so starts it again at the end
    bool waitingForUtility;  // asked to close, it has not gone yet: nothing is read
} ui;

enum class Utility : std::uint8_t {
    Absent,   // none runs
    Closing,  // asked to close
    Staying,  // the user chose to keep it
};

platform::WindowHandle FindUtility() {
    return platform::FindWindowA(utilityWindowClass, nullptr);
}

// Asks a running Remote Control to close, the way a newer copy of it does.
Utility MakeWayForTheCheck() {
    if (FindUtility() == 0) return Utility::Absent;
    const int answer = platform::MessageBoxA(
        0,
        "Remote Control is running. It reads every code of the remote itself, so Remote Check would see "
        "none.\n\nClose Remote Control while Remote Check runs? It starts again when you close Remote Check.",
        windowTitle, MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return Utility::Staying;
    const platform::WindowHandle desktop = platform::GetDesktopWindow();
    for (platform::WindowHandle copy = platform::FindWindowExA(desktop, 0, utilityWindowClass, nullptr); copy != 0;
         copy = platform::FindWindowExA(desktop, copy, utilityWindowClass, nullptr)) {
        platform::PostMessageA(copy, WM_CLOSE, 0, 0);
    }
    ui.restartUtility = true;
    return Utility::Closing;
}

// Reading starts once the utility has gone, however long its close takes on
// a busy machine: until then every read would take a code away from it.
void WaitForUtility() {
    if (FindUtility() != 0) return;
    ui.waitingForUtility = false;
    char report[receiverReportSize];
    if (!ReportReceiver(true, report, sizeof report)) platform::KillTimer(ui.window, pollTimerId);
    platform::SetWindowTextA(ui.receiverText, report);
}

void StartUtilityAgain() {
    char path[300];
    const std::uint32_t length = platform::GetModuleFileNameA(path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    // RemoteControl.exe is installed beside Remote Check.
    char* name = path;
    for (char* c = path; *c != '\0'; ++c) {
        if (*c == '\\') name = c + 1;
    }
    *name = '\0';
    AppendText(path, sizeof path, "RemoteControl.exe");
    platform::ShellExecuteA(0, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

// "12:04:31.250  code  16  press   TotalMedia: Up"
void FormatLine(const platform::LocalTime& at, std::int32_t code, const Verdict& verdict, char* line,
                std::size_t size) {
    CopyText(line, size, "");
    AppendDecimal(line, size, at.hour, 2);
    AppendText(line, size, ":");
    AppendDecimal(line, size, at.minute, 2);
    AppendText(line, size, ":");
    AppendDecimal(line, size, at.second, 2);
    AppendText(line, size, ".");
    AppendDecimal(line, size, at.milliseconds, 3);
    AppendText(line, size, "   code ");
    AppendDecimal(line, size, code, 3);
    AppendText(line, size, verdict.decision.repeat ? "   repeat   " : "   press    ");
    AppendText(line, size, verdict.action);
}

void PollTick(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
    if (ui.waitingForUtility) return WaitForUtility();
    if (!IsKeyReady()) return;
    const std::int32_t code = ReadKeyCode();
    const Verdict verdict = TellCode(code, platform::GetTickCount());
    platform::LocalTime at{};
    platform::GetLocalTime(&at);
    char line[verdictSize + 64];
    FormatLine(at, code, verdict, line, sizeof line);
    platform::SendMessageA(ui.codeList, LB_INSERTSTRING, 0, reinterpret_cast<platform::LParam>(line));
    if (platform::SendMessageA(ui.codeList, LB_GETCOUNT, 0, 0) > maxLines) {
        platform::SendMessageA(ui.codeList, LB_DELETESTRING, maxLines, 0);
    }
}

platform::LResult CheckWndProc(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                               platform::LParam lParam) {
    if (message == WM_DESTROY) {
        platform::KillTimer(window, pollTimerId);
        if (ui.restartUtility) StartUtilityAgain();
        platform::PostQuitMessage(0);
        return 0;
    }
    return platform::DefWindowProcA(window, message, wParam, lParam);
}

platform::WindowHandle AddControl(const char* className, const char* text, std::uint32_t style, int y,
                                  int height, platform::InstanceHandle instance) {
    const platform::WindowHandle control = platform::CreateWindowExA(
        0, className, text, WS_CHILD | WS_VISIBLE | style, 10, y, 700, height, ui.window, 0, instance, nullptr);
    platform::SendMessageA(control, WM_SETFONT, platform::StockFontHandle(DEFAULT_GUI_FONT), 1);
    return control;
}

}  // namespace

int RunRemoteCheck(platform::InstanceHandle instance) {
    ui = CheckWindow{};
    const Utility utility = MakeWayForTheCheck();

    RegisterProgramClass(instance, windowClass, CheckWndProc, 0);
    ui.window = platform::CreateWindowExA(0, windowClass, windowTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                          CW_USEDEFAULT, 0, 740, 520, 0, 0, instance, nullptr);
    if (ui.window == 0) return 1;

    char report[receiverReportSize];
    bool reading = false;
    switch (utility) {
        case Utility::Absent:
            reading = ReportReceiver(true, report, sizeof report);
            break;
        case Utility::Closing:
            CopyText(report, sizeof report,
                     "Waiting for Remote Control to close... If it stays, end it from its tray icon (Exit).");
            ui.waitingForUtility = reading = true;
            break;
        case Utility::Staying:
            ReportReceiver(false, report, sizeof report);
            AppendText(report, sizeof report,
                       "\r\nRemote Control is running and takes every code itself: close it (tray icon, Exit) and "
                       "open Remote Check again to watch the remote.");
            break;
    }
    ui.receiverText = AddControl("STATIC", report, SS_LEFT, 10, 90, instance);
    AddControl("STATIC",
               "Codes as they arrive, newest first: the time, the code, a fresh press or a repeat (the same code "
               "within 250 ms), and what Remote Control, freshly started, would do with it now. Remote Check itself "
               "sends nothing.",
               SS_LEFT, 105, 35, instance);
    ui.codeList = AddControl("LISTBOX", "", WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 145, 325,
                             instance);

    std::int32_t storedDefault = settings.defaultApp;
    PeekDefaultApp(&storedDefault);
    StartTelling(storedDefault);
    if (reading) platform::SetTimer(ui.window, pollTimerId, pollPeriodMs, PollTick);

    platform::ShowWindow(ui.window, SW_SHOW);
    platform::UpdateWindow(ui.window);
    platform::Message message = {};
    while (platform::GetMessageA(&message, 0, 0, 0) > 0) {
        platform::TranslateMessage(&message);
        platform::DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
