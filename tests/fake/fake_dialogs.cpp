// The fake's modal UI: dialog boxes and their combo boxes, message boxes and
// popup menus. The test stands in for the user inside each modal loop.

#include "fake/fake_calls.h"

namespace platform {

using namespace calls;

// --- Dialogs, message boxes, menus -------------------------------------------

std::intptr_t DialogBoxParamA(InstanceHandle instance, std::uint32_t templateId, WindowHandle owner,
                              DialogProc procedure, LParam initParam) {
    Log("DialogBoxParamA",
        {Hex(instance), Hex(templateId), W(owner), Hex32(static_cast<std::uint64_t>(initParam))});
    if (Failing("DialogBoxParamA", 8)) return -1;
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
    if (const fake::Window* open = desktop.Find(dialog); open && !open->dialogEnded && onDialog)
        onDialog(dialog);
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

LResult SendDlgItemMessageA(WindowHandle dialog, int itemId, std::uint32_t message, WParam wParam,
                            LParam lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    if (message == CB_ADDSTRING) {
        Log("SendDlgItemMessageA",
            {W(dialog), Hex32(static_cast<std::uint32_t>(itemId)), Hex(message), Hex32(wParam), Str(text)});
    if (Failing("SendDlgItemMessageA", 1421)) return 0;
    } else if (message == CB_GETLBTEXT) {  // lParam is the output buffer
        Log("SendDlgItemMessageA",
            {W(dialog), Hex32(static_cast<std::uint32_t>(itemId)), Hex(message), Hex32(wParam)});
    } else {
        Log("SendDlgItemMessageA", {W(dialog), Hex32(static_cast<std::uint32_t>(itemId)), Hex(message),
                                    Hex32(wParam), Hex32(static_cast<std::uint64_t>(lParam))});
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
    if (Failing("MessageBoxA", 8)) return 0;
    const auto onMessageBox = D().onMessageBox;
    return onMessageBox ? onMessageBox(text ? text : "", caption ? caption : "") : IDOK;
}

MenuHandle CreatePopupMenu() {
    Log("CreatePopupMenu", {});
    if (Failing("CreatePopupMenu", 8)) return 0;
    const MenuHandle menu = D().nextMenu++;
    D().menus.insert(menu);
    return menu;
}

int DestroyMenu(MenuHandle menu) {
    Log("DestroyMenu", {Hex(menu)});
    if (Failing("DestroyMenu", 1401)) return 0;
    return D().menus.erase(menu) ? 1 : 0;
}

int AppendMenuA(MenuHandle menu, std::uint32_t flags, std::uintptr_t itemId, const char* text) {
    // A separator's text argument is ignored by Windows, so it is not read.
    Log("AppendMenuA", {Hex(menu), Hex(flags), Hex32(itemId), (flags & MF_SEPARATOR) ? "null" : Str(text)});
    if (Failing("AppendMenuA", 8)) return 0;
    return D().menus.count(menu) ? 1 : 0;
}

int TrackPopupMenu(MenuHandle menu, std::uint32_t flags, int x, int y, int reserved, WindowHandle owner,
                   const void* /*rect*/) {
    Log("TrackPopupMenu",
        {Hex(menu), Hex(flags), Dec(x), Dec(y), Hex32(static_cast<std::uint32_t>(reserved)), W(owner)});
    if (Failing("TrackPopupMenu", 1401)) return 0;
    if (!D().menus.count(menu)) return 0;
    // A test picks an item by sending the owner its WM_COMMAND from here.
    const auto onTrackPopupMenu = D().onTrackPopupMenu;
    if (onTrackPopupMenu) onTrackPopupMenu();
    constexpr std::uint32_t kTpmReturnCmd = 0x100;
    return (flags & kTpmReturnCmd) ? 0 : 1;
}

}  // namespace platform
