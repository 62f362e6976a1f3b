// The platform functions of platform/platform.h over the fake desktop, so that
// the product code runs on the host as it would on Windows. This file: windows,
// messages, window lookup, foreground and input; the rest are in fake_dialogs,
// fake_registry, fake_system and fake_receiver.
#include "fake/fake_calls.h"

namespace platform {

using namespace calls;

namespace {

std::string MessageFields(const Message* message) {
    if (!message) return "null";
    return "{" + W(message->hwnd) + "," + Hex(message->message) + "," + Hex32(message->wParam) + "," +
           Hex32(static_cast<std::uint64_t>(message->lParam)) + "}";
}

bool Matches(const char* wanted, const std::string& actual) {
    return !wanted || fake::EqualNoCase(wanted, actual);
}

constexpr std::uint32_t kWsVisible = 0x10000000;

void MoveToTop(WindowHandle window) {
    auto& z = D().zOrder;
    z.erase(std::remove(z.begin(), z.end(), window), z.end());
    z.insert(z.begin(), window);
}

WindowHandle FindTopLevel(WindowHandle parent, WindowHandle childAfter, const char* className,
                          const char* windowName) {
    fake::Desktop& desktop = D();
    // Only top-level windows are modelled: no window has children.
    if (parent != 0 && parent != desktop.desktop()) return 0;
    const auto& z = desktop.zOrder;
    auto from = z.begin();
    if (childAfter != 0) {
        from = std::find(z.begin(), z.end(), childAfter);
        if (from == z.end()) return 0;
        ++from;
    }
    for (auto it = from; it != z.end(); ++it) {
        const fake::Window& window = desktop.windows.at(*it);
        if (Matches(className, window.className) && Matches(windowName, window.title)) return *it;
    }
    return 0;
}

void PostToQueue(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    D().queue.push_back(Message{window, message, wParam, lParam, D().tickCount, D().cursor});
}

// A window of another process answers no messages; with closeWindowsOnWmClose
// it goes away on WM_CLOSE, as a real application would.
void DeliverToForeign(WindowHandle window, std::uint32_t message) {
    if (message == WM_CLOSE && D().closeWindowsOnWmClose) D().RemoveWindow(window);
}

}  // namespace

// --- Windows and messages ---------------------------------------------------

std::uint16_t RegisterClassExA(const WindowClassEx* windowClass) {
    Log("RegisterClassExA", {windowClass ? Str(windowClass->lpszClassName) : "null"});
    if (Failing("RegisterClassExA", 8)) return 0;
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
    fake::Desktop& desktop = D();
    const std::string key = fake::Lower(windowClass->lpszClassName);
    if (desktop.windowClasses.count(key)) {
        desktop.lastError = kErrorClassAlreadyExists;
        return 0;
    }
    desktop.windowClasses[key] =
        fake::Desktop::WindowClass{windowClass->lpszClassName, windowClass->lpfnWndProc};
    return static_cast<std::uint16_t>(0xC000 + desktop.windowClasses.size());
}

WindowHandle CreateWindowExA(std::uint32_t exStyle, const char* className, const char* windowName,
                             std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,
                             std::int32_t height, WindowHandle parent, MenuHandle menu,
                             InstanceHandle instance, void* /*createParam*/) {
    Log("CreateWindowExA", {Hex(exStyle), Str(className), Str(windowName), Hex(style), Dec(x), Dec(y),
                            Dec(width), Dec(height), W(parent), Hex(menu), Hex(instance)});
    if (Failing("CreateWindowExA", 8)) return 0;
    fake::Desktop& desktop = D();
    const auto found =
        className ? desktop.windowClasses.find(fake::Lower(className)) : desktop.windowClasses.end();
    if (found == desktop.windowClasses.end()) {
        desktop.lastError = kErrorCannotFindWindowClass;
        return 0;
    }
    const WindowProc procedure = found->second.procedure;
    const WindowHandle handle =
        desktop.AddOwnWindow(windowName ? windowName : "", procedure, found->second.name);
    desktop.Find(handle)->visible = (style & kWsVisible) != 0;
    // The product has no CREATESTRUCT type, so lParam carries nothing to read.
    if (procedure(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindowNow(handle);
        return 0;
    }
    return handle;
}

int ShowWindow(WindowHandle window, int showCommand) {
    Log("ShowWindow", {W(window), Dec(showCommand)});
    fake::Window* target = D().Find(window);
    if (!target) return 0;
    const bool wasVisible = target->visible;
    constexpr int kSwShowNormal = 1, kSwShowMinimized = 2, kSwMaximize = 3, kSwShowMinNoActive = 7;
    // Every command but SW_HIDE shows the window, a minimized one included.
    target->visible = showCommand != SW_HIDE;
    if (showCommand == SW_MINIMIZE || showCommand == kSwShowMinimized || showCommand == kSwShowMinNoActive) {
        target->iconic = true;
    } else if (showCommand == SW_RESTORE || showCommand == kSwShowNormal || showCommand == kSwMaximize) {
        target->iconic = false;
    }
    return wasVisible ? 1 : 0;
}

int UpdateWindow(WindowHandle window) {
    Log("UpdateWindow", {W(window)});
    if (Failing("UpdateWindow", 6)) return 0;
    return D().Find(window) ? 1 : 0;
}

LResult DefWindowProcA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    Log("DefWindowProcA",
        {W(window), Hex(message), Hex32(wParam), Hex32(static_cast<std::uint64_t>(lParam))});
    if (message == WM_CLOSE) DestroyWindowNow(window);
    return 0;
}

int GetMessageA(Message* message, WindowHandle window, std::uint32_t filterMin, std::uint32_t filterMax) {
    Log("GetMessageA", {W(window), Hex(filterMin), Hex(filterMax)});
    if (Failing("GetMessageA", 6)) return -1;
    fake::Desktop& desktop = D();
    if (!message) return -1;
    if (desktop.queue.empty()) {
        // Nothing else could ever arrive: end the program's loop as WM_QUIT would.
        desktop.queueRanDry = true;
        *message = Message{0, WM_QUIT, 0, 0, desktop.tickCount, desktop.cursor};
        return 0;
    }
    *message = desktop.queue.front();
    desktop.queue.pop_front();
    return message->message == WM_QUIT ? 0 : 1;
}

int TranslateMessage(const Message* message) {
    Log("TranslateMessage", {MessageFields(message)});
    return 0;
}

LResult DispatchMessageA(const Message* message) {
    Log("DispatchMessageA", {MessageFields(message)});
    if (!message) return 0;
    const fake::Window* target = D().Find(message->hwnd);
    if (!target) return 0;
    if (target->procedure) {
        return target->procedure(message->hwnd, message->message, message->wParam, message->lParam);
    }
    if (target->dialogProcedure) {
        return target->dialogProcedure(message->hwnd, message->message, message->wParam, message->lParam);
    }
    return 0;
}

int TranslateAcceleratorA(WindowHandle window, AcceleratorHandle accelerators, Message* message) {
    Log("TranslateAcceleratorA", {W(window), Hex(accelerators), MessageFields(message)});
    return 0;
}

void PostQuitMessage(int exitCode) {
    Log("PostQuitMessage", {Hex32(static_cast<std::uint32_t>(exitCode))});
    PostToQueue(0, WM_QUIT, static_cast<WParam>(exitCode), 0);
}

int PostMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    Log("PostMessageA", {W(window), Hex(message), Hex32(wParam), Hex32(static_cast<std::uint64_t>(lParam))});
    if (Failing("PostMessageA", 5)) return 0;
    if (window == 0) {  // a thread message
        PostToQueue(0, message, wParam, lParam);
        return 1;
    }
    const fake::Window* target = D().Find(window);
    if (!target) {
        D().lastError = kErrorInvalidWindowHandle;
        return 0;
    }
    if (target->own) {
        PostToQueue(window, message, wParam, lParam);
    } else {
        DeliverToForeign(window, message);
    }
    return 1;
}

LResult SendMessageA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    Log("SendMessageA", {W(window), Hex(message), Hex32(wParam), Hex32(static_cast<std::uint64_t>(lParam))});
    if (Failing("SendMessageA", 5)) return 0;
    const fake::Window* target = D().Find(window);
    if (!target) return 0;
    if (target->procedure) return target->procedure(window, message, wParam, lParam);
    if (target->dialogProcedure) return target->dialogProcedure(window, message, wParam, lParam);
    if (!target->own) DeliverToForeign(window, message);
    return 0;
}

std::uint32_t RegisterWindowMessageA(const char* name) {
    Log("RegisterWindowMessageA", {Str(name)});
    if (Failing("RegisterWindowMessageA", 8)) return 0;
    if (!name || !*name) {
        D().lastError = kErrorInvalidParameter;
        return 0;
    }
    return D().RegisteredMessage(name);
}

// --- Window lookup and foreground -------------------------------------------

WindowHandle GetDesktopWindow() {
    Log("GetDesktopWindow", {});
    return D().desktop();
}

WindowHandle GetWindow(WindowHandle window, std::uint32_t command) {
    Log("GetWindow", {W(window), Hex(command)});
    if (Failing("GetWindow", 1400)) return 0;
    const auto& z = D().zOrder;
    if (command == GW_CHILD) return window == D().desktop() && !z.empty() ? z.front() : 0;
    const auto at = std::find(z.begin(), z.end(), window);
    if (at == z.end()) return 0;
    switch (command) {
        case 0:  // GW_HWNDFIRST
            return z.front();
        case 1:  // GW_HWNDLAST
            return z.back();
        case GW_HWNDNEXT:
            return std::next(at) == z.end() ? 0 : *std::next(at);
        case 3:  // GW_HWNDPREV
            return at == z.begin() ? 0 : *std::prev(at);
        default:  // GW_OWNER and the rest: no window has an owner here
            return 0;
    }
}

int GetWindowTextA(WindowHandle window, char* text, int maxCount) {
    Log("GetWindowTextA", {W(window), Dec(maxCount)});
    if (Failing("GetWindowTextA", 1400)) return 0;
    const fake::Window* target = D().Find(window);
    if (!target) {
        if (text && maxCount > 0) text[0] = 0;
        return 0;
    }
    return CopyCut(target->title, text, maxCount);
}

int SetWindowTextA(WindowHandle window, const char* text) {
    Log("SetWindowTextA", {W(window), Str(text)});
    if (Failing("SetWindowTextA", 5)) return 0;
    fake::Window* target = D().Find(window);
    if (!target) return 0;
    target->title = text ? text : "";
    return 1;
}

WindowHandle FindWindowA(const char* className, const char* windowName) {
    Log("FindWindowA", {Str(className), Str(windowName)});
    if (Failing("FindWindowA", 0)) return 0;
    return FindTopLevel(0, 0, className, windowName);
}

WindowHandle FindWindowExA(WindowHandle parent, WindowHandle childAfter, const char* className,
                           const char* windowName) {
    Log("FindWindowExA", {W(parent), W(childAfter), Str(className), Str(windowName)});
    if (Failing("FindWindowExA", 0)) return 0;
    return FindTopLevel(parent, childAfter, className, windowName);
}

int SetForegroundWindow(WindowHandle window) {
    Log("SetForegroundWindow", {W(window)});
    if (Failing("SetForegroundWindow", 0)) return 0;
    if (!D().Find(window)) return 0;
    // As on Wine: no foreground lock, and the Z order stays as it is.
    D().foreground = window;
    D().active = window;
    return 1;
}

WindowHandle SetActiveWindow(WindowHandle window) {
    Log("SetActiveWindow", {W(window)});
    if (Failing("SetActiveWindow", 5)) return 0;
    const fake::Window* target = D().Find(window);
    // Activation is per thread: another process's window cannot be activated.
    if (!target || !target->own) return 0;
    const WindowHandle previous = D().active;
    D().active = window;
    return previous;
}

int BringWindowToTop(WindowHandle window) {
    Log("BringWindowToTop", {W(window)});
    if (Failing("BringWindowToTop", 5)) return 0;
    if (!D().Find(window)) return 0;
    MoveToTop(window);
    return 1;
}

int IsIconic(WindowHandle window) {
    Log("IsIconic", {W(window)});
    const fake::Window* target = D().Find(window);
    return target && target->iconic ? 1 : 0;
}

int GetScreenDpi() {
    Log("GetScreenDpi", {});
    return D().dpi;
}

// Every window of the fake is 300 x 120 pixels at the screen's top left
// corner, unless SetWindowPos moved it.
int GetWindowRect(WindowHandle window, Rect* rect) {
    Log("GetWindowRect", {W(window)});
    if (Failing("GetWindowRect", 1400)) return 0;
    if (!D().Find(window)) return 0;
    *rect = Rect{0, 0, 300, 120};
    return 1;
}

int GetWorkArea(Rect* rect) {
    Log("GetWorkArea", {});
    if (Failing("GetWorkArea", 5)) return 0;
    *rect = D().workArea;
    return 1;
}

// Every window of the fake has the client area of a 600x400 window.
int GetClientSize(WindowHandle window, int* width, int* height) {
    Log("GetClientSize", {W(window)});
    if (Failing("GetClientSize", 1400)) return 0;
    if (!D().Find(window)) return 0;
    *width = 600;
    *height = 400;
    return 1;
}

int SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx, int cy,
                 std::uint32_t flags) {
    // HWND_TOPMOST (-1) and HWND_NOTOPMOST (-2) are no windows: written in hex.
    const bool special = static_cast<std::int32_t>(insertAfter) < 0;
    Log("SetWindowPos", {W(window), special ? Hex32(insertAfter) : W(insertAfter), Dec(x), Dec(y), Dec(cx),
                         Dec(cy), Hex(flags)});
    if (Failing("SetWindowPos", 5)) return 0;
    fake::Window* target = D().Find(window);
    if (!target) return 0;
    constexpr std::uint32_t kNoZOrder = 0x4, kShowWindow = 0x40, kHideWindow = 0x80;
    constexpr WindowHandle kHwndBottom = 1;
    if (!(flags & kNoZOrder)) {
        auto& z = D().zOrder;
        // Topmost bands are not modelled: TOP and TOPMOST both go to the top.
        if (insertAfter == 0 || insertAfter == HWND_TOPMOST) {
            MoveToTop(window);
        } else if (insertAfter == kHwndBottom) {
            z.erase(std::remove(z.begin(), z.end(), window), z.end());
            z.push_back(window);
        } else if (!special && insertAfter != window && D().Find(insertAfter)) {
            z.erase(std::remove(z.begin(), z.end(), window), z.end());
            z.insert(std::next(std::find(z.begin(), z.end(), insertAfter)), window);
        }
    }
    if (flags & kShowWindow) target->visible = true;
    if (flags & kHideWindow) target->visible = false;
    return 1;
}

// --- Input -------------------------------------------------------------------

void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                 std::uintptr_t extraInfo) {
    Log("keybd_event", {Hex(virtualKey), Hex(scanCode), Hex(flags), Hex32(extraInfo)});
    D().keyDown[virtualKey] = (flags & KEYEVENTF_KEYUP) == 0;
}

void mouse_event(std::uint32_t flags, std::uint32_t dx, std::uint32_t dy, std::uint32_t data,
                 std::uintptr_t extraInfo) {
    // Relative moves are signed, though the API types them DWORD.
    Log("mouse_event", {Hex(flags), Dec(static_cast<std::int32_t>(dx)), Dec(static_cast<std::int32_t>(dy)),
                        Hex(data), Hex32(extraInfo)});
    fake::Desktop& desktop = D();
    if (flags & MOUSEEVENTF_LEFTDOWN) desktop.leftButtonDown = true;
    if (flags & MOUSEEVENTF_LEFTUP) desktop.leftButtonDown = false;
    if (flags & MOUSEEVENTF_RIGHTDOWN) desktop.rightButtonDown = true;
    if (flags & MOUSEEVENTF_RIGHTUP) desktop.rightButtonDown = false;
}

int GetCursorPos(Point* point) {
    Log("GetCursorPos", {});
    if (Failing("GetCursorPos", 5)) return 0;
    if (!point) return 0;
    *point = D().cursor;
    return 1;
}

int SetCursorPos(int x, int y) {
    Log("SetCursorPos", {Dec(x), Dec(y)});
    if (Failing("SetCursorPos", 5)) return 0;
    fake::Desktop& desktop = D();
    desktop.cursor.x = std::clamp(x, 0, std::max(desktop.screenWidth - 1, 0));
    desktop.cursor.y = std::clamp(y, 0, std::max(desktop.screenHeight - 1, 0));
    return 1;
}

LParam GetMessageExtraInfo() {
    Log("GetMessageExtraInfo", {});
    return D().messageExtraInfo;
}

FontHandle StockFontHandle(int index) {
    Log("StockFontHandle", {Dec(index)});
    return 0x5000 + static_cast<FontHandle>(index);
}

std::int16_t GetKeyState(int virtualKey) {
    Log("GetKeyState", {Hex32(static_cast<std::uint32_t>(virtualKey))});
    return virtualKey >= 0 && virtualKey < 256 && D().keyDown[virtualKey] ? static_cast<std::int16_t>(0x8000) : 0;
}

int GetSystemMetrics(int index) {
    Log("GetSystemMetrics", {Hex32(static_cast<std::uint32_t>(index))});
    // Windows answers 0 on failure and sets no error.
    if (Failing("GetSystemMetrics", 0)) return 0;
    const auto found = D().metrics.find(index);
    return found == D().metrics.end() ? 0 : found->second;
}

}  // namespace platform
