// Mouse pointer movement and clicks from the numeric remote keys.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Pointer moves since the last reset; the dispatcher resets it on every fresh press.
extern std::int32_t moveCount;

void InitPointerLimits();
void UpdatePointerLimits(platform::LParam lParam);
void EmulatePointer(std::uint32_t code);
