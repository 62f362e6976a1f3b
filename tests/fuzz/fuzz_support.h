// What the fuzz targets share: a fresh fake desktop with the program's
// globals at their start-up values, reading the call log, and the invariants
// that hold after any step whatever the input.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "fake/fake_desktop.h"
#include "platform/platform.h"

namespace fuzz {

// The fake desktop the product runs on.
fake::Desktop& Desk();

// A 1024 x 768 screen, no other window, the program's globals as at start-up,
// a main window that owns the timers, and an open receiver. Returns the main window.
platform::WindowHandle FreshDesktop();

// Reports the broken invariant and aborts, which libFuzzer records as a crash
// with the input that caused it.
[[noreturn]] void Violated(const char* invariant, const std::string& detail);

#define FUZZ_CHECK(condition, detail)                           \
    do {                                                        \
        if (!(condition)) ::fuzz::Violated(#condition, detail); \
    } while (0)

// Log entries from index mark on whose function is one of names.
std::vector<std::string> EntriesSince(std::size_t mark, const std::set<std::string>& names);
// The arguments of one log entry, split at the commas outside quotes and braces.
std::vector<std::string> Arguments(const std::string& entry);

// Every SetCursorPos since mark lies strictly inside pointerRect.
void CheckCursorPlacements(std::size_t mark);
// No key is left down.
void CheckNothingLeftDown();
// No registry key and no token handle is left open.
void CheckNoHandlesOpen();

}  // namespace fuzz
