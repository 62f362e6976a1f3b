// Runs one row of an adapter's key map in the common shape of a key action.
#include "adapters/key_map.h"

#include "platform/win32_constants.h"

namespace {

void PostEachKey(const AppAdapter& record, const KeyAction& row) {
    for (int i = 0; i < maxChordKeys && row.keys[i] != 0; ++i) {
        switch (row.kind) {
            case ActionKind::PostKeyDown:
                record.PostKeyDown(row.keys[i]);
                break;
            case ActionKind::PostKeyDownExtended:
                record.PostKeyDownExtended(row.keys[i]);
                break;
            default:
                platform::PostMessageA(record.window, WM_KEYDOWN, row.keys[i], row.lParam);
                break;
        }
    }
}

void Perform(AppAdapter& record, FindWindowOperation findAppWindow, const KeyAction& row) {
    if (row.kind == ActionKind::Custom) {
        row.custom();
        return;
    }
    // Never trust a stored handle: every action looks its window up anew.
    const platform::WindowHandle found = findAppWindow();
    record.window = found;
    if (found == 0) return;
    if (row.kind == ActionKind::Keystroke) {
        BringForward(record, found);
        SendChord(row.keys);
        return;
    }
    if (row.foreground != 0) BringForward(record, found);
    if (row.kind == ActionKind::PostCommand) {
        platform::PostMessageA(found, row.message, row.wParam, row.lParam);
    } else {
        PostEachKey(record, row);
    }
}

}  // namespace

void RunKeyMap(AppAdapter& record, FindWindowOperation findAppWindow, KeyMap keyMap, std::uint32_t code) {
    for (const KeyAction& row : keyMap) {
        if (row.code != code) continue;
        Perform(record, findAppWindow, row);
        if (row.pauseMs != 0) platform::Sleep(row.pauseMs);
        return;
    }
}
