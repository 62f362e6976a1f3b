// WinDVR 6's own state: the pointer step its arrow keys move by.
#pragma once

#include <cstdint>

struct WinDvr6State {
    // 0: its arrow keys move the pointer by 10, 1: by 50.
    std::int32_t fastPointer;

    void Reset() { fastPointer = 0; }
};
extern WinDvr6State winDvr6;
