// Window class, window, message loop and window lookup over USER32.
#include <windows.h>

#include "platform/win32/handles.h"

namespace {

// The portable procedures of the classes the program registers. Windows calls
// WindowTrampoline (stdcall), which finds the procedure by the class atom.
struct RegisteredClass {
    ATOM atom;
    platform::WindowProc procedure;
};
RegisteredClass registeredClasses[4];

LRESULT CALLBACK WindowTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const ATOM atom = static_cast<ATOM>(GetClassWord(window, GCW_ATOM));
    for (const RegisteredClass& registered : registeredClasses) {
        if (registered.atom != 0 && registered.atom == atom)
            return registered.procedure(FromWin(window), message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

namespace platform {

std::uint16_t RegisterClassExA(const WindowClassEx* windowClass) {
    static_assert(!thirtyTwoBitProcess || sizeof(WNDCLASSEXA) == 48, "WNDCLASSEXA is 48 bytes in a 32-bit process");
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = windowClass->style;
    wc.lpfnWndProc = WindowTrampoline;
    wc.cbClsExtra = windowClass->cbClsExtra;
    wc.cbWndExtra = windowClass->cbWndExtra;
    wc.hInstance = ToWin<HINSTANCE>(windowClass->hInstance);
    wc.hIcon = ToWin<HICON>(windowClass->hIcon);
    wc.hCursor = ToWin<HCURSOR>(windowClass->hCursor);
    wc.hbrBackground = ToWin<HBRUSH>(windowClass->hbrBackground);
    wc.lpszMenuName = windowClass->lpszMenuName;
    wc.lpszClassName = windowClass->lpszClassName;
    wc.hIconSm = ToWin<HICON>(windowClass->hIconSm);
    const ATOM atom = ::RegisterClassExA(&wc);
    if (atom != 0) {
        for (RegisteredClass& registered : registeredClasses) {
            if (registered.atom == 0) {
                registered = {atom, windowClass->lpfnWndProc};
                break;
            }
        }
    }
    return atom;
}

WindowHandle CreateWindowExA(std::uint32_t exStyle, const char* className, const char* windowName,
                             std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,
                             std::int32_t height, WindowHandle parent, MenuHandle menu, InstanceHandle instance,
                             void* createParam) {
    const HWND window = ::CreateWindowExA(exStyle, className, windowName, style, x, y, width, height,
                                          ToHwnd(parent), ToWin<HMENU>(menu), ToWin<HINSTANCE>(instance),
                                          createParam);
    return FromWin(window);
}

int ShowWindow(WindowHandle window, int showCommand) { return ::ShowWindow(ToHwnd(window), showCommand); }
int UpdateWindow(WindowHandle window) { return ::UpdateWindow(ToHwnd(window)); }

LResult DefWindowProcA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    return ::DefWindowProcA(ToHwnd(window), message, wParam, lParam);
}

int GetMessageA(Message* message, WindowHandle window, std::uint32_t filterMin, std::uint32_t filterMax) {
    MSG msg = {};
    const BOOL result = ::GetMessageA(&msg, ToHwnd(window), filterMin, filterMax);
    *message = FromMsg(msg);
    return result;
}

int TranslateMessage(const Message* message) {
    const MSG msg = ToMsg(*message);
    return ::TranslateMessage(&msg);
}

LResult DispatchMessageA(const Message* message) {
    const MSG msg = ToMsg(*message);
    return ::DispatchMessageA(&msg);
}

int TranslateAcceleratorA(WindowHandle window, AcceleratorHandle accelerators, Message* message) {
    MSG msg = ToMsg(*message);
    return ::TranslateAcceleratorA(ToHwnd(window), ToWin<HACCEL>(accelerators), &msg);
}

void PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

int PostMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    return ::PostMessageA(ToHwnd(window), message, wParam, lParam);
}

LResult SendMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    return ::SendMessageA(ToHwnd(window), message, wParam, lParam);
}

std::uint32_t RegisterWindowMessageA(const char* name) { return ::RegisterWindowMessageA(name); }

WindowHandle GetDesktopWindow() { return FromWin(::GetDesktopWindow()); }

WindowHandle GetWindow(WindowHandle window, std::uint32_t command) {
    return FromWin(::GetWindow(ToHwnd(window), command));
}

int GetWindowTextA(WindowHandle window, char* text, int maxCount) {
    return ::GetWindowTextA(ToHwnd(window), text, maxCount);
}

int SetWindowTextA(WindowHandle window, const char* text) { return ::SetWindowTextA(ToHwnd(window), text); }

WindowHandle FindWindowA(const char* className, const char* windowName) {
    return FromWin(::FindWindowA(className, windowName));
}

WindowHandle FindWindowExA(WindowHandle parent, WindowHandle childAfter, const char* className,
                           const char* windowName) {
    return FromWin(::FindWindowExA(ToHwnd(parent), ToHwnd(childAfter), className, windowName));
}

int SetForegroundWindow(WindowHandle window) { return ::SetForegroundWindow(ToHwnd(window)); }
WindowHandle SetActiveWindow(WindowHandle window) { return FromWin(::SetActiveWindow(ToHwnd(window))); }
int BringWindowToTop(WindowHandle window) { return ::BringWindowToTop(ToHwnd(window)); }
int IsIconic(WindowHandle window) { return ::IsIconic(ToHwnd(window)); }

int SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx, int cy,
                 std::uint32_t flags) {
    return ::SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), x, y, cx, cy, flags);
}

int GetScreenDpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int GetWindowRect(WindowHandle window, Rect* rect) {
    RECT r = {};
    if (!::GetWindowRect(ToHwnd(window), &r)) return 0;
    *rect = Rect{r.left, r.top, r.right, r.bottom};
    return 1;
}

int GetWorkArea(Rect* rect) {
    RECT r = {};
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return 0;
    *rect = Rect{r.left, r.top, r.right, r.bottom};
    return 1;
}

int GetClientSize(WindowHandle window, int* width, int* height) {
    RECT rect = {};
    if (!::GetClientRect(ToHwnd(window), &rect)) return 0;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return 1;
}

}  // namespace platform
