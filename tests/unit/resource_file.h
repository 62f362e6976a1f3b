// Reads a 32-bit .res file (what windres -O res writes) into its resources,
// so tests can check the compiled resources rather than the script.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resource_reader.h"

// Resource type ordinals (RT_*).
enum : uint16_t {
    kRtIcon = 3,
    kRtDialog = 5,
    kRtString = 6,
    kRtAccelerator = 9,
    kRtGroupIcon = 14,
    kRtVersion = 16,
};

struct Resource {
    NameOrOrdinal type;
    NameOrOrdinal name;
    uint16_t memoryFlags = 0;
    uint16_t language = 0;
    std::vector<uint8_t> data;
};

std::vector<uint8_t> ReadWholeFile(const std::string& path);

// The resources in file order, without the empty entry that opens every
// 32-bit .res file. Throws std::runtime_error on a malformed file.
std::vector<Resource> ParseResourceFile(const std::vector<uint8_t>& bytes);

// The resources of the given type and ordinal name, in file order.
std::vector<const Resource*> FindResources(const std::vector<Resource>& resources, uint16_t type,
                                           uint16_t name);
std::vector<const Resource*> FindResourcesOfType(const std::vector<Resource>& resources, uint16_t type);
