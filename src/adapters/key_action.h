// A key reaching its application: the key map's row for a code, and running
// that row in the common shape of a key action.
#pragma once

#include <cstdint>

#include "adapters/key_map.h"
#include "adapters/supported_app.h"

// The row for code, or null: a code without a row does nothing at all.
const KeyRow* FindRow(const SupportedApp& app, std::uint32_t code);
// Runs one row: the window looked up anew and stored in the record's window,
// the row's action only when it was found, then the row's pause.
void RunRow(const SupportedApp& app, const KeyRow& row);
// The key map: the row for code, run; a code without a row does nothing, not
// even a lookup.
void HandleKey(const SupportedApp& app, std::uint32_t code);
