// Which button of the remote a code is. The driver numbers the keys; the key
// maps of the eight applications agree on what most of them mean (the digits,
// the arrows, Enter), so a code can be named even where one application sends
// only a command number for it.
#pragma once

#include <cstddef>
#include <cstdint>

// The button the key maps agree on: "digit 1", "Up", "Enter"; empty where
// fewer than three of them send one and the same key for the code.
void DescribeButton(std::uint32_t code, char* text, std::size_t size);

// A code as the key tables and Remote Check write it: "16 (Up)", "0 (digit 1)", "9".
void DescribeCode(std::uint32_t code, char* text, std::size_t size);
