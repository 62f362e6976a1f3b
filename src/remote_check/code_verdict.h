// What Remote Control would do with a code, told instead of done: the
// utility's own decision (dispatch/code_decision.h) on the utility's own
// state, followed as the utility would change it, but nothing is sent,
// started or shown.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dispatch/code_decision.h"

// Room for the longest verdict whole: a route, its reason and what Windows blocks.
constexpr std::size_t verdictSize = 320;

struct Verdict {
    Decision decision;
    char action[verdictSize];
};

// Puts the utility's state back to what its start leaves, with storedDefaultApp
// as its default application: Remote Check tells what a freshly started
// utility would do.
void StartTelling(std::int32_t storedDefaultApp);

// One code read at now (GetTickCount): noted, decided, told, and followed.
Verdict TellCode(std::int32_t code, std::uint32_t now);
