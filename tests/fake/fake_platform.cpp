// The platform functions of platform/platform.h over the fake desktop, so that
// the product code runs on the host as it would on Windows.
//
// Each function first logs itself (format in fake_desktop.h). Beyond those
// rules: an output pointer is left out of the entry; a record passed in is
// written as its fields in braces ({hwnd,message,wParam,lParam} for a MSG,
// the fields of NOTIFYICONDATA); a registry key is written as the path by
// which the program opened it ("HKLM\Software\X"), an unknown handle in hex;
// show commands are decimal, as in the ShellExecuteA example.
#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "fake/fake_desktop.h"
#include "fake/fake_text.h"
#include "platform/platform.h"
#include "platform/win32_constants.h"

namespace platform {

namespace {

using fake::Dec;
using fake::Hex;
using fake::Hex32;
using fake::Str;
using fake::W;

fake::Desktop& D() { return fake::Desktop::Get(); }

void Log(const char* function, std::initializer_list<std::string> arguments) {
    std::string entry = function;
    entry += '(';
    bool first = true;
    for (const std::string& argument : arguments) {
        if (!first) entry += ',';
        entry += argument;
        first = false;
    }
    entry += ')';
    D().Record(std::move(entry));
}

std::string MessageFields(const Message* message) {
    if (!message) return "null";
    return "{" + W(message->hwnd) + "," + Hex(message->message) + "," + Hex32(message->wParam) + "," +
           Hex32(static_cast<std::uint64_t>(message->lParam)) + "}";
}

bool Matches(const char* wanted, const std::string& actual) {
    return !wanted || fake::EqualNoCase(wanted, actual);
}

// Win32 error codes the fake sets besides those of win32_constants.h.
constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorInsufficientBuffer = 122;
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorKeyDeleted = 1018;
constexpr long kErrorInvalidWindowHandle = 1400;
constexpr long kErrorCannotFindWindowClass = 1407;
constexpr long kErrorClassAlreadyExists = 1410;
constexpr long kErrorNoSuchPrivilege = 1313;
constexpr long kErrorPrivilegeNotHeld = 1314;

constexpr std::uint32_t kWsVisible = 0x10000000;

// DestroyWindow: the procedure sees WM_DESTROY while the window still exists.
void DestroyWindowNow(WindowHandle handle) {
    const fake::Window* window = D().Find(handle);
    if (!window) return;
    if (window->procedure) {
        window->procedure(handle, WM_DESTROY, 0, 0);
    } else if (window->dialogProcedure) {
        window->dialogProcedure(handle, WM_DESTROY, 0, 0);
    }
    D().RemoveWindow(handle);
}

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

// --- Registry helpers ---

constexpr RegKey kHkeyClassesRoot = 0x80000000u;
constexpr RegKey kHkeyUsers = 0x80000003u;
constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kMaximumAllowed = 0x02000000;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kGenericWrite = 0x40000000;
constexpr std::uint32_t kGenericRead = 0x80000000;

struct KeyRef {
    bool valid = false;
    std::string spelled;  // for the log and for paths below it
    std::string key;      // Desktop::registry form
    std::uint32_t access = 0;
};

KeyRef Resolve(RegKey handle) {
    const std::pair<RegKey, const char*> roots[] = {
        {HKEY_LOCAL_MACHINE, "HKLM"}, {HKEY_CURRENT_USER, "HKCU"}, {kHkeyClassesRoot, "HKCR"}, {kHkeyUsers, "HKU"}};
    for (const auto& [root, name] : roots) {
        if (handle == root) return KeyRef{true, name, fake::KeyPathKey(name), kMaximumAllowed};
    }
    const auto open = D().openKeyInfo.find(handle);
    if (open == D().openKeyInfo.end()) return KeyRef{};
    return KeyRef{true, open->second.spelledPath, D().openKeys.at(handle), open->second.access};
}

std::string KeyName(RegKey handle) {
    const KeyRef ref = Resolve(handle);
    return ref.valid ? Str(ref.spelled.c_str()) : Hex(handle);
}

std::string Below(const std::string& spelled, const char* subKey) {
    std::string sub = subKey ? subKey : "";
    while (!sub.empty() && sub.back() == '\\') sub.pop_back();
    return sub.empty() ? spelled : spelled + "\\" + sub;
}

bool Listed(const std::set<std::string>& paths, const std::string& key) {
    return std::any_of(paths.begin(), paths.end(),
                       [&](const std::string& path) { return fake::KeyPathKey(path) == key; });
}

RegKey OpenHandle(const std::string& spelled, std::uint32_t access) {
    fake::Desktop& desktop = D();
    const RegKey handle = desktop.nextRegHandle++;
    desktop.openKeys[handle] = fake::KeyPathKey(spelled);
    desktop.openKeyInfo[handle] = fake::Desktop::OpenKeyInfo{spelled, access};
    return handle;
}

long OpenKey(RegKey root, const char* subKey, std::uint32_t access, RegKey* result) {
    if (!result) return kErrorInvalidParameter;
    *result = 0;
    const KeyRef parent = Resolve(root);
    if (!parent.valid) return kErrorInvalidHandle;
    const std::string spelled = Below(parent.spelled, subKey);
    const std::string key = fake::KeyPathKey(spelled);
    if (Listed(D().denyOpen, key)) return ERROR_ACCESS_DENIED;
    if (!D().KeyExists(key)) return ERROR_FILE_NOT_FOUND;
    *result = OpenHandle(spelled, access);
    return ERROR_SUCCESS;
}

bool Allows(std::uint32_t access, std::uint32_t specific, std::uint32_t generic) {
    return (access & (specific | generic | kGenericAll | kMaximumAllowed)) != 0;
}

std::size_t BoundedLength(const char* text, std::size_t max) {
    std::size_t length = 0;
    while (length < max && text[length] != 0) ++length;
    return length;
}

// Copies text into a buffer of bufferMax chars, cut to bufferMax - 1 and a NUL.
int CopyCut(const std::string& text, char* buffer, int bufferMax) {
    if (!buffer || bufferMax <= 0) return 0;
    const int count = std::min(static_cast<int>(text.size()), bufferMax - 1);
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(count));
    buffer[count] = 0;
    return count;
}

// --- Receiver helpers ---

// The vendor's two property sets, as their GUIDs lie in memory.
constexpr std::uint8_t kStatusSet[16] = {0x89, 0xE5, 0x90, 0x94, 0x17, 0x6B, 0xEC, 0x44,
                                         0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE};
constexpr std::uint8_t kTransferSet[16] = {0x66, 0xC4, 0xB1, 0xFB, 0x03, 0xBE, 0x0F, 0x47,
                                           0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE};
constexpr std::uint32_t kStatusPropertyLength = 32;
constexpr std::uint32_t kStatusDataLength = 1;
constexpr std::uint32_t kTransferPropertyLength = 48;
constexpr std::uint32_t kTransferDataLength = 8;
constexpr std::size_t kSelectorOffset = 24;  // status: selector; transfer: device address
constexpr std::size_t kReadBufferOffset = 36;
constexpr std::size_t kReadCountOffset = 40;
constexpr std::uint8_t kKeySelector = 8;
constexpr std::uint8_t kKeyDeviceAddress = 0x60;

char fakeControlObject;
ReceiverControl FakeControl() { return reinterpret_cast<ReceiverControl>(&fakeControlObject); }

std::uint32_t ReadLe32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16) |
           static_cast<std::uint32_t>(bytes[3]) << 24;
}

constexpr std::uint32_t kPrivilegeShutdown = 19;  // SE_SHUTDOWN_PRIVILEGE's LUID
constexpr std::uint32_t kEwxReboot = 0x2;

}  // namespace

// --- Windows and messages ---------------------------------------------------

std::uint16_t RegisterClassExA(const WindowClassEx* windowClass) {
    Log("RegisterClassExA", {windowClass ? Str(windowClass->lpszClassName) : "null"});
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
    fake::Desktop& desktop = D();
    const std::string key = fake::Lower(windowClass->lpszClassName);
    if (desktop.windowClasses.count(key)) {
        desktop.lastError = kErrorClassAlreadyExists;
        return 0;
    }
    desktop.windowClasses[key] = fake::Desktop::WindowClass{windowClass->lpszClassName, windowClass->lpfnWndProc};
    return static_cast<std::uint16_t>(0xC000 + desktop.windowClasses.size());
}

WindowHandle CreateWindowExA(std::uint32_t exStyle, const char* className, const char* windowName,
                             std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,
                             std::int32_t height, WindowHandle parent, MenuHandle menu, InstanceHandle instance,
                             void* /*createParam*/) {
    Log("CreateWindowExA", {Hex(exStyle), Str(className), Str(windowName), Hex(style), Dec(x), Dec(y), Dec(width),
                            Dec(height), W(parent), Hex(menu), Hex(instance)});
    fake::Desktop& desktop = D();
    const auto found = className ? desktop.windowClasses.find(fake::Lower(className)) : desktop.windowClasses.end();
    if (found == desktop.windowClasses.end()) {
        desktop.lastError = kErrorCannotFindWindowClass;
        return 0;
    }
    const WindowProc procedure = found->second.procedure;
    const WindowHandle handle = desktop.AddOwnWindow(windowName ? windowName : "", procedure, found->second.name);
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
    return D().Find(window) ? 1 : 0;
}

LResult DefWindowProcA(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    Log("DefWindowProcA", {W(window), Hex(message), Hex32(wParam), Hex32(static_cast<std::uint64_t>(lParam))});
    if (message == WM_CLOSE) DestroyWindowNow(window);
    return 0;
}

int GetMessageA(Message* message, WindowHandle window, std::uint32_t filterMin, std::uint32_t filterMax) {
    Log("GetMessageA", {W(window), Hex(filterMin), Hex(filterMax)});
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
    if (target->procedure) return target->procedure(message->hwnd, message->message, message->wParam, message->lParam);
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
    const fake::Window* target = D().Find(window);
    if (!target) return 0;
    if (target->procedure) return target->procedure(window, message, wParam, lParam);
    if (target->dialogProcedure) return target->dialogProcedure(window, message, wParam, lParam);
    if (!target->own) DeliverToForeign(window, message);
    return 0;
}

// --- Window lookup and foreground -------------------------------------------

WindowHandle GetDesktopWindow() {
    Log("GetDesktopWindow", {});
    return D().desktop();
}

WindowHandle GetWindow(WindowHandle window, std::uint32_t command) {
    Log("GetWindow", {W(window), Hex(command)});
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
    const fake::Window* target = D().Find(window);
    if (!target) {
        if (text && maxCount > 0) text[0] = 0;
        return 0;
    }
    return CopyCut(target->title, text, maxCount);
}

WindowHandle FindWindowA(const char* className, const char* windowName) {
    Log("FindWindowA", {Str(className), Str(windowName)});
    return FindTopLevel(0, 0, className, windowName);
}

WindowHandle FindWindowExA(WindowHandle parent, WindowHandle childAfter, const char* className,
                           const char* windowName) {
    Log("FindWindowExA", {W(parent), W(childAfter), Str(className), Str(windowName)});
    return FindTopLevel(parent, childAfter, className, windowName);
}

int SetForegroundWindow(WindowHandle window) {
    Log("SetForegroundWindow", {W(window)});
    if (!D().Find(window)) return 0;
    // As on Wine: no foreground lock, and the Z order stays as it is.
    D().foreground = window;
    D().active = window;
    return 1;
}

WindowHandle SetActiveWindow(WindowHandle window) {
    Log("SetActiveWindow", {W(window)});
    const fake::Window* target = D().Find(window);
    // Activation is per thread: another process's window cannot be activated.
    if (!target || !target->own) return 0;
    const WindowHandle previous = D().active;
    D().active = window;
    return previous;
}

int BringWindowToTop(WindowHandle window) {
    Log("BringWindowToTop", {W(window)});
    if (!D().Find(window)) return 0;
    MoveToTop(window);
    return 1;
}

int IsIconic(WindowHandle window) {
    Log("IsIconic", {W(window)});
    const fake::Window* target = D().Find(window);
    return target && target->iconic ? 1 : 0;
}

int SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx, int cy, std::uint32_t flags) {
    // HWND_TOPMOST (-1) and HWND_NOTOPMOST (-2) are no windows: written in hex.
    const bool special = static_cast<std::int32_t>(insertAfter) < 0;
    Log("SetWindowPos", {W(window), special ? Hex32(insertAfter) : W(insertAfter), Dec(x), Dec(y), Dec(cx), Dec(cy),
                         Hex(flags)});
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

void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags, std::uintptr_t extraInfo) {
    Log("keybd_event", {Hex(virtualKey), Hex(scanCode), Hex(flags), Hex32(extraInfo)});
}

void mouse_event(std::uint32_t flags, std::uint32_t dx, std::uint32_t dy, std::uint32_t data,
                 std::uintptr_t extraInfo) {
    // Relative moves are signed, though the API types them DWORD.
    Log("mouse_event", {Hex(flags), Dec(static_cast<std::int32_t>(dx)), Dec(static_cast<std::int32_t>(dy)), Hex(data),
                        Hex32(extraInfo)});
}

int GetCursorPos(Point* point) {
    Log("GetCursorPos", {});
    if (!point) return 0;
    *point = D().cursor;
    return 1;
}

int SetCursorPos(int x, int y) {
    Log("SetCursorPos", {Dec(x), Dec(y)});
    fake::Desktop& desktop = D();
    desktop.cursor.x = std::clamp(x, 0, std::max(desktop.screenWidth - 1, 0));
    desktop.cursor.y = std::clamp(y, 0, std::max(desktop.screenHeight - 1, 0));
    return 1;
}

LParam GetMessageExtraInfo() {
    Log("GetMessageExtraInfo", {});
    return D().messageExtraInfo;
}

int GetSystemMetrics(int index) {
    Log("GetSystemMetrics", {Hex32(static_cast<std::uint32_t>(index))});
    const auto found = D().metrics.find(index);
    return found == D().metrics.end() ? 0 : found->second;
}

// --- Resources -----------------------------------------------------------------

int LoadStringA(InstanceHandle instance, std::uint32_t id, char* buffer, int bufferMax) {
    Log("LoadStringA", {Hex(instance), Hex(id), Dec(bufferMax)});
    const auto found = D().strings.find(id);
    return CopyCut(found == D().strings.end() ? std::string() : found->second, buffer, bufferMax);
}

IconHandle LoadIconA(InstanceHandle instance, std::uint32_t resourceId) {
    Log("LoadIconA", {Hex(instance), Hex(resourceId)});
    return 0x50000 + resourceId;
}

CursorHandle LoadCursorA(InstanceHandle instance, std::uint32_t resourceId) {
    Log("LoadCursorA", {Hex(instance), Hex(resourceId)});
    return 0x60000 + resourceId;
}

AcceleratorHandle LoadAcceleratorsA(InstanceHandle instance, std::uint32_t resourceId) {
    Log("LoadAcceleratorsA", {Hex(instance), Hex(resourceId)});
    return 0x70000 + resourceId;
}

// --- Dialogs, message boxes, menus -------------------------------------------

std::intptr_t DialogBoxParamA(InstanceHandle instance, std::uint32_t templateId, WindowHandle owner,
                              DialogProc procedure, LParam initParam) {
    Log("DialogBoxParamA", {Hex(instance), Hex(templateId), W(owner), Hex32(static_cast<std::uint64_t>(initParam))});
    fake::Desktop& desktop = D();
    if (desktop.failingDialogs.count(templateId) || !procedure) return -1;
    const WindowHandle dialog = desktop.AddWindow("", "#32770");
    fake::Window& record = *desktop.Find(dialog);
    record.own = true;
    record.dialogProcedure = procedure;
    record.dialogTemplate = templateId;
    procedure(dialog, WM_INITDIALOG, 0, initParam);
    // The test stands in for the modal loop; copied, as it may replace itself.
    const auto onDialog = desktop.onDialog;
    if (const fake::Window* open = desktop.Find(dialog); open && !open->dialogEnded && onDialog) onDialog(dialog);
    const fake::Window* ended = desktop.Find(dialog);
    const std::intptr_t result = ended && ended->dialogEnded ? ended->dialogResult : 0;
    DestroyWindowNow(dialog);
    return result;
}

int EndDialog(WindowHandle dialog, std::intptr_t result) {
    Log("EndDialog", {W(dialog), Hex32(static_cast<std::uint64_t>(result))});
    fake::Window* target = D().Find(dialog);
    if (!target || !target->dialogProcedure) return 0;
    target->dialogEnded = true;
    target->dialogResult = result;
    return 1;
}

LResult SendDlgItemMessageA(WindowHandle dialog, int itemId, std::uint32_t message, WParam wParam, LParam lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    if (message == CB_ADDSTRING) {
        Log("SendDlgItemMessageA", {W(dialog), Hex32(static_cast<std::uint32_t>(itemId)), Hex(message), Hex32(wParam),
                                    Str(text)});
    } else if (message == CB_GETLBTEXT) {  // lParam is the output buffer
        Log("SendDlgItemMessageA", {W(dialog), Hex32(static_cast<std::uint32_t>(itemId)), Hex(message), Hex32(wParam)});
    } else {
        Log("SendDlgItemMessageA", {W(dialog), Hex32(static_cast<std::uint32_t>(itemId)), Hex(message), Hex32(wParam),
                                    Hex32(static_cast<std::uint64_t>(lParam))});
    }
    const fake::Window* target = D().Find(dialog);
    if (!target || !target->dialogProcedure) return 0;
    constexpr LResult kCbErr = -1;
    fake::Desktop::ComboBox& combo = D().comboBoxes[{dialog, itemId}];
    const int count = static_cast<int>(combo.items.size());
    const int index = static_cast<int>(wParam);
    switch (message) {
        case CB_RESETCONTENT:
            combo = fake::Desktop::ComboBox{};
            return 0;
        case CB_ADDSTRING:
            combo.items.push_back(text ? text : "");
            return count;
        case CB_SETCURSEL:
            // An index out of range clears the selection and reports CB_ERR.
            combo.selection = index >= 0 && index < count ? index : -1;
            return combo.selection == -1 ? kCbErr : index;
        case CB_GETCURSEL:
            return combo.selection;
        case CB_GETLBTEXT: {
            if (index < 0 || index >= count) return kCbErr;
            // Like Windows, trusts the buffer to hold the item and its NUL.
            const std::string& item = combo.items[static_cast<std::size_t>(index)];
            char* buffer = reinterpret_cast<char*>(lParam);
            if (buffer) std::memcpy(buffer, item.c_str(), item.size() + 1);
            return static_cast<LResult>(item.size());
        }
        case CB_GETCOUNT:
            return count;
        default:
            return 0;
    }
}

int MessageBoxA(WindowHandle owner, const char* text, const char* caption, std::uint32_t type) {
    Log("MessageBoxA", {W(owner), Str(text), Str(caption), Hex(type)});
    const auto onMessageBox = D().onMessageBox;
    return onMessageBox ? onMessageBox(text ? text : "", caption ? caption : "") : IDOK;
}

MenuHandle CreatePopupMenu() {
    Log("CreatePopupMenu", {});
    const MenuHandle menu = D().nextMenu++;
    D().menus.insert(menu);
    return menu;
}

int DestroyMenu(MenuHandle menu) {
    Log("DestroyMenu", {Hex(menu)});
    return D().menus.erase(menu) ? 1 : 0;
}

int AppendMenuA(MenuHandle menu, std::uint32_t flags, std::uintptr_t itemId, const char* text) {
    // A separator's text argument is ignored by Windows, so it is not read.
    Log("AppendMenuA", {Hex(menu), Hex(flags), Hex32(itemId), (flags & MF_SEPARATOR) ? "null" : Str(text)});
    return D().menus.count(menu) ? 1 : 0;
}

int TrackPopupMenu(MenuHandle menu, std::uint32_t flags, int x, int y, int reserved, WindowHandle owner,
                   const void* /*rect*/) {
    Log("TrackPopupMenu", {Hex(menu), Hex(flags), Dec(x), Dec(y), Hex32(static_cast<std::uint32_t>(reserved)),
                           W(owner)});
    if (!D().menus.count(menu)) return 0;
    // A test picks an item by sending the owner its WM_COMMAND from here.
    const auto onTrackPopupMenu = D().onTrackPopupMenu;
    if (onTrackPopupMenu) onTrackPopupMenu();
    constexpr std::uint32_t kTpmReturnCmd = 0x100;
    return (flags & kTpmReturnCmd) ? 0 : 1;
}

// --- Timers and clock --------------------------------------------------------

std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t timerId, std::uint32_t periodMs, TimerProc procedure) {
    Log("SetTimer", {W(window), Hex32(timerId), Dec(periodMs)});
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

// --- Registry ------------------------------------------------------------------

long RegOpenKeyA(RegKey root, const char* subKey, RegKey* result) {
    Log("RegOpenKeyA", {KeyName(root), Str(subKey)});
    // With no subkey RegOpenKeyA hands back the handle it was given.
    if (result && (!subKey || !*subKey) && Resolve(root).valid) {
        *result = root;
        return ERROR_SUCCESS;
    }
    return OpenKey(root, subKey, kMaximumAllowed, result);
}

long RegOpenKeyExA(RegKey root, const char* subKey, std::uint32_t options, std::uint32_t access, RegKey* result) {
    Log("RegOpenKeyExA", {KeyName(root), Str(subKey), Hex(options), Hex(access)});
    return OpenKey(root, subKey, access, result);
}

long RegCreateKeyExA(RegKey root, const char* subKey, std::uint32_t /*reserved*/, char* /*className*/,
                     std::uint32_t options, std::uint32_t access, const void* /*security*/, RegKey* result,
                     std::uint32_t* disposition) {
    Log("RegCreateKeyExA", {KeyName(root), Str(subKey), Hex(options), Hex(access)});
    if (!result) return kErrorInvalidParameter;
    *result = 0;
    const KeyRef parent = Resolve(root);
    if (!parent.valid) return kErrorInvalidHandle;
    fake::Desktop& desktop = D();
    const std::string spelled = Below(parent.spelled, subKey);
    const std::string key = fake::KeyPathKey(spelled);
    const bool exists = desktop.KeyExists(key);
    // An existing key is opened with the same access check as RegOpenKeyExA.
    if (Listed(desktop.denyCreate, key) || (exists && Listed(desktop.denyOpen, key))) return ERROR_ACCESS_DENIED;
    if (!exists) desktop.CreateKey(key);
    if (disposition) *disposition = exists ? 2 /*REG_OPENED_EXISTING_KEY*/ : 1 /*REG_CREATED_NEW_KEY*/;
    *result = OpenHandle(spelled, access);
    return ERROR_SUCCESS;
}

long RegQueryValueExA(RegKey key, const char* valueName, std::uint32_t* reserved, std::uint32_t* type,
                      std::uint8_t* data, std::uint32_t* dataSize) {
    Log("RegQueryValueExA", {KeyName(key), Str(valueName), dataSize ? Dec(*dataSize) : "null"});
    const KeyRef ref = Resolve(key);
    if (!ref.valid) return kErrorInvalidHandle;
    if (reserved || (data && !dataSize)) return kErrorInvalidParameter;
    if (!Allows(ref.access, kKeyQueryValue, kGenericRead)) return ERROR_ACCESS_DENIED;
    if (!D().KeyExists(ref.key)) return kErrorKeyDeleted;
    const auto value = D().GetValue(ref.key, valueName ? valueName : "");
    if (!value) return ERROR_FILE_NOT_FOUND;
    if (type) *type = value->type;
    const auto length = static_cast<std::uint32_t>(value->data.size());
    if (data && *dataSize < length) {
        *dataSize = length;
        return ERROR_MORE_DATA;
    }
    // Exactly the stored bytes: no NUL is added and the rest of the buffer
    // keeps what it held, so a string stored without its NUL reads as such.
    if (data) std::copy(value->data.begin(), value->data.end(), data);
    if (dataSize) *dataSize = length;
    return ERROR_SUCCESS;
}

long RegSetValueExA(RegKey key, const char* valueName, std::uint32_t /*reserved*/, std::uint32_t type,
                    const std::uint8_t* data, std::uint32_t dataSize) {
    Log("RegSetValueExA", {KeyName(key), Str(valueName), Hex(type), Dec(dataSize)});
    const KeyRef ref = Resolve(key);
    if (!ref.valid) return kErrorInvalidHandle;
    if (!data && dataSize) return kErrorInvalidParameter;
    if (Listed(D().denyWrite, ref.key) || !Allows(ref.access, kKeySetValue, kGenericWrite)) return ERROR_ACCESS_DENIED;
    if (!D().KeyExists(ref.key)) return kErrorKeyDeleted;
    D().SetValue(ref.key, valueName ? valueName : "", type,
                 data ? std::vector<std::uint8_t>(data, data + dataSize) : std::vector<std::uint8_t>());
    return ERROR_SUCCESS;
}

long RegFlushKey(RegKey key) {
    Log("RegFlushKey", {KeyName(key)});
    return Resolve(key).valid ? ERROR_SUCCESS : kErrorInvalidHandle;
}

long RegCloseKey(RegKey key) {
    Log("RegCloseKey", {KeyName(key)});
    if (!Resolve(key).valid) return kErrorInvalidHandle;
    // Closing a predefined root succeeds and leaves it usable.
    D().openKeys.erase(key);
    D().openKeyInfo.erase(key);
    return ERROR_SUCCESS;
}

// --- Shell -----------------------------------------------------------------------

int Shell_NotifyIconA(std::uint32_t message, NotifyIconData* data) {
    if (!data) {
        Log("Shell_NotifyIconA", {Hex(message), "null"});
        return 0;
    }
    const std::string tip(data->szTip, BoundedLength(data->szTip, sizeof data->szTip));
    Log("Shell_NotifyIconA", {Hex(message), "{" + Dec(data->cbSize) + "," + W(data->hWnd) + "," + Hex(data->uID) +
                                                "," + Hex(data->uFlags) + "," + Hex(data->uCallbackMessage) + "," +
                                                Hex(data->hIcon) + "," + Str(tip.c_str()) + "}"});
    fake::Desktop& desktop = D();
    desktop.trayCalls.push_back(fake::Desktop::TrayCall{message, *data});
    const std::pair<WindowHandle, std::uint32_t> icon{data->hWnd, data->uID};
    switch (message) {
        case NIM_ADD:
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
    const auto onShellExecute = D().onShellExecute;
    return onShellExecute ? onShellExecute(file ? file : "") : 33;
}

// --- System ------------------------------------------------------------------------

int GetVersionExA(OsVersionInfoEx* info) {
    Log("GetVersionExA", {info ? Dec(info->dwOSVersionInfoSize) : "null"});
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
    const std::string& directory = D().windowsDirectory;
    const auto length = static_cast<std::uint32_t>(directory.size());
    if (!buffer || size < length + 1) return length + 1;
    std::memcpy(buffer, directory.c_str(), length + 1);
    return length;
}

int OpenFile(const char* path, std::uint32_t style) {
    Log("OpenFile", {Str(path), Hex(style)});
    const auto& files = D().existingFiles;
    const bool exists = path && std::any_of(files.begin(), files.end(),
                                            [&](const std::string& file) { return fake::EqualNoCase(file, path); });
    if (!exists) {
        D().lastError = ERROR_FILE_NOT_FOUND;
        return HFILE_ERROR;
    }
    return 1;
}

int OpenProcessToken(std::uint32_t desiredAccess, TokenHandle* token) {
    Log("OpenProcessToken", {Hex(desiredAccess)});
    if (!token) return 0;
    *token = D().nextToken++;
    D().openTokens.insert(*token);
    return 1;
}

int LookupPrivilegeValueA(const char* systemName, const char* name, Luid* luid) {
    Log("LookupPrivilegeValueA", {Str(systemName), Str(name)});
    if (!luid || !name || !fake::EqualNoCase(name, "SeShutdownPrivilege")) {
        D().lastError = kErrorNoSuchPrivilege;
        return 0;
    }
    *luid = Luid{kPrivilegeShutdown, 0};
    return 1;
}

int AdjustTokenPrivileges(TokenHandle token, Luid privilege, std::uint32_t attributes) {
    Log("AdjustTokenPrivileges", {Hex(token), "{" + Hex(privilege.LowPart) + "," +
                                                  Hex32(static_cast<std::uint32_t>(privilege.HighPart)) + "}",
                                  Hex(attributes)});
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

int ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
    Log("ExitWindowsEx", {Hex(flags), Hex(reserved)});
    fake::Desktop& desktop = D();
    const bool needsPrivilege = (flags & (EWX_SHUTDOWN | kEwxReboot | EWX_POWEROFF)) != 0;
    if (needsPrivilege && !desktop.shutdownPrivilegeEnabled) {
        desktop.lastError = kErrorPrivilegeNotHeld;
        return 0;
    }
    return desktop.exitWindowsSucceeds ? 1 : 0;
}

// --- COM and the receiver --------------------------------------------------------

ReceiverControl OpenCaptureFilterControl(const char* const* friendlyNames, int nameCount, const char* graphName) {
    std::string names = "{";
    for (int i = 0; friendlyNames && i < nameCount; ++i) names += (i ? "," : "") + Str(friendlyNames[i]);
    names += "}";
    Log("OpenCaptureFilterControl", {names, Dec(nameCount), Str(graphName)});
    return D().receiverPresent ? FakeControl() : nullptr;
}

void CoUninitialize() {
    Log("CoUninitialize", {});
    D().coUninitialized = true;
}

std::uint32_t DriverAddress(void* buffer) {
    Log("DriverAddress", {});
    const std::uint32_t token = D().nextDriverAddress++;
    D().driverAddresses[token] = buffer;
    return token;
}

std::int32_t KsProperty(ReceiverControl control, void* property, std::uint32_t propertyLength, void* data,
                        std::uint32_t dataLength, std::uint32_t* bytesReturned) {
    Log("KsProperty", {Dec(propertyLength), Dec(dataLength)});
    fake::Desktop& desktop = D();
    if (control != FakeControl()) return E_FAIL;
    const auto* request = static_cast<const std::uint8_t*>(property);
    auto* answer = static_cast<std::uint8_t*>(data);
    fake::KsRequest seen;
    if (request) seen.property.assign(request, request + propertyLength);
    if (answer) seen.dataOnEntry.assign(answer, answer + dataLength);
    seen.propertyLength = propertyLength;
    seen.dataLength = dataLength;
    desktop.ksRequests.push_back(std::move(seen));
    if (bytesReturned) *bytesReturned = 0;
    if (!request || !answer || propertyLength < sizeof kStatusSet) return E_FAIL;

    // A request of either set with another layout is refused, as the driver would.
    if (std::memcmp(request, kStatusSet, sizeof kStatusSet) == 0) {
        if (propertyLength != kStatusPropertyLength || dataLength != kStatusDataLength) return E_FAIL;
        if (desktop.statusResult != 0) return desktop.statusResult;
        const bool codeWaits = !desktop.keyQueue.empty() && request[kSelectorOffset] == kKeySelector;
        answer[0] = codeWaits ? 0 : desktop.idleStatus;
        if (bytesReturned) *bytesReturned = 1;
        return S_OK;
    }
    if (std::memcmp(request, kTransferSet, sizeof kTransferSet) == 0) {
        if (propertyLength != kTransferPropertyLength || dataLength != kTransferDataLength) return E_FAIL;
        if (desktop.transferResult != 0) return desktop.transferResult;
        const std::uint32_t readCount = ReadLe32(request + kReadCountOffset);
        if (readCount == 0) return S_OK;  // a write only: no read buffer to resolve
        const auto found = desktop.driverAddresses.find(ReadLe32(request + kReadBufferOffset));
        if (found == desktop.driverAddresses.end()) return E_FAIL;
        auto* readBuffer = static_cast<std::uint8_t*>(found->second);
        std::fill(readBuffer, readBuffer + readCount, std::uint8_t{0});
        // The key device answers the waiting code once; with none waiting it
        // reads as 0, so a read without a preceding ready status shows as code 0.
        if (request[kSelectorOffset] == kKeyDeviceAddress && !desktop.keyQueue.empty()) {
            readBuffer[0] = desktop.keyQueue.front();
            desktop.keyQueue.pop_front();
        }
        return S_OK;
    }
    return E_FAIL;
}

}  // namespace platform
