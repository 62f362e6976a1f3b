// The texts of Remote Check's code list, and what its Copy command puts on
// the clipboard: plain lines a user can paste into a question to a forum.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"
#include "remote_check/code_verdict.h"

// "12:04:31.250<TAB>16 (Up)<TAB>press<TAB>TotalMedia: Up": the time, the code
// as the key tables write it, a fresh press or a repeat, and the verdict.
void FormatCodeLine(const platform::LocalTime& at, std::int32_t code, const Verdict& verdict, char* line,
                    std::size_t size);

// The first lines of a copy: the program and its version, the Windows
// version, and the receiver report.
void FormatCopyHeader(const char* receiverReport, char* text, std::size_t size);
