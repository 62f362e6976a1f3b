// Runs one row of an adapter's key map in the common shape of a key action.
#include "adapters/key_map.h"

#include "adapters/adapter.h"

namespace {

void BringForward(const AppAdapter& record, platform::WindowHandle found, Forward forward) {
    if (forward == Forward::None) return;
    if (forward == Forward::ActivateOnTop) platform::BringWindowToTop(found);
    platform::SetForegroundWindow(found);
    platform::SetActiveWindow(record.window);
}

void SendRow(const Adapter& adapter, const KeyRow& row, platform::WindowHandle found) {
    switch (row.send) {
        case Send::LookupOnly:
        case Send::CustomWithoutLookup:
            break;
        case Send::Keys:
            SendChord(row.keys);
            break;
        case Send::PostedKeys:
            for (int i = 0; i < maxChordKeys && row.keys[i] != 0; ++i) {
                platform::PostMessageA(found, WM_KEYDOWN, row.keys[i], row.lParam);
            }
            break;
        case Send::Message:
            platform::PostMessageA(found, row.message, row.wParam, row.lParam);
            break;
        case Send::CustomAfterLookup:
            row.custom(adapter, found, row);
            break;
    }
}

}  // namespace

const KeyRow* FindRow(const Adapter& adapter, std::uint32_t code) {
    for (const KeyRow& row : adapter.keyMap) {
        if (row.code == code) return &row;
    }
    return nullptr;
}

void RunRow(const Adapter& adapter, const KeyRow& row) {
    if (row.send == Send::CustomWithoutLookup) {
        row.custom(adapter, 0, row);
    } else {
        // Never trust a stored handle: every action looks its window up anew.
        const platform::WindowHandle found = FindAppWindow(adapter);
        adapter.record.window = found;
        if (found != 0) {
            BringForward(adapter.record, found, row.forward);
            SendRow(adapter, row, found);
        }
    }
    if (row.pauseMs != 0) platform::Sleep(row.pauseMs);
}
