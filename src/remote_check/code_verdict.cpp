// The key dispatcher's decisions, told instead of carried out. Telling looks
// windows up but sends, posts, launches and shows nothing.
#include "remote_check/code_verdict.h"

#include "adapters/app_table.h"
#include "adapters/bounded_text.h"
#include "adapters/key_action.h"
#include "adapters/key_words.h"
#include "dispatch/pointer_emulation.h"
#include "receiver/receiver_access.h"
#include "settings/settings.h"
#include "shell/shutdown_dialog.h"

namespace {

class Words {
  public:
    explicit Words(char* text) : text_(text) { text_[0] = '\0'; }
    Words& operator<<(const char* text) {
        AppendText(text_, verdictSize, text);
        return *this;
    }

  private:
    char* text_;
};

bool AnyKeyMapUses(std::int32_t code) {
    for (int k = 1; k <= appCount; ++k) {
        if (FindRow(AppFor(k), static_cast<std::uint32_t>(code)) != nullptr) return true;
    }
    return false;
}

constexpr int failedReadsBeforeTheHint = 3;

// Remote Check's own state beside the utility's: how many reads in a row
// delivered no code.
struct TellingState {
    int failedReadsInARow;
} telling;

const char* const reinitializeText = "\"Please re-initialize the TV application settings.\"";

// Read after the verdict, the reason the verdict does not reach anyone.
void TellWhatWindowsBlocks(const SupportedApp& app, Words& words) {
    const platform::WindowHandle window = FindAppWindow(app);
    if (window != 0 && platform::RunsWithMoreRights(window) == 1) {
        words << ", but " << app.name
              << " runs as administrator: Windows lets Remote Control send it nothing; start it normally";
    }
}

void TellRow(const Decision& decision, Words& words) {
    const SupportedApp& app = AppFor(decision.appId);
    if (decision.row == nullptr) {
        words << app.name << ": nothing (no action for this key)";
        return;
    }
    char sent[verdictSize];
    DescribeKeyRow(*decision.row, sent, sizeof sent);
    words << app.name << ": " << sent;
    // The row looks its window up anew and sends nothing when it is not
    // there; the utility stays with the application all the same.
    if (decision.row->send != Send::CustomWithoutLookup && FindAppWindow(app) == 0) {
        words << ", but its window is not there, so nothing is sent";
        return;
    }
    TellWhatWindowsBlocks(app, words);
}

void TellActivePower(const Decision& decision, Words& words) {
    const SupportedApp& app = AppFor(decision.appId);
    switch (decision.power) {
        case PowerAction::Closes:
            words << "Power: closes " << app.name;
            TellWhatWindowsBlocks(app, words);
            break;
        case PowerAction::Starts:
            if (app.record().installed == 1) {
                words << "Power: starts " << app.name << " again (its window has gone)";
            } else {
                words << "Power: nothing (" << app.name << "'s window has gone and it is not installed)";
            }
            break;
    }
}

void TellPowerLaunch(const Decision& decision, Words& words) {
    const SupportedApp& app = AppFor(decision.appId);
    words << "Power: ";
    if (decision.notInstalled) {
        words << app.name << " is not installed, so it says " << reinitializeText << ", then ";
    }
    words << "closes the other TV applications, then ";
    // The launch's own Power, as it will decide once the others are closed.
    if (PowerOutcome(app) == PowerAction::Closes) {
        words << "closes " << app.name << " (it is open)";
    } else if (decision.notInstalled) {
        words << "starts nothing";
    } else {
        words << "starts " << app.name;
    }
}

void Tell(const Decision& decision, Words& words) {
    switch (decision.route) {
        case Route::ConfirmShutDown:
            words << "Shut Down dialog: Power confirms, the computer is switched off";
            break;
        case Route::CancelShutDown:
            words << "Shut Down dialog: cancelled (only Power confirms it)";
            break;
        case Route::ShutDownRepeat:
            words << "Shut Down dialog: nothing (it answers a fresh press only)";
            break;
        case Route::PowerRepeat:
            words << "Power: nothing (a held Power acts on its press only)";
            break;
        case Route::PowerDuringLaunch:
            words << "Power: nothing (the message of the previous Power press is still open)";
            break;
        case Route::ActivePower:
            TellActivePower(decision, words);
            break;
        case Route::ActiveKey:
            TellRow(decision, words);
            break;
        case Route::ActiveRepeat:
            words << AppFor(decision.appId).name << ": nothing (a held key acts on the press and every tenth repeat)";
            break;
        case Route::PowerLaunch:
            TellPowerLaunch(decision, words);
            break;
        case Route::PowerWithoutDefault:
            words << "Power: nothing (no default TV application is stored; choose one in Setting)";
            break;
        case Route::IgnoredKey:
            words << (AnyKeyMapUses(decision.code) ? "nothing (this key acts only while a TV application is active)"
                                                   : "nothing: no key map uses this code");
            break;
        case Route::OfferShutDown:
            words << "opens the Shut Down dialog";
            break;
        case Route::NotTheShutDownKey:
            words << "nothing (not the shut-down key of the default application)";
            break;
        case Route::ShutDownKeyWhileAppRuns:
            words << "nothing (the Shut Down dialog opens only while no TV application runs)";
            break;
        case Route::Detected:
            words << "(recognised) ";
            TellRow(decision, words);
            break;
        case Route::Pointer: {
            char pointerWords[64];
            DescribePointerCode(static_cast<std::uint32_t>(decision.code), pointerWords, sizeof pointerWords);
            words << "pointer: " << pointerWords << " (no TV application recognised)";
            break;
        }
        case Route::FailedRead:
            words << "nothing (the driver said a code was waiting, but the read delivered none)";
            // Every read failing while the status request answers: on 64-bit
            // Windows, a 64-bit driver that does not take the 32-bit read
            // request (its buffer addresses are the program's own).
            if (telling.failedReadsInARow >= failedReadsBeforeTheHint && platform::RunsOn64BitWindows() == 1) {
                words << "; every read fails: the card's 64-bit driver may not accept requests from 32-bit "
                         "programs, so ask its maker for a driver that does";
            }
            break;
        case Route::ClickRepeat:
            words << "pointer: nothing (a click or the button acts on the press only, not while held)";
            break;
        case Route::PointerIgnores:
            if (!AnyKeyMapUses(decision.code)) {
                words << "nothing: no key map uses this code, and the pointer takes codes 0 to 10 only";
            } else {
                words << "nothing (no TV application recognised; the pointer takes codes 0 to 10 only)";
            }
            break;
    }
}

}  // namespace

void StartTelling(std::int32_t storedDefaultApp) {
    telling = TellingState{};
    dispatcher.Reset();
    shutDownState.Reset();
    for (int k = 1; k <= appCount; ++k) AppRecord(k).active = 0;
    settings.defaultApp = storedDefaultApp;
}

Verdict TellCode(std::int32_t code, std::uint32_t now) {
    NoteRead(code, now);
    telling.failedReadsInARow = code == failedReadCode ? telling.failedReadsInARow + 1 : 0;
    Verdict verdict{DecideCode(code), {}};
    Words words(verdict.action);
    if (code == failedReadCode && verdict.decision.route != Route::FailedRead) {
        words << "(the driver said a code was waiting, but the read delivered none) ";
    }
    Tell(verdict.decision, words);
    FollowDecision(verdict.decision);
    return verdict;
}
