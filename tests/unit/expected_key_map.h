// The expected key-map tables of tests/key_maps/, read for the unit tests: one
// file per application, written by hand, one line per code that acts.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "expected_input.h"
#include "platform/platform.h"

struct ExpectedAction {
    std::string token;  // fg, top, key, chord, down, post, pause, lookup, toggle, move, click, step
    std::vector<std::int64_t> numbers;
};

struct ExpectedKeyMap {
    std::string file;
    int appId = 0;
    bool byClass = false;    // window class "..." rather than window title "..."
    std::string windowText;  // the class or title
    std::string lookup;      // FindWindowExA, FindWindowA or walk
    std::map<int, std::vector<ExpectedAction>> codes;
};

// Reads tests/key_maps/<name>.keys; a line it cannot read is a test failure,
// reported with its file and line number.
ExpectedKeyMap ReadExpectedKeyMap(const std::string& name);

// What the fake desktop needs to know to write a line out as calls.
struct ExpectedContext {
    platform::WindowHandle desktop = 0;
    platform::WindowHandle window = 0;  // the application's window, or 0 when gone
    platform::Point cursor{0, 0};
    std::intptr_t extraInfo = 0;
    bool iconic = false;
    int pointerStep = 10;
};

// The lookup and the calls that one code's line stands for: nothing for a
// code without a line.
Calls ExpectedCalls(const ExpectedKeyMap& keyMap, int code, const ExpectedContext& context);
// True when the line acts without looking the window up (click, step).
bool SkipsLookup(const ExpectedKeyMap& keyMap, int code);
