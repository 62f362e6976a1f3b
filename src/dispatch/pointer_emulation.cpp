// Pointer emulation: with no TV application to take them, the numeric remote
// keys click, drag and move the mouse pointer, accelerating while a key is held.
#include "dispatch/pointer_emulation.h"

#include "dispatch/remote_key_codes.h"
#include "platform/win32_constants.h"

PointerRect pointerRect;
std::int32_t smallStep;
std::int32_t largeStep;
std::int32_t moveCount;
std::int32_t buttonHeld;

namespace {

// The buttons act where the pointer already is: no move or absolute flag, and
// the extra info is fetched anew right before every event.
void SendButtonEvent(std::uint32_t flags, const platform::Point& at) {
    const platform::LParam extraInfo = platform::GetMessageExtraInfo();
    platform::mouse_event(flags, static_cast<std::uint32_t>(at.x), static_cast<std::uint32_t>(at.y), 0,
                          static_cast<std::uintptr_t>(extraInfo));
}

// Code 5 drives the primary button, so it honours swapped mouse buttons;
// plain clicks (codes 0 and 10) do not.
void ToggleButtonHold() {
    const bool swapped = platform::GetSystemMetrics(SM_SWAPBUTTON) != 0;
    platform::Point at{0, 0};
    platform::GetCursorPos(&at);
    if (buttonHeld == 1) {
        buttonHeld = 0;
        SendButtonEvent(swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, at);
    } else {
        buttonHeld = 1;
        SendButtonEvent(swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, at);
    }
}

// Direction of each move code, screen y growing downward.
struct Direction {
    std::int32_t dx;
    std::int32_t dy;
};
constexpr Direction directions[10] = {
    {0, 0},  {-1, -1}, {0, -1}, {1, -1},  //
    {-1, 0}, {0, 0},   {1, 0},            //
    {-1, 1}, {0, 1},   {1, 1},
};

// Codes 1 to 4 and 6 to 9, laid out as a keypad around code 5.
void MovePointer(std::uint32_t code) {
    if (code > 9 || code == leftClickCode || code == buttonHoldCode) return;
    moveCount += 1;
    const std::int32_t step = PointerStep(moveCount, smallStep, largeStep);
    platform::Point at{0, 0};
    platform::GetCursorPos(&at);
    const std::int32_t x = at.x + directions[code].dx * step;
    const std::int32_t y = at.y + directions[code].dy * step;
    // A move that would leave the rectangle is refused as a whole, even along
    // an axis that would have stayed inside, and restarts the acceleration.
    if (pointerRect.left < x && x < pointerRect.right && pointerRect.top < y && y < pointerRect.bottom) {
        platform::SetCursorPos(x, y);
    } else {
        moveCount = 0;
    }
}

}  // namespace

void ClickAtPointer(std::uint32_t downFlag, std::uint32_t upFlag) {
    platform::Point at{0, 0};
    platform::GetCursorPos(&at);
    SendButtonEvent(downFlag, at);
    SendButtonEvent(upFlag, at);
}

void InitPointerLimits() {
    std::int32_t cy = platform::GetSystemMetrics(SM_CYFULLSCREEN);
    const std::int32_t cx = platform::GetSystemMetrics(SM_CXFULLSCREEN);
    // SM_CYFULLSCREEN leaves out a caption's height; an odd value gets the 19
    // pixels of a standard caption back, an even one is used as it is.
    if (cy % 2 != 0) cy += 19;
    pointerRect = PointerRect{0, 0, cx - 1, cy - 1};
    smallStep = cx / 160;
    largeStep = cx / 80;
}

void UpdatePointerLimits(platform::LParam lParam) {
    const std::uint32_t bits = static_cast<std::uint32_t>(lParam);
    const std::int32_t width = static_cast<std::int32_t>(bits & 0xFFFFu);
    const std::int32_t height = static_cast<std::int32_t>((bits >> 16) & 0xFFFFu);
    pointerRect = PointerRect{0, 0, width - 1, height - 1};
    smallStep = width / 160;
    largeStep = width / 80;
}

void EmulatePointer(std::uint32_t code) {
    switch (code) {
        case leftClickCode:
            ClickAtPointer(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
            break;
        case buttonHoldCode:
            ToggleButtonHold();
            break;
        case rightClickCode:
            ClickAtPointer(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
            break;
        case 1:
        case 2:
        case 3:
        case 4:
        case 6:
        case 7:
        case 8:
        case 9:
            MovePointer(code);
            break;
        default:
            break;
    }
}
