// The cursor behind the resource-format parsers; see resource_reader.h.
#include "resource_reader.h"

#include <stdexcept>

namespace {

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Appends one UTF-16 unit, pairing surrogates; an unpaired one becomes U+FFFD
// so that a damaged string shows up in a comparison rather than vanishing.
void AppendUnit(std::string& out, uint16_t unit, uint16_t& pendingHigh) {
    if (unit >= 0xD800 && unit < 0xDC00) {
        if (pendingHigh) AppendUtf8(out, 0xFFFD);
        pendingHigh = unit;
        return;
    }
    if (unit >= 0xDC00 && unit < 0xE000 && pendingHigh) {
        AppendUtf8(out, 0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00));
        pendingHigh = 0;
        return;
    }
    if (pendingHigh) AppendUtf8(out, 0xFFFD);
    pendingHigh = 0;
    AppendUtf8(out, (unit >= 0xDC00 && unit < 0xE000) ? 0xFFFD : unit);
}

}  // namespace

bool operator==(const NameOrOrdinal& a, const NameOrOrdinal& b) {
    if (a.isOrdinal != b.isOrdinal) return false;
    return a.isOrdinal ? a.ordinal == b.ordinal : a.text == b.text;
}

std::ostream& operator<<(std::ostream& out, const NameOrOrdinal& name) {
    if (name.isOrdinal) return out << "ordinal " << name.ordinal;
    return out << '"' << name.text << '"';
}

ResourceReader::ResourceReader(const std::vector<uint8_t>& bytes, size_t begin, size_t end)
    : bytes_(bytes), begin_(begin), pos_(begin), end_(end) {
    if (begin > end || end > bytes.size()) throw std::runtime_error("resource range lies outside the data");
}

void ResourceReader::Need(size_t count, const char* what) const {
    if (count > end_ - pos_) {
        throw std::runtime_error(std::string("truncated resource: ") + what + " at offset " +
                                 std::to_string(Offset()));
    }
}

uint8_t ResourceReader::Byte() {
    Need(1, "byte");
    return bytes_[pos_++];
}

uint16_t ResourceReader::Word() {
    Need(2, "WORD");
    uint16_t value = static_cast<uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return value;
}

uint32_t ResourceReader::Dword() {
    Need(4, "DWORD");
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes_[pos_ + i];
    pos_ += 4;
    return value;
}

std::string ResourceReader::String() {
    std::string out;
    uint16_t pendingHigh = 0;
    for (;;) {
        uint16_t unit = Word();
        if (unit == 0) break;
        AppendUnit(out, unit, pendingHigh);
    }
    if (pendingHigh) AppendUtf8(out, 0xFFFD);
    return out;
}

std::string ResourceReader::CountedString(size_t units) {
    Need(units * 2, "counted string");
    std::string out;
    uint16_t pendingHigh = 0;
    for (size_t i = 0; i < units; ++i) AppendUnit(out, Word(), pendingHigh);
    if (pendingHigh) AppendUtf8(out, 0xFFFD);
    return out;
}

NameOrOrdinal ResourceReader::NameOrOrdinalField() {
    Need(2, "name or ordinal");
    if (bytes_[pos_] == 0xFF && bytes_[pos_ + 1] == 0xFF) {
        pos_ += 2;
        return NameOrOrdinal::Ordinal(Word());
    }
    return NameOrOrdinal::Text(String());
}

void ResourceReader::Skip(size_t count) {
    Need(count, "skipped bytes");
    pos_ += count;
}

void ResourceReader::AlignToDword() {
    size_t padding = (4 - Offset() % 4) % 4;
    // The last item of a resource may end unpadded.
    pos_ += padding < Remaining() ? padding : Remaining();
}
