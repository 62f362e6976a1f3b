// Modal dialogs, message boxes and pop-up menus over USER32.
#include <windows.h>

#include "platform/win32/handles.h"

namespace {

// DialogBoxParamA calls a stdcall DLGPROC; the portable procedure and the
// caller's parameter travel to it through the initialisation parameter and
// then live in the dialog's DWLP_USER slot. Each modal call keeps its own
// context on its stack, so nested dialogs do not disturb one another.
struct DialogContext {
    platform::DialogProc procedure;
    LPARAM initParam;
};

INT_PTR CALLBACK DialogTrampoline(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        DialogContext* context = reinterpret_cast<DialogContext*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
        return context->procedure(FromWin(dialog), message, wParam, context->initParam);
    }
    DialogContext* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrA(dialog, DWLP_USER));
    // Messages before WM_INITDIALOG (WM_SETFONT) have no context yet.
    if (context == nullptr) return FALSE;
    return context->procedure(FromWin(dialog), message, wParam, lParam);
}

}  // namespace

namespace platform {

std::intptr_t DialogBoxParamA(InstanceHandle instance, std::uint32_t templateId, WindowHandle owner,
                              DialogProc procedure, LParam initParam) {
    DialogContext context = {procedure, initParam};
    return ::DialogBoxParamA(ToWin<HINSTANCE>(instance), MAKEINTRESOURCEA(templateId), ToHwnd(owner),
                             DialogTrampoline, reinterpret_cast<LPARAM>(&context));
}

int EndDialog(WindowHandle dialog, std::intptr_t result) { return ::EndDialog(ToHwnd(dialog), result); }

LResult SendDlgItemMessageA(WindowHandle dialog, int itemId, std::uint32_t message, WParam wParam,
                            LParam lParam) {
    return ::SendDlgItemMessageA(ToHwnd(dialog), itemId, message, wParam, lParam);
}

int MessageBoxA(WindowHandle owner, const char* text, const char* caption, std::uint32_t type) {
    return ::MessageBoxA(ToHwnd(owner), text, caption, type);
}

MenuHandle CreatePopupMenu() { return FromWin(::CreatePopupMenu()); }
int DestroyMenu(MenuHandle menu) { return ::DestroyMenu(ToWin<HMENU>(menu)); }

int AppendMenuA(MenuHandle menu, std::uint32_t flags, std::uintptr_t itemId, const char* text) {
    return ::AppendMenuA(ToWin<HMENU>(menu), flags, itemId, text);
}

int TrackPopupMenu(MenuHandle menu, std::uint32_t flags, int x, int y, int reserved, WindowHandle owner,
                   const void* rect) {
    return ::TrackPopupMenu(ToWin<HMENU>(menu), flags, x, y, reserved, ToHwnd(owner),
                            static_cast<const RECT*>(rect));
}

}  // namespace platform
