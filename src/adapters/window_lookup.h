// The three ways the system finds another program's top-level window.
#pragma once

#include "platform/platform.h"

enum class Lookup : unsigned char {
    // FindWindowExA under the desktop window: the whole class or title,
    // without regard to case.
    FindWindowExA,
    // FindWindowA: the same match, asked for without naming the desktop.
    FindWindowA,
    // The top-level windows in Z order, each title read into 128 bytes and
    // compared whole, byte for byte: case-sensitive.
    TitleWalk,
};

// A window asked for by class or by title; the other is null. TitleWalk
// uses the title alone.
struct WindowQuery {
    Lookup lookup;
    const char* className;
    const char* title;
};

constexpr WindowQuery ByTitle(const char* title, Lookup lookup = Lookup::FindWindowExA) {
    return WindowQuery{lookup, nullptr, title};
}
constexpr WindowQuery ByClass(const char* className) {
    return WindowQuery{Lookup::FindWindowExA, className, nullptr};
}

platform::WindowHandle FindWindowBy(const WindowQuery& query);

// The walk of TitleWalk: the first top-level window whose whole title is
// title, in Z order from the desktop's first child; null when none is.
platform::WindowHandle FindTopLevelByTitle(const char* title);
// The same walk for the first title that begins with text, also byte for byte.
platform::WindowHandle FindTopLevelByTitlePrefix(const char* text);
