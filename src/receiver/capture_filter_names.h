// The FriendlyNames under which the tuner card's capture filter is looked for.
#pragma once

// Tried in this order; each is compared exactly, letter case included.
extern const char* const captureFilterNames[];
extern const int captureFilterNameCount;
// The name under which the found filter joins the filter graph, whichever
// of the names matched.
extern const char* const captureFilterGraphName;
