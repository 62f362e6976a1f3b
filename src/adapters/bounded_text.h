// Bounded copies into the fixed text buffers of the adapter records. Written
// out by hand because snprintf("%s") would link the C library's whole
// formatted printer (a third of RemoteControl.exe) for two path joins.
#pragma once

#include <cstddef>

// Replaces target with text (null counts as empty): at most size - 1
// characters and a NUL, like snprintf(target, size, "%s", text).
void CopyText(char* target, std::size_t size, const char* text);

// Appends text to the string already in target under the same bound.
void AppendText(char* target, std::size_t size, const char* text);
