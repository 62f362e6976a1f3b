// The small resource decoders; see resource_tables.h.
#include "resource_tables.h"

#include <stdexcept>

#include "resource_reader.h"

namespace {

// One node of the version tree: wLength, wValueLength, wType, szKey, padding,
// Value (wValueLength UTF-16 units when wType is 1, else bytes), padding, and
// children up to wLength.
struct VersionNode {
    std::string key;
    std::string text;
    std::vector<VersionNode> children;
};

VersionNode ReadVersionNode(const std::vector<uint8_t>& data, size_t begin) {
    ResourceReader head(data, begin, data.size());
    uint16_t length = head.Word();
    if (length < 6 || length > data.size() - begin) throw std::runtime_error("bad version node length");
    ResourceReader in(data, begin, begin + length);
    in.Skip(2);
    uint16_t valueLength = in.Word();
    uint16_t type = in.Word();
    VersionNode node;
    node.key = in.String();
    in.AlignToDword();
    if (type == 1) {
        // The count includes the terminator, which is not part of the text.
        node.text = in.CountedString(valueLength);
        if (!node.text.empty() && node.text.back() == '\0') node.text.pop_back();
    } else {
        in.Skip(valueLength);
    }
    in.AlignToDword();
    while (in.Remaining() != 0) {
        size_t childBegin = begin + in.Offset();
        ResourceReader size(data, childBegin, begin + length);
        uint16_t childLength = size.Word();
        node.children.push_back(ReadVersionNode(data, childBegin));
        in.Skip(childLength);
        in.AlignToDword();
    }
    return node;
}

}  // namespace

std::array<std::string, 16> ParseStringTableBlock(const std::vector<uint8_t>& data) {
    ResourceReader in(data);
    std::array<std::string, 16> strings;
    for (std::string& s : strings) s = in.CountedString(in.Word());
    return strings;
}

std::vector<Accelerator> ParseAcceleratorTable(const std::vector<uint8_t>& data) {
    constexpr uint16_t kLastEntry = 0x80;
    ResourceReader in(data);
    std::vector<Accelerator> table;
    // Entries are 8 bytes (flags, key, command, padding); the one that carries
    // the end flag is the last that Windows reads, so the data must stop there.
    while (in.Remaining() != 0) {
        Accelerator a;
        a.flags = in.Word();
        a.key = in.Word();
        a.command = in.Word();
        in.Word();
        table.push_back(a);
        if (a.flags & kLastEntry) break;
    }
    if (in.Remaining() != 0) throw std::runtime_error("accelerator entries after the one flagged last");
    return table;
}

std::vector<GroupIconEntry> ParseGroupIcon(const std::vector<uint8_t>& data) {
    ResourceReader in(data);
    uint16_t reserved = in.Word();
    uint16_t type = in.Word();
    if (reserved != 0 || type != 1) throw std::runtime_error("not an icon group directory");
    std::vector<GroupIconEntry> entries(in.Word());
    for (GroupIconEntry& e : entries) {
        e.width = in.Byte();
        e.height = in.Byte();
        e.colorCount = in.Byte();
        in.Byte();
        e.planes = in.Word();
        e.bitCount = in.Word();
        e.bytesInRes = in.Dword();
        e.iconId = in.Word();
    }
    if (in.Remaining() != 0) throw std::runtime_error("bytes left after the icon group entries");
    return entries;
}

FixedFileInfo ParseFixedFileInfo(const std::vector<uint8_t>& data) {
    constexpr uint32_t kSignature = 0xFEEF04BD;
    constexpr uint16_t kFixedInfoSize = 52;
    ResourceReader in(data);
    uint16_t length = in.Word();
    uint16_t valueLength = in.Word();
    in.Word();  // wType
    if (length > data.size()) throw std::runtime_error("VS_VERSIONINFO longer than its resource");
    if (in.String() != "VS_VERSION_INFO") throw std::runtime_error("root key is not VS_VERSION_INFO");
    in.AlignToDword();
    if (valueLength != kFixedInfoSize) throw std::runtime_error("VS_FIXEDFILEINFO has the wrong size");
    if (in.Dword() != kSignature) throw std::runtime_error("bad VS_FIXEDFILEINFO signature");
    in.Dword();  // dwStrucVersion
    FixedFileInfo info;
    info.fileVersionMs = in.Dword();
    info.fileVersionLs = in.Dword();
    info.productVersionMs = in.Dword();
    info.productVersionLs = in.Dword();
    info.fileFlagsMask = in.Dword();
    info.fileFlags = in.Dword();
    info.fileOs = in.Dword();
    info.fileType = in.Dword();
    info.fileSubtype = in.Dword();
    return info;
}

std::map<std::string, std::string> ParseVersionStrings(const std::vector<uint8_t>& data) {
    std::map<std::string, std::string> strings;
    VersionNode root = ReadVersionNode(data, 0);
    for (const VersionNode& info : root.children) {
        if (info.key != "StringFileInfo") continue;
        for (const VersionNode& table : info.children) {
            for (const VersionNode& s : table.children) strings[s.key] = s.text;
        }
    }
    return strings;
}
