// The window class of a program's own top-level window: the utility's hidden
// main window and Remote Check's window are registered alike.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The program icon, the arrow cursor and the window colour, with procedure
// and the given class styles. Returns the class atom, 0 on failure.
std::uint16_t RegisterProgramClass(platform::InstanceHandle instance, const char* className,
                                   platform::WindowProc procedure, std::uint32_t style);
