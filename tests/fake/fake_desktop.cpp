// The fake desktop's own state: windows in Z order, the registry, the clock
// and its timers, and the log queries. The platform functions that act on it
// are in fake_platform.cpp and its siblings.
#include "fake/fake_desktop.h"

#include <algorithm>

#include "fake/fake_text.h"
#include "platform/win32_constants.h"

namespace fake {

namespace {

// Windows raises every shorter period to USER_TIMER_MINIMUM; without it a
// period of 0 would keep Advance firing at one instant forever.
constexpr std::uint32_t kUserTimerMinimum = 10;
constexpr std::uint32_t kUserTimerMaximum = 0x7FFFFFFF;

std::uint32_t EffectivePeriod(std::uint32_t periodMs) {
    return std::clamp(periodMs, kUserTimerMinimum, kUserTimerMaximum);
}

bool IsRootPath(const std::string& key) {
    return key == "hklm" || key == "hkcu" || key == "hkcr" || key == "hku";
}

std::string FunctionName(const std::string& entry) {
    return entry.substr(0, entry.find('('));
}

// How long until the timer is due, negative when overdue (after a Sleep). The
// clock wraps at 2^32 like GetTickCount, so due times compare by difference.
std::int64_t DueIn(const TimerState& timer, std::uint32_t now) {
    return static_cast<std::int32_t>(timer.nextDue - now);
}

}  // namespace

std::string W(WindowHandle window) {
    return window == 0 ? "0x0" : "w" + std::to_string(window);
}

Desktop& Desktop::Get() {
    // Never destroyed: the program's static objects (timer slots) may still
    // call platform functions while the process exits.
    static Desktop* const desktop = [] {
        auto* created = new Desktop();
        created->Reset();
        return created;
    }();
    return *desktop;
}

void Desktop::Reset() {
    *this = Desktop();
    desktopWindow = NewHandle();
    SetScreen(1024, 768);
}

// --- Windows -------------------------------------------------------------

WindowHandle Desktop::AddWindow(const std::string& title, const std::string& className) {
    const WindowHandle handle = NewHandle();
    Window& window = windows[handle];
    window.handle = handle;
    window.title = title;
    window.className = className;
    zOrder.insert(zOrder.begin(), handle);
    return handle;
}

WindowHandle Desktop::AddOwnWindow(const std::string& title, platform::WindowProc procedure,
                                   const std::string& className) {
    const WindowHandle handle = AddWindow(title, className);
    windows[handle].procedure = procedure;
    windows[handle].own = true;
    return handle;
}

void Desktop::RemoveWindow(WindowHandle window) {
    windows.erase(window);
    zOrder.erase(std::remove(zOrder.begin(), zOrder.end(), window), zOrder.end());
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [window](const TimerState& timer) { return timer.window == window; }),
                 timers.end());
    if (foreground == window) foreground = 0;
    if (active == window) active = 0;
}

Window* Desktop::Find(WindowHandle window) {
    const auto found = windows.find(window);
    return found == windows.end() ? nullptr : &found->second;
}

std::vector<WindowHandle> Desktop::ZOrder() const {
    return zOrder;
}

// --- Registry --------------------------------------------------------------

void Desktop::SetValue(const std::string& keyPath, const std::string& name, std::uint32_t type,
                       std::vector<std::uint8_t> data) {
    CreateKey(keyPath);
    registry[KeyPathKey(keyPath)][Lower(name)] = RegistryValue{type, std::move(data)};
}

void Desktop::SetDword(const std::string& keyPath, const std::string& name, std::uint32_t value) {
    SetValue(keyPath, name, REG_DWORD,
             {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
              static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void Desktop::SetString(const std::string& keyPath, const std::string& name, const std::string& text,
                        bool withNul) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    if (withNul) data.push_back(0);
    SetValue(keyPath, name, REG_SZ, std::move(data));
}

void Desktop::CreateKey(const std::string& keyPath) {
    const std::string key = KeyPathKey(keyPath);
    for (std::size_t end = key.find('\\'); end != std::string::npos; end = key.find('\\', end + 1)) {
        registry[key.substr(0, end)];
    }
    registry[key];
}

void Desktop::DeleteKey(const std::string& keyPath) {
    const std::string key = KeyPathKey(keyPath);
    const std::string below = key + "\\";
    for (auto entry = registry.begin(); entry != registry.end();) {
        const bool doomed = entry->first == key || entry->first.compare(0, below.size(), below) == 0;
        entry = doomed ? registry.erase(entry) : std::next(entry);
    }
}

bool Desktop::KeyExists(const std::string& keyPath) const {
    const std::string key = KeyPathKey(keyPath);
    return IsRootPath(key) || registry.count(key) != 0;
}

std::optional<RegistryValue> Desktop::GetValue(const std::string& keyPath, const std::string& name) const {
    const auto key = registry.find(KeyPathKey(keyPath));
    if (key == registry.end()) return std::nullopt;
    const auto value = key->second.find(Lower(name));
    if (value == key->second.end()) return std::nullopt;
    return value->second;
}

bool Desktop::DeleteValue(const std::string& keyPath, const std::string& name) {
    const auto key = registry.find(KeyPathKey(keyPath));
    return key != registry.end() && key->second.erase(Lower(name)) > 0;
}

std::optional<std::uint32_t> Desktop::GetDword(const std::string& keyPath, const std::string& name) const {
    // A DWORD written as another type or size is a fault to show, not to read over.
    const auto value = GetValue(keyPath, name);
    if (!value || value->type != REG_DWORD || value->data.size() != 4) return std::nullopt;
    const auto& d = value->data;
    return static_cast<std::uint32_t>(d[0] | d[1] << 8 | d[2] << 16 | static_cast<std::uint32_t>(d[3]) << 24);
}

int Desktop::openKeyCount() const {
    return static_cast<int>(openKeys.size());
}

// --- Screen --------------------------------------------------------------------

void Desktop::SetScreen(int width, int height) {
    screenWidth = width;
    screenHeight = height;
    metrics[SM_CXSCREEN] = width;
    metrics[SM_CYSCREEN] = height;
    metrics[SM_CXFULLSCREEN] = width;
    metrics[SM_CYFULLSCREEN] = height;
}

// --- Clock and timers --------------------------------------------------------

void Desktop::Advance(std::uint32_t milliseconds) {
    // Callbacks may set, kill or replace timers, Sleep, or advance the clock
    // themselves, so every step looks the timers up afresh and measures the
    // time already gone from the clock rather than from a local count.
    const std::uint32_t start = tickCount;
    for (;;) {
        const std::uint32_t elapsed = tickCount - start;
        if (elapsed >= milliseconds) break;
        const std::uint32_t remaining = milliseconds - elapsed;
        TimerState* next = nullptr;
        for (TimerState& timer : timers) {
            if (!next || DueIn(timer, tickCount) < DueIn(*next, tickCount)) next = &timer;
        }
        if (!next || DueIn(*next, tickCount) > static_cast<std::int64_t>(remaining)) break;
        tickCount += static_cast<std::uint32_t>(std::max<std::int64_t>(DueIn(*next, tickCount), 0));
        // Rescheduled from now before the call, so that a SetTimer inside it wins.
        next->nextDue = tickCount + EffectivePeriod(next->periodMs);
        FireTimer(next->window, next->id);
    }
    if (tickCount - start < milliseconds) tickCount = start + milliseconds;
}

void Desktop::PlaceTimer(WindowHandle window, std::uintptr_t id, std::uint32_t periodMs,
                         platform::TimerProc procedure) {
    const auto same = [&](const TimerState& timer) { return timer.window == window && timer.id == id; };
    auto found = std::find_if(timers.begin(), timers.end(), same);
    TimerState* timer = found == timers.end() ? nullptr : &*found;
    if (!timer) {
        timers.push_back(TimerState{window, id, 0, nullptr, 0});
        timer = &timers.back();
    }
    timer->periodMs = periodMs;
    timer->procedure = procedure;
    timer->nextDue = tickCount + EffectivePeriod(periodMs);
}

bool Desktop::FireTimer(WindowHandle window, std::uintptr_t id) {
    const TimerState* timer = Timer(window, id);
    if (!timer) return false;
    if (timer->procedure) {
        timer->procedure(window, WM_TIMER, id, tickCount);
        return true;
    }
    // No timer procedure: the WM_TIMER goes to the window's own procedure.
    if (const Window* owner = Find(window)) {
        if (owner->procedure) {
            owner->procedure(window, WM_TIMER, id, 0);
        } else if (owner->dialogProcedure) {
            owner->dialogProcedure(window, WM_TIMER, id, 0);
        }
    }
    return true;
}

bool Desktop::TimerSet(WindowHandle window, std::uintptr_t id) const {
    return Timer(window, id) != nullptr;
}

const TimerState* Desktop::Timer(WindowHandle window, std::uintptr_t id) const {
    for (const TimerState& timer : timers) {
        if (timer.window == window && timer.id == id) return &timer;
    }
    return nullptr;
}

// --- Registered messages and the shell -------------------------------------------

std::uint32_t Desktop::RegisteredMessage(const std::string& name) {
    // Numbers above those of the class atoms the fake hands out, as both come
    // from one atom table on Windows.
    constexpr std::uint32_t kFirstRegisteredMessage = 0xC100;
    const auto inserted = registeredMessages.emplace(
        Lower(name), kFirstRegisteredMessage + static_cast<std::uint32_t>(registeredMessages.size()));
    return inserted.first->second;
}

void Desktop::RestartShell() {
    trayIcons.clear();
    const std::uint32_t taskbarCreated = RegisteredMessage("TaskbarCreated");
    for (const WindowHandle handle : ZOrder()) {
        const Window* window = Find(handle);
        if (window && window->procedure) window->procedure(handle, taskbarCreated, 0, 0);
    }
}

// --- The log -------------------------------------------------------------------

std::vector<std::string> Desktop::Log(const std::set<std::string>& names) const {
    std::vector<std::string> entries;
    for (const std::string& entry : log) {
        if (names.count(FunctionName(entry))) entries.push_back(entry);
    }
    return entries;
}

std::vector<std::uint8_t> Desktop::KeysDown() const {
    std::vector<std::uint8_t> down;
    for (int vk = 0; vk < 256; ++vk) {
        if (keyDown[static_cast<std::size_t>(vk)]) down.push_back(static_cast<std::uint8_t>(vk));
    }
    return down;
}

std::vector<std::string> Desktop::Actions() const {
    return Log({"keybd_event", "mouse_event", "SetCursorPos", "SetForegroundWindow", "SetActiveWindow",
                "BringWindowToTop", "ShowWindow", "SetWindowPos", "PostMessageA", "SendMessageA",
                "ShellExecuteA", "MessageBoxA"});
}

}  // namespace fake
