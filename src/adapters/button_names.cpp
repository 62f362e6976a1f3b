// The button names, derived from the key maps themselves; see button_names.h.
#include "adapters/button_names.h"

#include <cstring>

#include "adapters/app_table.h"
#include "adapters/bounded_text.h"
#include "adapters/key_action.h"
#include "adapters/key_words.h"

namespace {

// A button name agreed by this many key maps at least, and by more of them
// than any other name.
constexpr int agreeingKeyMaps = 3;

// What a row means as a button: the one key it types or posts. A digit is a
// digit whether the map types it on the keypad or on the top row; a chord, a
// command, an action of its own, a letter or a function key (an
// application's shortcut, no button of a remote) names none.
void RowButton(const KeyRow& row, char* text, std::size_t size) {
    CopyText(text, size, "");
    if ((row.send != Send::Keys && row.send != Send::PostedKeys) || row.keys[1] != 0) return;
    const std::uint8_t key = row.keys[0];
    if ((key >= 'A' && key <= 'Z') || (key >= VK_F1 && key <= VK_F12)) return;
    int digit = -1;
    if (key >= Numpad(0) && key <= Numpad(9)) digit = key - Numpad(0);
    if (key >= TopRowDigit(0) && key <= TopRowDigit(9)) digit = key - TopRowDigit(0);
    if (digit >= 0) {
        CopyText(text, size, "digit ");
        AppendDecimal(text, size, digit);
    } else {
        DescribeVirtualKey(key, text, size);
    }
}

}  // namespace

void DescribeButton(std::uint32_t code, char* text, std::size_t size) {
    constexpr std::size_t nameSize = 24;
    char names[appCount][nameSize] = {};
    for (int k = 1; k <= appCount; ++k) {
        if (const KeyRow* row = FindRow(AppFor(k), code)) RowButton(*row, names[k - 1], nameSize);
    }
    int best = -1, bestVotes = 0, runnerUpVotes = 0;
    for (int i = 0; i < appCount; ++i) {
        if (names[i][0] == '\0') continue;
        int votes = 0;
        for (int j = 0; j < appCount; ++j) votes += std::strcmp(names[i], names[j]) == 0 ? 1 : 0;
        if (votes > bestVotes) {
            if (best < 0 || std::strcmp(names[best], names[i]) != 0) runnerUpVotes = bestVotes;
            best = i;
            bestVotes = votes;
        } else if (votes > runnerUpVotes && std::strcmp(names[best], names[i]) != 0) {
            runnerUpVotes = votes;
        }
    }
    const bool agreed = best >= 0 && bestVotes >= agreeingKeyMaps && bestVotes > runnerUpVotes;
    CopyText(text, size, agreed ? names[best] : "");
}

void DescribeCode(std::uint32_t code, char* text, std::size_t size) {
    char button[24];
    DescribeButton(code, button, sizeof button);
    CopyText(text, size, "");
    AppendDecimal(text, size, code);
    if (button[0] == '\0') return;
    AppendText(text, size, " (");
    AppendText(text, size, button);
    AppendText(text, size, ")");
}
