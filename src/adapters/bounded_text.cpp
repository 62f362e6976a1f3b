// Bounded copies into fixed text buffers; see bounded_text.h.
#include "adapters/bounded_text.h"

void CopyText(char* target, std::size_t size, const char* text) {
    if (size == 0) return;
    target[0] = '\0';
    AppendText(target, size, text);
}

void AppendText(char* target, std::size_t size, const char* text) {
    if (size == 0) return;
    std::size_t used = 0;
    while (used + 1 < size && target[used] != '\0') ++used;
    if (text != nullptr) {
        while (used + 1 < size && *text != '\0') target[used++] = *text++;
    }
    target[used] = '\0';
}

void AppendDecimal(char* target, std::size_t size, std::int64_t value, int minimumDigits) {
    char digits[21];
    int count = 0;
    std::uint64_t rest = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        digits[count++] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    while (count < minimumDigits && count < static_cast<int>(sizeof digits)) digits[count++] = '0';
    char written[23];
    std::size_t used = 0;
    if (value < 0) written[used++] = '-';
    while (count > 0) written[used++] = digits[--count];
    written[used] = '\0';
    AppendText(target, size, written);
}
