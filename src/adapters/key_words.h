// What a key-map row sends, in the words of the user guide: the guide's key
// tables (tools/key_table) and Remote Check show the same text, written here
// once. Plain character buffers, so that a lean Windows program can call it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "adapters/key_map.h"

// What row sends to its application, in the words the user guide uses,
// NUL-terminated and cut to size.
void DescribeKeyRow(const KeyRow& row, char* text, std::size_t size);

// One virtual key as the guide names it: "Page Up", "Num 1", "F8", "S".
void DescribeVirtualKey(std::uint8_t vk, char* text, std::size_t size);
