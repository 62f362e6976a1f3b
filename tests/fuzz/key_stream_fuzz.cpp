// The remote's key stream as the input, through the poll tick on the fake
// desktop: codes 0 to 255, failed reads and ticks with no key, clock steps,
// jumps and the 32-bit wrap, windows of all eight applications (and of
// bystanders) appearing, vanishing, minimising and changing title between
// ticks, the user moving the mouse, display changes, launches that bring a
// window or none, watch ticks, and the Shut Down
// dialog and message boxes running nested ticks. After every tick, nested ones
// included:
//  - a tick without a code makes its one status request and nothing else;
//  - while the Shut Down dialog is open, a fresh read only brings it forward
//    and sends it VK_RETURN (code 12) or VK_ESCAPE (any other), and a repeat
//    (the same code within 250 ms of the previous read) does nothing at all;
//  - input and foreground changes go only to windows that carry a supported
//    application's identity, never to a bystander; when an application is
//    active (or detection takes one up) and the code is not the Power key, only
//    to that application's windows; keystrokes the dispatcher does not send to
//    a window go to the focused one;
//  - one consumer per read: a tick that places the pointer touches no
//    application window and types no key;
//  - every key pressed is released within the tick; the pointer is placed only
//    strictly inside its limits; no registry key or token handle stays open.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "adapters/app_table.h"
#include "dispatch/key_dispatcher.h"
#include "dispatch/launch_watch.h"
#include "dispatch/pointer_emulation.h"
#include "fake/fake_text.h"
#include "fuzz_support.h"
#include "platform/win32_constants.h"
#include "dispatch/timer_slot.h"
#include "settings/settings.h"
#include "shell/shutdown_dialog.h"

namespace {

// The titles and classes by which the system knows each application's
// windows (the detection's main window, and the record's own title and class
// that launching and activating look up), by AppId.
struct Identity {
    std::vector<std::string> titles;
    std::vector<std::string> classes;
};
const Identity identities[9] = {
    {},
    {{"PowerCinema"}, {}},
    {{"Home Theater"}, {}},
    {{"My IC-TV Media Center"}, {"My IC-TV"}},
    {{"eHome Render Window"}, {"eHome Render Window"}},
    {{"Arcsoft TotalMedia", "TotalMedia"}, {}},
    {{"TVR"}, {"TarvexMainPanel_Class"}},
    {{"Streamzap.WM.D3D"}, {"Streamzap.WM.D3D", "Beyond TV"}},
    {{"InterVideo WinDVR 6", "WinDVR 6"}, {}},
};
const char* const bystanderTitles[] = {"Notepad",        "PowerCinema 5", "Arcsoft TotalMedia - Player",
                                       "Remote Control", "My IC-TV",      ""};

// The AppIds whose identity the window carries now (titles and classes
// compare without regard to case, as FindWindowExA does).
std::set<int> Owners(platform::WindowHandle handle) {
    std::set<int> owners;
    const fake::Window* window = fuzz::Desk().Find(handle);
    if (!window) return owners;
    for (int k = 1; k <= 8; ++k) {
        for (const std::string& title : identities[k].titles)
            if (fake::EqualNoCase(title, window->title)) owners.insert(k);
        for (const std::string& cls : identities[k].classes)
            if (fake::EqualNoCase(cls, window->className)) owners.insert(k);
    }
    return owners;
}

// The first application, in AppId order, whose main window the detection finds.
int FirstRunning() {
    const char* const mainTitles[9] = {
        nullptr, "PowerCinema", "Home Theater",       "My IC-TV Media Center", nullptr, "Arcsoft TotalMedia",
        nullptr, nullptr,       "InterVideo WinDVR 6"};
    const char* const mainClasses[9] = {nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        "eHome Render Window",
                                        nullptr,
                                        "TarvexMainPanel_Class",
                                        "Streamzap.WM.D3D",
                                        nullptr};
    for (int k = 1; k <= 8; ++k) {
        for (const platform::WindowHandle handle : fuzz::Desk().ZOrder()) {
            const fake::Window* window = fuzz::Desk().Find(handle);
            if ((mainTitles[k] && fake::EqualNoCase(mainTitles[k], window->title)) ||
                (mainClasses[k] && fake::EqualNoCase(mainClasses[k], window->className)))
                return k;
        }
    }
    return 0;
}

int FirstActive() {
    for (int k = 1; k <= appCount; ++k)
        if (AppRecord(k).active == 1) return k;
    return 0;
}

platform::WindowHandle Handle(const std::string& argument) {
    return argument.size() > 1 && argument[0] == 'w' ? std::strtoull(argument.c_str() + 1, nullptr, 10) : 0;
}

class KeyStream {
  public:
    KeyStream(FuzzedDataProvider& input, platform::WindowHandle owner) : input(input), owner(owner) {}

    void Run() {
        fake::Desktop& desk = fuzz::Desk();
        desk.onMessageBox = [this](const std::string&, const std::string&) {
            NestedTicks();
            return IDOK;
        };
        desk.onDialog = [this](platform::WindowHandle dialog) {
            NestedTicks();
            // The user closes a dialog the remote left open.
            if (const fake::Window* open = fuzz::Desk().Find(dialog); open && !open->dialogEnded)
                platform::SendMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
        };
        desk.onShellExecute = [this](const std::string& file) {
            for (int k = 1; k <= appCount; ++k) {
                if (AppRecord(k).installed == 1 && file.find(AppRecord(k).exeName) != std::string::npos &&
                    !input.ConsumeBool())
                    AddAppWindow(k, 0);
            }
            return std::intptr_t{33};
        };
        while (input.remaining_bytes() > 0) Step();
        desk.onMessageBox = nullptr;
        desk.onDialog = nullptr;
        desk.onShellExecute = nullptr;
    }

  private:
    void Step() {
        fake::Desktop& desk = fuzz::Desk();
        switch (input.ConsumeIntegralInRange<int>(0, 13)) {
            case 0:
                AddAppWindow(input.ConsumeIntegralInRange<int>(1, 8), input.ConsumeIntegral<std::uint8_t>());
                break;
            case 1:
                desk.AddWindow(input.PickValueInArray(bystanderTitles), input.ConsumeBool() ? "#32770" : "");
                break;
            case 2:
                if (const platform::WindowHandle w = PickForeign()) desk.RemoveWindow(w);
                break;
            case 3:
                if (const platform::WindowHandle w = PickForeign())
                    desk.Find(w)->iconic = !desk.Find(w)->iconic;
                break;
            case 4:
                if (const platform::WindowHandle w = PickForeign()) Retitle(w);
                break;
            case 5:
                if (const platform::WindowHandle w = PickForeign()) desk.foreground = w;
                break;
            case 6:
                desk.tickCount = input.ConsumeBool()
                                     ? input.ConsumeIntegral<std::uint32_t>()
                                     : 0xFFFFFFFFu - input.ConsumeIntegralInRange<std::uint32_t>(0, 300);
                break;
            case 7:
                if (desk.TimerSet(owner, 2)) desk.FireTimer(owner, 2);  // a watch tick
                break;
            case 8:  // the user moves the mouse
                desk.cursor = {input.ConsumeIntegralInRange<int>(0, desk.screenWidth - 1),
                               input.ConsumeIntegralInRange<int>(0, desk.screenHeight - 1)};
                break;
            case 9: {  // a new display mode, as the main window passes WM_DISPLAYCHANGE on
                desk.screenWidth = input.ConsumeIntegralInRange<int>(1, 4096);
                desk.screenHeight = input.ConsumeIntegralInRange<int>(1, 4096);
                UpdatePointerLimits(static_cast<platform::LParam>(desk.screenHeight) << 16 |
                                    desk.screenWidth);
                break;
            }
            default:
                Tick();
                break;
        }
    }

    void AddAppWindow(int appId, std::uint8_t variant) {
        const Identity& identity = identities[appId];
        const std::size_t choices = identity.titles.size() + identity.classes.size();
        const std::size_t pick = variant % choices;
        if (pick < identity.titles.size()) {
            fuzz::Desk().AddWindow(identity.titles[pick], variant & 0x80 ? "AppClass" : "");
        } else {
            fuzz::Desk().AddWindow(variant & 0x80 ? "" : "Some title",
                                   identity.classes[pick - identity.titles.size()]);
        }
    }

    void Retitle(platform::WindowHandle handle) {
        fake::Window& window = *fuzz::Desk().Find(handle);
        switch (input.ConsumeIntegralInRange<int>(0, 3)) {
            case 0:
                for (char& c : window.title)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                break;
            case 1:
                window.title += " - Paused";
                break;
            case 2: {
                const Identity& other = identities[input.ConsumeIntegralInRange<int>(1, 8)];
                if (!other.titles.empty()) window.title = other.titles.front();
                break;
            }
            default:
                window.title = input.PickValueInArray(bystanderTitles);
                break;
        }
    }

    platform::WindowHandle PickForeign() {
        std::vector<platform::WindowHandle> foreign;
        for (const platform::WindowHandle handle : fuzz::Desk().ZOrder())
            if (!fuzz::Desk().Find(handle)->own) foreign.push_back(handle);
        if (foreign.empty()) return 0;
        return foreign[input.ConsumeIntegralInRange<std::size_t>(0, foreign.size() - 1)];
    }

    // A few poll ticks inside a modal loop of the program.
    void NestedTicks() {
        if (depth > 3) return;
        for (int n = input.ConsumeIntegralInRange<int>(0, 3); n > 0 && input.remaining_bytes() > 0; --n)
            Tick();
    }

    // One poll tick with what the input puts on the receiver, then the checks.
    void Tick() {
        fake::Desktop& desk = fuzz::Desk();
        int code = -1;  // no code read
        desk.transferResult = S_OK;
        switch (input.ConsumeIntegralInRange<int>(0, 7)) {
            case 0:
                break;  // nothing waits
            case 1:
                desk.transferResult = E_FAIL;  // a failed read: code 255
                desk.keyQueue.push_back(0);
                code = 255;
                break;
            default:
                code = input.ConsumeIntegral<std::uint8_t>();
                desk.keyQueue.push_back(static_cast<std::uint8_t>(code));
                break;
        }
        desk.tickCount += input.ConsumeIntegralInRange<std::uint32_t>(0, 300);

        const bool dialogOpen = shutDownState.shutDownDialogOpen == 1;
        const bool repeat = code >= 0 && code == dispatcher.lastCode && desk.tickCount - dispatcher.lastReadTime < 250;
        const platform::WindowHandle dialog = shutDownState.shutDownDialog;
        const int activeBefore = FirstActive();
        const int running = FirstRunning();
        const std::size_t mark = desk.log.size();
        const std::size_t nestedBefore = nested.size();
        ++depth;
        DispatchKey(owner, WM_TIMER, 1, desk.tickCount);
        --depth;
        const std::size_t end = desk.log.size();
        desk.keyQueue.clear();
        desk.transferResult = S_OK;

        // This tick's own entries: nested ticks are checked by themselves.
        std::vector<std::string> own;
        std::size_t next = mark;
        for (std::size_t i = nestedBefore; i < nested.size(); ++i) {
            if (nested[i].first < next) continue;
            for (std::size_t j = next; j < nested[i].first; ++j) own.push_back(desk.log[j]);
            next = nested[i].second;
        }
        for (std::size_t j = next; j < end; ++j) own.push_back(desk.log[j]);
        nested.resize(nestedBefore);
        nested.emplace_back(mark, end);

        Check(own, code, dialogOpen && !repeat, dialogOpen && repeat, dialog, activeBefore, running);
        fuzz::CheckCursorPlacements(mark);
        fuzz::CheckNothingLeftDown();
        fuzz::CheckNoHandlesOpen();
    }

    void Check(const std::vector<std::string>& own, int code, bool dialogOpen, bool repeatInDialog,
               platform::WindowHandle dialog, int activeBefore, int running) {
        auto entry = [&own](std::size_t i) { return i < own.size() ? own[i] : std::string("(none)"); };
        if (code < 0) {
            FUZZ_CHECK(own.size() == 1 && own[0] == "KsProperty(32,1)",
                       "a tick without a code did " + entry(1));
            return;
        }
        if (repeatInDialog) {
            const std::vector<std::string> read = {"KsProperty(32,1)", "DriverAddress()", "DriverAddress()",
                                                   "KsProperty(48,8)", "GetTickCount()"};
            FUZZ_CHECK(own == read, "a repeat in the Shut Down dialog did " + entry(read.size()));
            return;
        }
        if (dialogOpen) {
            const std::string d = fake::W(dialog);
            const std::string vk = code == 12 ? "0xD" : "0x1B";
            const std::vector<std::string> expected = {"KsProperty(32,1)",
                                                       "DriverAddress()",
                                                       "DriverAddress()",
                                                       "KsProperty(48,8)",
                                                       "GetTickCount()",
                                                       "SetForegroundWindow(" + d + ")",
                                                       "SetActiveWindow(" + d + ")",
                                                       "SendMessageA(" + d + ",0x100," + vk + ",0x0)"};
            std::vector<std::string> actions;
            for (const std::string& e : own)
                if (e.rfind("EndDialog", 0) != 0 && e.rfind("ExitWindowsEx", 0) != 0 &&
                    e.rfind("OpenProcessToken", 0) != 0 && e.rfind("LookupPrivilegeValueA", 0) != 0 &&
                    e.rfind("AdjustTokenPrivileges", 0) != 0 && e.rfind("GetLastError", 0) != 0 &&
                    e.rfind("CloseHandle", 0) != 0 && e.rfind("GetVersionExA", 0) != 0 &&
                    e.rfind("MessageBoxA", 0) != 0)
                    actions.push_back(e);
            std::string all;
            for (const std::string& e : actions) all += e + " ";
            FUZZ_CHECK(actions == expected,
                       "with the Shut Down dialog open, code " + std::to_string(code) + ": " + all);
            return;
        }

        // Which applications' windows this tick may touch.
        std::set<int> allowed;
        const bool power = code == 12;
        if (power) {
            for (int k = 1; k <= 8; ++k) allowed.insert(k);  // the launch closes the others
        } else if (activeBefore != 0) {
            allowed.insert(activeBefore);
        } else if (running != 0) {
            allowed.insert(running);
        }
        bool touchedApp = false, placedPointer = false, typed = false;
        for (const std::string& e : own) {
            const std::string function = e.substr(0, e.find('('));
            if (function == "SetCursorPos") placedPointer = true;
            if (function == "keybd_event") typed = true;
            if (function != "PostMessageA" && function != "SendMessageA" &&
                function != "SetForegroundWindow" && function != "SetActiveWindow" &&
                function != "BringWindowToTop" && function != "ShowWindow")
                continue;
            const platform::WindowHandle target = Handle(fuzz::Arguments(e).at(0));
            if (target == 0) continue;  // SetActiveWindow on a record's stale or null window
            const fake::Window* window = fuzz::Desk().Find(target);
            if (window && window->own) continue;  // the program's own windows and dialogs
            const std::set<int> owners = Owners(target);
            FUZZ_CHECK(window == nullptr || !owners.empty(), "a bystander window got " + e);
            bool permitted = window == nullptr;
            for (const int k : owners) permitted = permitted || allowed.count(k) > 0;
            FUZZ_CHECK(permitted, "code " + std::to_string(code) + " with AppId " +
                                      std::to_string(activeBefore) +
                                      " active reached another application's window: " + e);
            touchedApp = true;
        }
        FUZZ_CHECK(!(placedPointer && (touchedApp || typed)), "the pointer and an application both acted");
    }

    FuzzedDataProvider& input;
    platform::WindowHandle owner;
    int depth = 0;
    std::vector<std::pair<std::size_t, std::size_t>> nested;  // log ranges of finished ticks
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const platform::WindowHandle owner = fuzz::FreshDesktop();
    fake::Desktop& desk = fuzz::Desk();
    desk.closeWindowsOnWmClose = input.ConsumeBool();
    if (input.ConsumeBool()) {
        desk.version.dwPlatformId = VER_PLATFORM_WIN32_NT;
        desk.version.dwMajorVersion = 5;
        desk.version.dwMinorVersion = 1;
    }
    settings.defaultApp = input.ConsumeIntegralInRange<int>(0, 9);
    const std::uint8_t installed = input.ConsumeIntegral<std::uint8_t>();
    for (int k = 1; k <= appCount; ++k) {
        if (!(installed & (1 << (k - 1)))) continue;
        AppAdapter& record = AppRecord(k);
        std::snprintf(record.installDir, sizeof record.installDir, "C:\\TV%d", k);
        std::snprintf(record.exeName, sizeof record.exeName, "app%d.exe", k);
        record.installed = 1;
    }
    KeyStream(input, owner).Run();
    return 0;
}
