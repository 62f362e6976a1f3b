// The lParam of a posted top-row digit key, by digit 0 to 9: repeat count 1
// and the digit key's set-1 scan code. Home Theater and WinDVR 6 post their
// digits with it.
#pragma once

#include "platform/platform.h"

constexpr platform::LParam digitScanTable[10] = {
    0x000B0001, 0x00020001, 0x00030001, 0x00040001, 0x00050001,
    0x00060001, 0x00070001, 0x00080001, 0x00090001, 0x000A0001,
};
