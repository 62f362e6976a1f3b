// The key-map words beyond what the product's key maps use (the docs test
// holds those against tests/key_maps): other keys, negative and pause values,
// and cutting to a small buffer, as Remote Check's fixed buffers will.
#include "adapters/key_words.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct WordsCase {
    KeyRow row;
    const char* expected;
};

TEST(KeyWords, DescribeKeyRow_WritesRowsOutsideTheProductsMaps) {
    const WordsCase cases[] = {
        {Key(1, 0xA0), "0xA0"},
        {Key(1, VK_F1 + 11), "F12"},
        {ChordToFocus(1, VK_MENU, VK_NUMPAD0 + 7), "Alt+Num 7 (to the focused window)"},
        {Command(1, 4024, 4294967295u, -2, 1500), "command 4024 (4294967295, -2), then waits 1500 ms"},
    };
    for (const WordsCase& c : cases) {
        char text[96];
        DescribeKeyRow(c.row, text, sizeof text);
        EXPECT_STREQ(text, c.expected);
    }
}

TEST(KeyWords, DescribeKeyRow_CutsToSize_AndWritesNothingPastIt) {
    const KeyRow row = Chord(1, VK_CONTROL, VK_SHIFT, 'S');
    for (const std::size_t size : {0u, 1u, 6u, 16u}) {
        char text[24];
        std::memset(text, '#', sizeof text);
        DescribeKeyRow(row, text, size);
        const std::string whole = "Ctrl+Shift+S";
        if (size == 0) {
            EXPECT_EQ(text[0], '#');
            continue;
        }
        EXPECT_EQ(std::string(text), whole.substr(0, size - 1)) << "size " << size;
        for (std::size_t i = size; i < sizeof text; ++i)
            EXPECT_EQ(text[i], '#') << "size " << size << ", byte " << i;
    }
}

}  // namespace
