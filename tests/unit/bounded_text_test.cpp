// The bounded copies behind the launch path and the Media Center shell path:
// never more than size - 1 characters, always a NUL, null text as empty.
#include "adapters/bounded_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

struct BoundedCase {
    const char* name;
    const char* start;  // what the buffer holds before the call
    const char* text;
    std::size_t size;
    const char* expected;
};

// The buffer is 16 bytes, '#' beyond the NUL of `start`: a write at or past
// `size` shows up as a changed '#'.
class BoundedTextTest : public testing::TestWithParam<BoundedCase> {
  protected:
    char buffer[16];
    void Prepare(const char* start) {
        std::memset(buffer, '#', sizeof buffer);
        std::memcpy(buffer, start, std::strlen(start) + 1);
    }
    void ExpectNothingWrittenPastTheBound() {
        const BoundedCase& c = GetParam();
        for (std::size_t i = std::max(c.size, std::strlen(c.start) + 1); i < sizeof buffer; ++i) {
            EXPECT_EQ(buffer[i], '#') << "byte " << i;
        }
    }
};

class CopyTextTest : public BoundedTextTest {};
class AppendTextTest : public BoundedTextTest {};

TEST_P(CopyTextTest, KeepsWithinTheBoundAndEndsInNul) {
    const BoundedCase& c = GetParam();
    Prepare(c.start);
    CopyText(buffer, c.size, c.text);
    EXPECT_EQ(std::string(buffer), c.expected);
    ExpectNothingWrittenPastTheBound();
}

TEST_P(AppendTextTest, KeepsWithinTheBoundAndEndsInNul) {
    const BoundedCase& c = GetParam();
    Prepare(c.start);
    AppendText(buffer, c.size, c.text);
    EXPECT_EQ(std::string(buffer), c.expected);
    ExpectNothingWrittenPastTheBound();
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyTextTest,
                         testing::Values(BoundedCase{"Fits", "old", "abc", 8, "abc"},
                                         BoundedCase{"ExactFit", "", "abcdefg", 8, "abcdefg"},
                                         BoundedCase{"Truncated", "", "abcdefghij", 8, "abcdefg"},
                                         BoundedCase{"NullIsEmpty", "old", nullptr, 8, ""},
                                         BoundedCase{"SizeOneLeavesOnlyNul", "old", "abc", 1, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Cases, AppendTextTest,
                         testing::Values(BoundedCase{"Fits", "C:\\TV", "\\tv.exe", 16, "C:\\TV\\tv.exe"},
                                         BoundedCase{"TruncatedAppend", "abc", "defghij", 6, "abcde"},
                                         BoundedCase{"FullTargetTakesNothing", "abcde", "f", 6, "abcde"},
                                         BoundedCase{"NullAddsNothing", "abc", nullptr, 8, "abc"},
                                         BoundedCase{"EmptyTarget", "", "xyz", 8, "xyz"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BoundedText, SizeZeroWritesNothing) {
    char buffer[4] = {'a', 'b', 'c', '\0'};
    CopyText(buffer, 0, "xyz");
    AppendText(buffer, 0, "xyz");
    EXPECT_STREQ(buffer, "abc");
}

}  // namespace
