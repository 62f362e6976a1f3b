// Remote Check and a running Remote Control: the two must not read the
// receiver together (each read takes the code away from the other), so Remote
// Check asks the utility to close, the way a newer copy of it does, and starts
// it again at its own end.
#pragma once

#include <cstdint>

enum class Utility : std::uint8_t {
    Absent,   // none runs
    Closing,  // asked to close
    Staying,  // the user chose to keep it
};

// Asks the user whether to close a running utility, and asks every copy of
// it to close on Yes.
Utility MakeWayForTheCheck(const char* caption);
// Whether a window of the utility's class is still there.
bool UtilityRuns();
// Starts RemoteControl.exe from Remote Check's own folder when
// MakeWayForTheCheck closed it, and says so in a box when it cannot.
void StartUtilityAgainIfClosed(const char* caption);
