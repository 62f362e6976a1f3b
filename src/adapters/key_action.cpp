// Runs one row of an application's key map in the common shape of a key action.
#include "adapters/key_action.h"

namespace {

void SendRow(const SupportedApp& app, const KeyRow& row, platform::WindowHandle found) {
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
            row.custom->run(app, found, row);
            break;
    }
}

}  // namespace

const KeyRow* FindRow(const SupportedApp& app, std::uint32_t code) {
    for (const KeyRow& row : app.keyMap) {
        if (row.code == code) return &row;
    }
    return nullptr;
}

void RunRow(const SupportedApp& app, const KeyRow& row) {
    if (row.send == Send::CustomWithoutLookup) {
        row.custom->run(app, 0, row);
    } else {
        // Never trust a stored handle: every action looks its window up anew.
        const platform::WindowHandle found = FindAppWindow(app);
        app.record().window = found;
        if (found != 0) {
            BringForward(app.record(), found, row.forward);
            SendRow(app, row, found);
        }
    }
    if (row.pauseMs != 0) platform::Sleep(row.pauseMs);
}

void HandleKey(const SupportedApp& app, std::uint32_t code) {
    if (const KeyRow* row = FindRow(app, code)) RunRow(app, *row);
}
