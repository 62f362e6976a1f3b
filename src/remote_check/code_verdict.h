// What Remote Control would do with a code, worked out without doing it: the
// same repeat rule, the same precedence and the same window lookups as the
// key dispatcher, but nothing is sent, started or shown.
#pragma once

#include <cstddef>
#include <cstdint>

// Remote Check's picture of the utility's dispatcher, as if the utility had
// just started: it follows the application that the utility would drive
// while that application's main window is there.
struct CheckState {
    std::int32_t lastCode;
    std::uint32_t lastReadTime;
    std::int32_t repeatCount;
    int activeApp;            // 0: none
    std::int32_t defaultApp;  // as stored; read once at start

    void Reset(std::int32_t storedDefaultApp);
};
extern CheckState check;

constexpr std::size_t verdictSize = 200;

struct Verdict {
    bool repeat;  // the same code within 250 ms of the previous read
    char action[verdictSize];
};

// Judges one code read at now (GetTickCount) and moves the state on.
Verdict JudgeCode(std::int32_t code, std::uint32_t now);
