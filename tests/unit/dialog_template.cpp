// The DLGTEMPLATE decoder; see dialog_template.h. The header is followed by
// menu, class and title, the font when DS_SETFONT is set, and then each
// DLGITEMTEMPLATE on a DWORD boundary with its class, title and creation data.
#include "dialog_template.h"

#include <stdexcept>

namespace {
constexpr uint32_t kDsSetFont = 0x40;
}

DialogTemplate ParseDialogTemplate(const std::vector<uint8_t>& data) {
    ResourceReader in(data);
    DialogTemplate dialog;
    dialog.style = in.Dword();
    // A DLGTEMPLATEEX starts with dlgVer 1 and signature 0xFFFF, which read as
    // a style DWORD is 0xFFFF0001: no classic template has that style.
    if (dialog.style == 0xFFFF0001u) throw std::runtime_error("DLGTEMPLATEEX, not a classic DLGTEMPLATE");
    dialog.extendedStyle = in.Dword();
    uint16_t count = in.Word();
    dialog.x = in.Short();
    dialog.y = in.Short();
    dialog.cx = in.Short();
    dialog.cy = in.Short();
    dialog.menu = in.NameOrOrdinalField();
    dialog.windowClass = in.NameOrOrdinalField();
    dialog.title = in.String();
    if (dialog.style & kDsSetFont) {
        dialog.pointSize = in.Word();
        dialog.typeface = in.String();
    }
    for (uint16_t i = 0; i < count; ++i) {
        in.AlignToDword();
        DialogItem item;
        item.style = in.Dword();
        item.extendedStyle = in.Dword();
        item.x = in.Short();
        item.y = in.Short();
        item.cx = in.Short();
        item.cy = in.Short();
        item.id = in.Word();
        item.windowClass = in.NameOrOrdinalField();
        item.title = in.NameOrOrdinalField();
        item.creationDataSize = in.Word();
        // A non-zero size counts the size word itself.
        if (item.creationDataSize > 2) in.Skip(item.creationDataSize - 2u);
        dialog.items.push_back(item);
    }
    in.AlignToDword();
    if (in.Remaining() != 0) {
        throw std::runtime_error("bytes left after the last dialog item: " + std::to_string(in.Remaining()));
    }
    return dialog;
}
