// The remote's codes that have one meaning wherever they arrive. A code is a
// position on the remote, not a meaning: the key maps give every other code
// its meaning for their application.
#pragma once

#include <cstdint>

// The Power key: launches or closes, never reaches a key map; Enter in the
// Shut Down dialog.
constexpr std::int32_t powerCode = 12;
// Does nothing while no application is active.
constexpr std::int32_t ignoredCode = 13;
// Offers the Shut Down dialog while no application runs, unless Quartzview,
// which takes code 24 itself, is the default application.
constexpr std::int32_t shutDownCode = 24;
// The shut-down key when Quartzview is the default application.
constexpr std::int32_t quartzviewShutDownCode = 29;

// Pointer emulation's keys besides its moves.
constexpr std::uint32_t leftClickCode = 0;
constexpr std::uint32_t buttonHoldCode = 5;
constexpr std::uint32_t rightClickCode = 10;
