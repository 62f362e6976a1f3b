// Decoders for the small fixed-layout resources: string-table blocks,
// accelerator tables, icon-group directories and the fixed part of the
// version resource.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A block holds strings id (block - 1) * 16 to id (block - 1) * 16 + 15; an
// empty string is an absent entry.
std::array<std::string, 16> ParseStringTableBlock(const std::vector<uint8_t>& data);

struct Accelerator {
    uint16_t flags = 0;
    uint16_t key = 0;
    uint16_t command = 0;
};
std::vector<Accelerator> ParseAcceleratorTable(const std::vector<uint8_t>& data);

struct GroupIconEntry {
    uint8_t width = 0, height = 0, colorCount = 0;
    uint16_t planes = 0, bitCount = 0;
    uint32_t bytesInRes = 0;
    uint16_t iconId = 0;
};
// Throws unless the header is the icon kind (reserved 0, type 1).
std::vector<GroupIconEntry> ParseGroupIcon(const std::vector<uint8_t>& data);

struct FixedFileInfo {
    uint32_t fileVersionMs = 0, fileVersionLs = 0;
    uint32_t productVersionMs = 0, productVersionLs = 0;
    uint32_t fileFlagsMask = 0, fileFlags = 0, fileOs = 0, fileType = 0, fileSubtype = 0;
};
// Reads the VS_VERSIONINFO root; throws unless its key is "VS_VERSION_INFO"
// and the VS_FIXEDFILEINFO signature and size are right.
FixedFileInfo ParseFixedFileInfo(const std::vector<uint8_t>& data);

// The values of every String under StringFileInfo, by key, across all the
// language blocks (the last block wins on a repeated key).
std::map<std::string, std::string> ParseVersionStrings(const std::vector<uint8_t>& data);
