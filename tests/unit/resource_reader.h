// A bounds-checked little-endian cursor over compiled resource bytes, so the
// resource tests read the .res format the way Windows does and a truncated or
// malformed resource fails loudly instead of reading past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// A name that the resource formats store either as the 0xFFFF marker plus a
// 16-bit ordinal or as a zero-terminated UTF-16 string (kept here as UTF-8;
// an empty string is the "none" of a dialog's menu and class).
struct NameOrOrdinal {
    bool isOrdinal = false;
    uint16_t ordinal = 0;
    std::string text;

    static NameOrOrdinal Ordinal(uint16_t value) { return NameOrOrdinal{true, value, {}}; }
    static NameOrOrdinal Text(std::string value) { return NameOrOrdinal{false, 0, std::move(value)}; }
};

bool operator==(const NameOrOrdinal& a, const NameOrOrdinal& b);
inline bool operator!=(const NameOrOrdinal& a, const NameOrOrdinal& b) {
    return !(a == b);
}
std::ostream& operator<<(std::ostream& out, const NameOrOrdinal& name);

class ResourceReader {
  public:
    // Reads bytes[begin, end); offsets are relative to begin, which is where
    // the DWORD alignment of the formats is counted from.
    ResourceReader(const std::vector<uint8_t>& bytes, size_t begin, size_t end);
    explicit ResourceReader(const std::vector<uint8_t>& bytes) : ResourceReader(bytes, 0, bytes.size()) {}

    uint8_t Byte();
    uint16_t Word();
    int16_t Short() { return static_cast<int16_t>(Word()); }
    uint32_t Dword();
    // Zero-terminated UTF-16 string.
    std::string String();
    // A UTF-16 string of a given number of code units, not terminated.
    std::string CountedString(size_t units);
    NameOrOrdinal NameOrOrdinalField();

    void Skip(size_t count);
    void AlignToDword();
    size_t Offset() const { return pos_ - begin_; }
    size_t Remaining() const { return end_ - pos_; }

  private:
    void Need(size_t count, const char* what) const;

    const std::vector<uint8_t>& bytes_;
    size_t begin_;
    size_t pos_;
    size_t end_;
};
