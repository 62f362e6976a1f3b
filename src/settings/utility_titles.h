// How the utility's main window is found from outside it.
#pragma once

// The class every copy of this program registers (string-table entry 23):
// what Remote Check and the installer look for, since other programs' windows
// may well carry the product's name in their titles.
inline constexpr const char* utilityWindowClass = "Alder Remote Control";

// The names under which a starting copy asks earlier copies to close: the
// old names as leading titles, compared byte for byte ("remote control" is
// not one of them); this product's own name by the class above.
inline constexpr const char* utilityWindowTitles[] = {"Birch Remote Control", "Alder Remote Control",
                                                      "Remote Control"};
