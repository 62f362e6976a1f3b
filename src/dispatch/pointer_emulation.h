// Mouse pointer movement and clicks from the numeric remote keys.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// The pointer may only be placed strictly inside this rectangle; left and top
// are always 0.
struct PointerRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

struct PointerState {
    PointerRect pointerRect;
    std::int32_t smallStep;  // screen width / 160
    std::int32_t largeStep;  // screen width / 80
    // Pointer moves since the last reset; the dispatcher resets it on every
    // fresh press.
    std::int32_t moveCount;
    // 1 while code 5 holds the primary button down.
    std::int32_t buttonHeld;
    // The event that lets go of the button held: the one that went down,
    // whatever the swap setting says by the time it is let go.
    std::uint32_t heldButtonUp;

    void Reset() { *this = PointerState{}; }
};
extern PointerState pointer;

// The step of the n-th move since the last reset: 1 pixel for moves 1 to 4,
// small for 5 to 9, large from the tenth on.
constexpr std::int32_t PointerStep(std::int32_t n, std::int32_t small, std::int32_t large) {
    return n < 5 ? 1 : (n < 10 ? small : large);
}

// The codes pointer emulation acts on; it ignores every other.
constexpr bool IsPointerCode(std::int32_t code) {
    return code >= 0 && code <= 10;
}

// A fresh press starts the acceleration again from 1-pixel moves.
void RestartPointerAcceleration();

void InitPointerLimits();
void UpdatePointerLimits(platform::LParam lParam);
// What EmulatePointer does with code, in words ("move up-left", "left
// click"); empty for a code it ignores.
void DescribePointerCode(std::uint32_t code, char* text, std::size_t size);
// Acts on codes 0 to 10; every other code is ignored.
void EmulatePointer(std::uint32_t code);
// Lets go of a button that code 5 holds, so that none stays down once the
// program ends.
void ReleaseButtonHold();
