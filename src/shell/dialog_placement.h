// Where the program's dialogs appear on the screen.
#pragma once

#include "platform/platform.h"

// Moves the dialog to the fixed position for the screen width and makes it
// topmost; on widths without a position the dialog stays where its template puts it.
void PlaceDialog(platform::WindowHandle dialog);
