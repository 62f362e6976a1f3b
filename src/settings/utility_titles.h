// The leading titles under which the utility's main window is found, under
// the product's old and new names: a starting copy asks each such window to
// close, and Remote Check finds a running utility by them. Compared byte for
// byte: "remote control" is not one of them.
#pragma once

inline constexpr const char* utilityWindowTitles[] = {"Birch Remote Control", "Alder Remote Control",
                                                      "Remote Control"};
