// Synthesised keystrokes and mouse-button events.
#include "adapters/synthetic_input.h"

#include "platform/win32_constants.h"

namespace {

constexpr std::uint32_t keyDownFlags = KEYEVENTF_EXTENDEDKEY;
constexpr std::uint32_t keyUpFlags = KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP;

}  // namespace

void SendChord(const std::uint8_t* keys) {
    int count = 0;
    while (count < maxChordKeys && keys[count] != 0) ++count;
    for (int i = 0; i < count; ++i) platform::keybd_event(keys[i], 0, keyDownFlags, 0);
    for (int i = count - 1; i >= 0; --i) platform::keybd_event(keys[i], 0, keyUpFlags, 0);
}

void SendButtonEvent(std::uint32_t flags, const platform::Point& at) {
    const platform::LParam extraInfo = platform::GetMessageExtraInfo();
    platform::mouse_event(flags, static_cast<std::uint32_t>(at.x), static_cast<std::uint32_t>(at.y), 0,
                          static_cast<std::uintptr_t>(extraInfo));
}

void ClickAtPointer(std::uint32_t downFlag, std::uint32_t upFlag) {
    platform::Point at{0, 0};
    platform::GetCursorPos(&at);
    SendButtonEvent(downFlag, at);
    SendButtonEvent(upFlag, at);
}
