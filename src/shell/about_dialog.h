// The About dialog (template 21): the program's icon and version label.
#pragma once

#include <cstdint>

#include "platform/platform.h"

std::intptr_t AboutDialogProc(platform::WindowHandle dialog, std::uint32_t message, platform::WParam wParam,
                              platform::LParam lParam);
