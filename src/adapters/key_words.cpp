// The words for what one key-map row sends; see key_words.h.
#include "adapters/key_words.h"

#include "adapters/bounded_text.h"
#include "platform/win32_constants.h"

namespace {

struct KeyName {
    std::uint8_t vk;
    const char* name;
};

constexpr KeyName keyNames[] = {
    {VK_BACK, "Backspace"}, {VK_TAB, "Tab"},
    {VK_RETURN, "Enter"},   {VK_SHIFT, "Shift"},
    {VK_CONTROL, "Ctrl"},   {VK_MENU, "Alt"},
    {VK_PAUSE, "Pause"},    {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},    {VK_PRIOR, "Page Up"},
    {VK_NEXT, "Page Down"}, {VK_END, "End"},
    {VK_HOME, "Home"},      {VK_LEFT, "Left"},
    {VK_UP, "Up"},          {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},      {VK_INSERT, "Insert"},
    {VK_DELETE, "Delete"},  {VK_MULTIPLY, "Num *"},
    {VK_ADD, "Num +"},      {VK_SUBTRACT, "Num -"},
    {VK_DIVIDE, "Num /"},   {VK_OEM_COMMA, "Comma (,)"},
    {VK_OEM_PERIOD, "Period (.)"},   {VK_MEDIA_PLAY_PAUSE, "Play/Pause"},
};

void AppendKeys(const KeyRow& row, const char* joiner, char* text, std::size_t size) {
    for (int i = 0; i < maxChordKeys && row.keys[i] != 0; ++i) {
        if (i != 0) AppendText(text, size, joiner);
        char name[16];
        DescribeVirtualKey(row.keys[i], name, sizeof name);
        AppendText(text, size, name);
    }
}

}  // namespace

void DescribeVirtualKey(std::uint8_t vk, char* text, std::size_t size) {
    for (const KeyName& key : keyNames) {
        if (key.vk == vk) {
            CopyText(text, size, key.name);
            return;
        }
    }
    char name[5] = {};
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) {
        CopyText(text, size, "Num ");
        name[0] = static_cast<char>('0' + vk - VK_NUMPAD0);
    } else if (vk >= VK_F1 && vk <= VK_F12) {
        CopyText(text, size, "F");
        AppendDecimal(text, size, vk - VK_F1 + 1);
        return;
    } else if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        CopyText(text, size, "");
        name[0] = static_cast<char>(vk);
    } else {
        constexpr char hex[] = "0123456789ABCDEF";
        CopyText(text, size, "0x");
        name[0] = hex[vk >> 4];
        name[1] = hex[vk & 0xF];
    }
    AppendText(text, size, name);
}

void DescribeKeyRow(const KeyRow& row, char* text, std::size_t size) {
    CopyText(text, size, "");
    switch (row.send) {
        case Send::LookupOnly:
            AppendText(text, size, "nothing sent");
            break;
        case Send::Keys:
            AppendKeys(row, "+", text, size);
            if (row.forward == Forward::None) AppendText(text, size, " (to the focused window)");
            break;
        case Send::PostedKeys:
            AppendKeys(row, ", ", text, size);
            break;
        case Send::Message:
            AppendText(text, size, "command ");
            AppendDecimal(text, size, row.message);
            AppendText(text, size, " (");
            AppendDecimal(text, size, static_cast<std::int64_t>(row.wParam));
            AppendText(text, size, ", ");
            AppendDecimal(text, size, row.lParam);
            AppendText(text, size, ")");
            break;
        case Send::CustomAfterLookup:
        case Send::CustomWithoutLookup:
            AppendText(text, size, row.custom->words);
            break;
    }
    if (row.pauseMs != 0) {
        AppendText(text, size, ", then waits ");
        const bool wholeSeconds = row.pauseMs % 1000 == 0;
        AppendDecimal(text, size, wholeSeconds ? row.pauseMs / 1000 : row.pauseMs);
        AppendText(text, size, wholeSeconds ? " s" : " ms");
    }
}
