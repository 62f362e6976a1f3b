// The input the system synthesises: keystrokes and mouse-button events, sent
// through the system's input queue to whatever has the focus or the pointer.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Modifier downs in the order given, the last key down and up, modifier ups in
// reverse; keys ends at the first 0 or after maxChordKeys keys.
constexpr int maxChordKeys = 4;
void SendChord(const std::uint8_t* keys);

// One button event where the pointer is: its position passed as dx and dy
// without the move or absolute flag, so nothing moves, and the extra info
// fetched anew right before the event.
void SendButtonEvent(std::uint32_t flags, const platform::Point& at);
// A button pressed and released where the pointer is.
void ClickAtPointer(std::uint32_t downFlag, std::uint32_t upFlag);
