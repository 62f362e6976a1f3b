// The key dispatcher's decisions, told instead of carried out. Every lookup
// here only reads the window list; no input, message, launch or dialog.
#include "remote_check/code_verdict.h"

#include "adapters/app_table.h"
#include "adapters/bounded_text.h"
#include "adapters/key_words.h"
#include "adapters/remote_key_codes.h"
#include "adapters/window_lookup.h"
#include "dispatch/app_switching.h"
#include "dispatch/key_dispatcher.h"
#include "dispatch/pointer_emulation.h"

CheckState check;

void CheckState::Reset(std::int32_t storedDefaultApp) {
    lastCode = 0;
    lastReadTime = 0;
    repeatCount = 0;
    activeApp = 0;
    defaultApp = storedDefaultApp;
}

namespace {

class Words {
  public:
    explicit Words(Verdict* verdict) : text_(verdict->action) { text_[0] = '\0'; }
    Words& operator<<(const char* text) {
        AppendText(text_, verdictSize, text);
        return *this;
    }

  private:
    char* text_;
};

bool Installed(const SupportedApp& app) {
    // Media Center is also found by its presence test, as the Power key asks it.
    if (app.detectInstalled != nullptr) app.detectInstalled(nullptr, 0);
    return app.record().installed == 1;
}

void TellKeyMap(const SupportedApp& app, std::int32_t code, Words& words) {
    const KeyRow* row = FindRow(app, static_cast<std::uint32_t>(code));
    if (row == nullptr) {
        words << app.name << ": nothing (no action for this key)";
        return;
    }
    char sent[verdictSize];
    DescribeKeyRow(*row, sent, sizeof sent);
    words << app.name << ": " << sent;
}

void TellPower(Words& words) {
    const std::int32_t k = check.defaultApp;
    if (!IsAppId(k)) {
        words << "Power: nothing (no default TV application is stored; choose one in Setting)";
        return;
    }
    const SupportedApp& app = AppFor(k);
    words << "Power: closes the other TV applications, then ";
    if (FindAppWindow(app) != 0) {
        words << "closes " << app.name << " (it is open)";
    } else if (Installed(app)) {
        words << "starts " << app.name;
    } else {
        words << "says \"Please re-initialize the TV application settings.\" (" << app.name
              << " is not installed)";
    }
}

void TellShutDownKey(std::int32_t code, Words& words) {
    const std::int32_t k = check.defaultApp;
    if (!IsAppId(k) || AppFor(k).shutDownKey != code) {
        words << "nothing (not the shut-down key of the default application)";
    } else if (NoAppRunning() == 1) {
        words << "opens the Shut Down dialog";
    } else {
        words << "nothing (the Shut Down dialog opens only while no TV application runs)";
    }
}

void TellWithoutActiveApp(std::int32_t code, Words& words) {
    if (code == powerCode) return TellPower(words);
    if (code == ignoredCode) {
        words << "nothing (this key acts only while a TV application is active)";
        return;
    }
    if (code == shutDownCode || code == quartzviewShutDownCode) return TellShutDownKey(code, words);
    for (int k = 1; k <= appCount; ++k) {
        if (FindWindowBy(AppFor(k).detection) == 0) continue;
        check.activeApp = k;
        words << "(recognised) ";
        return TellKeyMap(AppFor(k), code, words);
    }
    char pointerWords[64];
    DescribePointerCode(static_cast<std::uint32_t>(code), pointerWords, sizeof pointerWords);
    if (pointerWords[0] != '\0') {
        words << "pointer: " << pointerWords << " (no TV application recognised)";
    } else {
        words << "nothing (no TV application recognised; the pointer takes codes 0 to 10 only)";
    }
}

}  // namespace

Verdict JudgeCode(std::int32_t code, std::uint32_t now) {
    Verdict verdict{};
    verdict.repeat = IsRepeat(code, now, check.lastCode, check.lastReadTime);
    check.repeatCount = verdict.repeat ? check.repeatCount + 1 : 0;
    check.lastReadTime = now;
    check.lastCode = code;

    Words words(&verdict);
    if (code == 255) {
        words << "nothing (the driver said a code was waiting, but the read delivered none)";
        return verdict;
    }
    // The utility stops driving an application when it closes it or its
    // launch watch sees it gone; here, when its main window has gone.
    if (check.activeApp != 0 && FindMainWindow(AppFor(check.activeApp)) == 0) check.activeApp = 0;
    if (check.activeApp == 0) {
        TellWithoutActiveApp(code, words);
        return verdict;
    }
    const SupportedApp& app = AppFor(check.activeApp);
    if (!PassesWhileAppActive(check.repeatCount)) {
        words << app.name << ": nothing (a held key acts on the press and every tenth repeat)";
    } else if (code == powerCode) {
        words << "Power: " << (FindAppWindow(app) != 0 ? "closes " : "starts ") << app.name;
    } else {
        TellKeyMap(app, code, words);
    }
    return verdict;
}
