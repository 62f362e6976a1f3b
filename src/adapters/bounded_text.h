// Bounded copies into fixed text buffers (the adapter records, the words the
// programs show). Written out by hand because snprintf would link the C
// library's whole formatted printer (a third of RemoteControl.exe) for a few
// joins and numbers.
#pragma once

#include <cstddef>
#include <cstdint>

// Replaces target with text (null counts as empty): at most size - 1
// characters and a NUL, like snprintf(target, size, "%s", text).
void CopyText(char* target, std::size_t size, const char* text);

// Appends text to the string already in target under the same bound.
void AppendText(char* target, std::size_t size, const char* text);

// Appends value in decimal, with leading zeros up to minimumDigits (a minus
// sign comes before them), under the same bound.
void AppendDecimal(char* target, std::size_t size, std::int64_t value, int minimumDigits = 1);
