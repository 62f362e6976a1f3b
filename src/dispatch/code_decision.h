// What the program does with one code read from the remote, decided once:
// the dispatcher carries the decision out, Remote Check tells it. Deciding
// only looks windows and records up; it sends, posts, launches, shows and
// writes nothing (Media Center's system test, run for Power as the launch
// always did, marks its record installed when it passes), so both programs
// can ask it on the same desktop.
#pragma once

#include <cstdint>

#include "adapters/key_map.h"
#include "adapters/supported_app.h"

// Dispatcher state, all 0 at start; changed only on ticks where a code was read.
struct DispatcherState {
    std::int32_t lastCode;       // the previous read, before any suppression
    std::uint32_t lastReadTime;  // GetTickCount right after the previous read
    std::int32_t repeatCount;    // consecutive repeats of lastCode; 0 for a fresh press
    // Set while a Power-key launch runs. Its message boxes are modal and ticks
    // keep arriving inside them; a held Power key would otherwise open box
    // upon box, each running the whole launch again.
    bool powerLaunchRunning;

    void Reset() { *this = DispatcherState{}; }
};
extern DispatcherState dispatcher;

// The same code again within this time of the previous read is a repeat.
constexpr std::uint32_t repeatWindowMs = 250;

// Measured from the previous read, as an unsigned 32-bit difference so that
// the tick counter wrapping past 2^32 changes nothing.
constexpr bool IsRepeat(std::int32_t code, std::uint32_t now, std::int32_t previousCode,
                        std::uint32_t previousReadTime) {
    return code == previousCode && static_cast<std::uint32_t>(now - previousReadTime) < repeatWindowMs;
}

// While an application is active, a held key acts on the fresh press and on
// every tenth repeat.
constexpr bool PassesWhileAppActive(std::int32_t repeats) {
    return repeats % 10 == 0;
}

// Which consumer takes the code, and what it does. Both programs switch over
// this without a default, so that a new route is a compile error in each
// until each handles it.
enum class Route : std::uint8_t {
    // The Shut Down dialog is open and takes every code.
    ConfirmShutDown,  // a fresh Power: Enter, the computer is switched off
    CancelShutDown,   // any other fresh code: Escape
    ShutDownRepeat,   // a held key: the dialog answers a fresh press only
    // A held Power: it acts on its fresh press only, whatever is active, so
    // that one press never closes and starts again (appId: the active one).
    PowerRepeat,
    // Power pressed again while the Power-key launch's message box is up: it
    // belongs to the press that opened the box.
    PowerDuringLaunch,
    // An application is active (appId).
    ActivePower,   // Power: power says whether it closes or starts it
    ActiveKey,     // its key-map row; row null: the map has none for the code
    ActiveRepeat,  // a held key between its tenth repeats
    // No application is active: the dispatcher's own keys first.
    PowerLaunch,          // the default (appId) launched or closed after the others close
    PowerWithoutDefault,  // the stored default names no application
    IgnoredKey,           // code 13
    OfferShutDown,        // the default's shut-down key with nothing running
    NotTheShutDownKey,    // code 24 or 29, but not the default's shut-down key
    ShutDownKeyWhileAppRuns,
    // A read that delivered no code: nothing, and no detection either.
    FailedRead,
    // Then the detection, and last the pointer.
    Detected,        // appId runs: it becomes active, the code goes to its row (null: none)
    Pointer,         // nothing runs: pointer emulation acts on the code
    // A held click or button key: it acts on its fresh press only, so one
    // press is one click, one press or release of the button.
    ClickRepeat,
    PointerIgnores,  // nothing runs, and pointer emulation takes codes 0 to 10 only
};

struct Decision {
    Route route;
    std::int32_t code;     // as read
    bool repeat;           // the same code within 250 ms of the previous read
    int appId;             // the application the route concerns; 0 for none
    const KeyRow* row;     // ActiveKey and Detected: the row for the code, or null
    // ActivePower: what its Power does now. The launch's own Power is
    // decided when it comes, after the others have closed (PowerOutcome).
    PowerAction power;
    bool notInstalled;  // PowerLaunch: the default is not installed, so the
                        // launch asks to re-initialise first

    bool operator==(const Decision&) const = default;
};

// The step every read takes first: the repeat rule and its bookkeeping in the
// dispatcher state (last code, time, count; a fresh press restarts the
// pointer's acceleration).
void NoteRead(std::int32_t code, std::uint32_t now);

// Decides for the code that NoteRead has just noted, from the state as it
// stands: the dialog's open flag, the bindings, the default application and
// the windows on the desktop.
Decision DecideCode(std::int32_t code);

// For a program that tells instead of acting: the changes to the shared state
// that carrying the decision out would make. A launched window never
// appears, so the watch would let it go: nothing is bound to it.
void FollowDecision(const Decision& decision);
