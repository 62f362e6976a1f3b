// Remote Check's window and its poll timer. The receiver is read exactly as
// Remote Control reads it (the same two requests every 65 ms); reading waits
// until a running Remote Control has gone (utility_handover.h).
#include "remote_check/check_window.h"

#include <cstdlib>

#include "adapters/bounded_text.h"
#include "platform/win32_constants.h"
#include "receiver/receiver_access.h"
#include "remote_check/check_lines.h"
#include "remote_check/code_verdict.h"
#include "remote_check/receiver_report.h"
#include "remote_check/utility_handover.h"
#include "settings/settings.h"
#include "shell/program_window_class.h"

namespace {

const char* const windowTitle = "Remote Check";
const char* const windowClass = "Alder Remote Check";
constexpr std::uintptr_t pollTimerId = 1;
constexpr std::uint32_t pollPeriodMs = 65;
// The list keeps the newest codes; older ones scroll away.
constexpr int maxLines = 500;
constexpr int checkAgainId = 101;
constexpr int copyId = 102;
// All sizes below are pixels at 96 DPI (100 %); the window scales them to
// the screen's DPI, as its font grows with it.
// Fits a 640x480 screen; the window can be made larger.
constexpr int initialWidth = 620;
constexpr int initialHeight = 440;
// Wide enough for the longest line in the default GUI font, whose widest
// letters take about 7 pixels: the list scrolls sideways to show it whole.
constexpr int listPixelsPerCharacter = 7;
constexpr std::size_t lineSize = verdictSize + 64;

struct CheckWindow {
    platform::WindowHandle window;
    platform::WindowHandle receiverText;
    platform::WindowHandle checkAgain;
    platform::WindowHandle copy;
    platform::WindowHandle explanation;
    platform::WindowHandle codeList;
    bool waitingForUtility;  // asked to close, it has not gone yet: nothing is read
    bool utilityStays;       // the user kept it running: nothing can be read
    bool reading;            // the poll timer reads codes
    bool timerRefused;       // Windows gave no poll timer: Check again asks anew
    std::size_t widestLine;  // in characters, for the list's sideways scroll
    int dpi;
    char report[receiverReportSize];
} ui;

// A size at 96 DPI, in the screen's pixels.
int Scaled(int pixels) {
    return pixels * ui.dpi / 96;
}

void AddLine(const char* line) {
    platform::SendMessageA(ui.codeList, LB_INSERTSTRING, 0, reinterpret_cast<platform::LParam>(line));
    if (platform::SendMessageA(ui.codeList, LB_GETCOUNT, 0, 0) > maxLines) {
        platform::SendMessageA(ui.codeList, LB_DELETESTRING, maxLines, 0);
    }
    std::size_t length = 0;
    while (line[length] != '\0') ++length;
    if (length > ui.widestLine) {
        ui.widestLine = length;
        platform::SendMessageA(ui.codeList, LB_SETHORIZONTALEXTENT,
                               static_cast<platform::WParam>(Scaled(static_cast<int>(length) * listPixelsPerCharacter)),
                               0);
    }
}

// Why the list stays empty, as its one line: nothing is read.
void TellWhyNothingIsRead() {
    platform::SendMessageA(ui.codeList, LB_RESETCONTENT, 0, 0);
    ui.widestLine = 0;
    if (ui.reading) return;
    if (ui.timerRefused) {
        AddLine("Nothing is read: Windows refused Remote Check a timer (it may be short of resources). Press "
                "Check again.");
    } else if (ui.waitingForUtility) {
        AddLine("Nothing is read until Remote Control has closed.");
    } else if (ui.utilityStays) {
        AddLine("Nothing is read while Remote Control runs: it takes every code itself.");
    } else {
        AddLine("Nothing is read: no receiver answers (see above). Press Check again once the card or its "
                "driver is in place.");
    }
}

void PollTick(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t);

// The timer that reads, or waits for the utility to go. Refused, nothing
// would ever be read without a word: the list says so.
bool ArmPollTimer() {
    ui.timerRefused = platform::SetTimer(ui.window, pollTimerId, pollPeriodMs, PollTick) == 0;
    if (ui.timerRefused) {
        ui.reading = false;
        TellWhyNothingIsRead();
    }
    return !ui.timerRefused;
}

// Opens the receiver and reports it; reading starts when its driver answers.
void CheckReceiver() {
    ui.reading = ReportReceiver(true, ui.report, sizeof ui.report);
    platform::SetWindowTextA(ui.receiverText, ui.report);
    TellWhyNothingIsRead();
    if (ui.reading) ArmPollTimer();
}

// Reading starts once the utility has gone, however long its close takes on
// a busy machine: until then every read would take a code away from it.
void WaitForUtility() {
    if (UtilityRuns()) return;
    ui.waitingForUtility = false;
    platform::KillTimer(ui.window, pollTimerId);
    CheckReceiver();
}

void PollTick(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
    if (ui.waitingForUtility) return WaitForUtility();
    if (!IsKeyReady()) return;
    const std::int32_t code = ReadKeyCode();
    const Verdict verdict = TellCode(code, platform::GetTickCount());
    platform::LocalTime at{};
    platform::GetLocalTime(&at);
    char line[lineSize];
    FormatCodeLine(at, code, verdict, line, sizeof line);
    AddLine(line);
}

// The selected lines, or all when none is selected, oldest first, after a
// header that says what produced them.
void CopyLines() {
    // On the heap, only while copying: a buffer for 500 lines in the image
    // would more than double the exe.
    constexpr std::size_t size = maxLines * lineSize + receiverReportSize + 256;
    char* const text = static_cast<char*>(std::malloc(size));
    if (text == nullptr) return;
    FormatCopyHeader(ui.report, text, size);
    const int count = static_cast<int>(platform::SendMessageA(ui.codeList, LB_GETCOUNT, 0, 0));
    const bool selectedOnly = platform::SendMessageA(ui.codeList, LB_GETSELCOUNT, 0, 0) > 0;
    for (int i = count - 1; i >= 0; --i) {
        if (selectedOnly && platform::SendMessageA(ui.codeList, LB_GETSEL, i, 0) <= 0) continue;
        char line[lineSize] = {};
        if (platform::SendMessageA(ui.codeList, LB_GETTEXTLEN, i, 0) >= static_cast<platform::LResult>(lineSize))
            continue;
        platform::SendMessageA(ui.codeList, LB_GETTEXT, i, reinterpret_cast<platform::LParam>(line));
        AppendText(text, size, line);
        AppendText(text, size, "\r\n");
    }
    platform::CopyTextToClipboard(ui.window, text);
    std::free(text);
}

// x, y, width and height at 96 DPI; a width or height of 0 or less is what
// is left of the window's (in the screen's pixels) less that much.
void Place(platform::WindowHandle control, int x, int y, int width, int height, int windowWidth,
           int windowHeight) {
    const int cx = width > 0 ? Scaled(width) : windowWidth + Scaled(width);
    const int cy = height > 0 ? Scaled(height) : windowHeight + Scaled(height);
    platform::SetWindowPos(control, 0, Scaled(x), Scaled(y), cx > 0 ? cx : 0, cy > 0 ? cy : 0, SWP_NOZORDER);
}

// The controls follow the window's size; the list takes what is left.
void Layout(int width, int height) {
    constexpr int margin = 10, buttonWidth = 100, buttonHeight = 24;
    Place(ui.receiverText, margin, margin, -2 * margin, 80, width, height);
    Place(ui.checkAgain, margin, 95, buttonWidth, buttonHeight, width, height);
    Place(ui.copy, 2 * margin + buttonWidth, 95, buttonWidth, buttonHeight, width, height);
    // Room for four lines of the explanation, as it wraps in a narrow window.
    Place(ui.explanation, margin, 125, -2 * margin, 56, width, height);
    Place(ui.codeList, margin, 184, -2 * margin, -184 - margin, width, height);
}

platform::LResult CheckWndProc(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                               platform::LParam lParam) {
    switch (message) {
        case WM_SIZE:
            Layout(static_cast<int>(lParam & 0xFFFF), static_cast<int>((lParam >> 16) & 0xFFFF));
            return 0;
        case WM_COMMAND:
            if ((wParam & 0xFFFF) == copyId) CopyLines();
            if ((wParam & 0xFFFF) != checkAgainId) return 0;
            if (ui.timerRefused) {
                // The receiver stands as it was reported: only the timer is asked for anew.
                if (ArmPollTimer()) {
                    ui.reading = !ui.waitingForUtility;
                    TellWhyNothingIsRead();
                }
            } else if (!ui.waitingForUtility && !ui.utilityStays && !ui.reading) {
                CheckReceiver();
            }
            return 0;
        case WM_DESTROY:
            platform::KillTimer(window, pollTimerId);
            StartUtilityAgainIfClosed(windowTitle);
            platform::PostQuitMessage(0);
            return 0;
        default:
            return platform::DefWindowProcA(window, message, wParam, lParam);
    }
}

platform::WindowHandle AddControl(const char* className, const char* text, std::uint32_t style, int id,
                                  platform::InstanceHandle instance) {
    const platform::WindowHandle control =
        platform::CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, ui.window,
                                  static_cast<platform::MenuHandle>(id), instance, nullptr);
    platform::SendMessageA(control, WM_SETFONT, platform::StockFontHandle(DEFAULT_GUI_FONT), 1);
    return control;
}

}  // namespace

int RunRemoteCheck(platform::InstanceHandle instance) {
    ui = CheckWindow{};
    ui.dpi = platform::GetScreenDpi();

    // Redrawn whole on every resize: the texts wrap anew.
    RegisterProgramClass(instance, windowClass, CheckWndProc, CS_HREDRAW | CS_VREDRAW);
    // No larger than the screen, however large its DPI makes the window.
    int windowWidth = Scaled(initialWidth), windowHeight = Scaled(initialHeight);
    platform::Rect area = {};
    if (platform::GetWorkArea(&area) != 0) {
        if (windowWidth > area.right - area.left) windowWidth = area.right - area.left;
        if (windowHeight > area.bottom - area.top) windowHeight = area.bottom - area.top;
    }
    ui.window = platform::CreateWindowExA(0, windowClass, windowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                                          windowWidth, windowHeight, 0, 0, instance, nullptr);
    if (ui.window == 0) {
        platform::MessageBoxA(0, "Remote Check could not open its window: Windows refused it (it may be short of "
                              "resources). Close some programs and try again.",
                              windowTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
    // Asked only once the window stands, so that a utility closed for the
    // check is started again at its end.
    const Utility utility = MakeWayForTheCheck(windowTitle);

    ui.receiverText = AddControl("STATIC", "", SS_LEFT, 0, instance);
    ui.checkAgain = AddControl("BUTTON", "Check again", BS_PUSHBUTTON | WS_TABSTOP, checkAgainId, instance);
    ui.copy = AddControl("BUTTON", "Copy", BS_PUSHBUTTON | WS_TABSTOP, copyId, instance);
    ui.explanation = AddControl(
        "STATIC",
        "Codes as they arrive, newest first: the time, the code (and the button most TV applications take it "
        "for), a fresh press or a repeat (the same code within 250 ms), and what Remote Control, freshly "
        "started, would do with it now. Remote Check itself sends nothing. Copy copies the selected lines, "
        "or all.",
        SS_LEFT, 0, instance);
    ui.codeList = AddControl("LISTBOX", "",
                             WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP | LBS_NOINTEGRALHEIGHT |
                                 LBS_EXTENDEDSEL | LBS_USETABSTOPS,
                             0, instance);
    // In dialog units: the time, the code and its button, press or repeat.
    static const int tabStops[] = {52, 120, 150};
    platform::SendMessageA(ui.codeList, LB_SETTABSTOPS, 3, reinterpret_cast<platform::LParam>(tabStops));
    int width = 0, height = 0;
    if (platform::GetClientSize(ui.window, &width, &height)) Layout(width, height);

    std::int32_t storedDefault = settings.defaultApp;
    PeekDefaultApp(&storedDefault);
    StartTelling(storedDefault);
    switch (utility) {
        case Utility::Absent:
            CheckReceiver();
            break;
        case Utility::Closing:
            CopyText(ui.report, sizeof ui.report,
                     "Waiting for Remote Control to close... If it stays, end it from its tray icon (Exit).");
            platform::SetWindowTextA(ui.receiverText, ui.report);
            ui.waitingForUtility = true;
            TellWhyNothingIsRead();
            ArmPollTimer();
            break;
        case Utility::Staying:
            ReportReceiver(false, ui.report, sizeof ui.report);
            AppendText(ui.report, sizeof ui.report,
                       "\r\nRemote Control is running and takes every code itself: close it (tray icon, Exit) "
                       "and open Remote Check again to watch the remote.");
            platform::SetWindowTextA(ui.receiverText, ui.report);
            ui.utilityStays = true;
            TellWhyNothingIsRead();
            break;
    }

    platform::ShowWindow(ui.window, SW_SHOW);
    platform::UpdateWindow(ui.window);
    platform::Message message = {};
    while (platform::GetMessageA(&message, 0, 0, 0) > 0) {
        // Ctrl+C anywhere in the window copies, as the Copy button does.
        if (message.message == WM_KEYDOWN && message.wParam == 'C' && platform::GetKeyState(VK_CONTROL) < 0) {
            CopyLines();
            continue;
        }
        platform::TranslateMessage(&message);
        platform::DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
