// Pointer emulation: with no TV application to take them, the numeric remote
// keys click, drag and move the mouse pointer, accelerating while a key is held.
#include "dispatch/pointer_emulation.h"

#include "adapters/bounded_text.h"
#include "adapters/remote_key_codes.h"
#include "adapters/synthetic_input.h"
#include "platform/win32_constants.h"

PointerState pointer;

namespace {

// Code 5 drives the primary button, so it honours swapped mouse buttons;
// plain clicks (codes 0 and 10) do not.
void ToggleButtonHold() {
    if (pointer.buttonHeld == 1) return ReleaseButtonHold();
    const bool swapped = platform::GetSystemMetrics(SM_SWAPBUTTON) != 0;
    platform::Point at{0, 0};
    platform::GetCursorPos(&at);
    pointer.buttonHeld = 1;
    pointer.heldButtonUp = swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendButtonEvent(swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, at);
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
    // Limits that start-up could not read (the screen metrics answered 0)
    // would refuse every move until the display changes: read them again.
    if (pointer.pointerRect.right <= 0 || pointer.pointerRect.bottom <= 0) InitPointerLimits();
    pointer.moveCount += 1;
    const std::int32_t step = PointerStep(pointer.moveCount, pointer.smallStep, pointer.largeStep);
    platform::Point at{0, 0};
    platform::GetCursorPos(&at);
    const std::int32_t x = at.x + directions[code].dx * step;
    const std::int32_t y = at.y + directions[code].dy * step;
    // A move that would leave the rectangle is refused as a whole, even along
    // an axis that would have stayed inside, and restarts the acceleration.
    if (pointer.pointerRect.left < x && x < pointer.pointerRect.right && pointer.pointerRect.top < y && y < pointer.pointerRect.bottom) {
        platform::SetCursorPos(x, y);
    } else {
        pointer.moveCount = 0;
    }
}

}  // namespace

void ReleaseButtonHold() {
    if (pointer.buttonHeld != 1) return;
    platform::Point at{0, 0};
    platform::GetCursorPos(&at);
    pointer.buttonHeld = 0;
    SendButtonEvent(pointer.heldButtonUp, at);
}

void RestartPointerAcceleration() {
    pointer.moveCount = 0;
}

void InitPointerLimits() {
    std::int32_t cy = platform::GetSystemMetrics(SM_CYFULLSCREEN);
    const std::int32_t cx = platform::GetSystemMetrics(SM_CXFULLSCREEN);
    // SM_CYFULLSCREEN leaves out a caption's height; an odd value gets the 19
    // pixels of a standard caption back, an even one is used as it is.
    if (cy % 2 != 0) cy += 19;
    pointer.pointerRect = PointerRect{0, 0, cx - 1, cy - 1};
    pointer.smallStep = cx / 160;
    pointer.largeStep = cx / 80;
}

void UpdatePointerLimits(platform::LParam lParam) {
    const std::uint32_t bits = static_cast<std::uint32_t>(lParam);
    const std::int32_t width = static_cast<std::int32_t>(bits & 0xFFFFu);
    const std::int32_t height = static_cast<std::int32_t>((bits >> 16) & 0xFFFFu);
    pointer.pointerRect = PointerRect{0, 0, width - 1, height - 1};
    pointer.smallStep = width / 160;
    pointer.largeStep = width / 80;
}

void DescribePointerCode(std::uint32_t code, char* text, std::size_t size) {
    const char* words = "";
    char move[32] = "move ";
    switch (code) {
        case leftClickCode: words = "left click"; break;
        case rightClickCode: words = "right click"; break;
        case buttonHoldCode: words = "hold or release the primary button"; break;
        default:
            if (code <= 9) {
                const Direction& d = directions[code];
                AppendText(move, sizeof move, d.dy < 0 ? "up" : (d.dy > 0 ? "down" : ""));
                if (d.dy != 0 && d.dx != 0) AppendText(move, sizeof move, "-");
                AppendText(move, sizeof move, d.dx < 0 ? "left" : (d.dx > 0 ? "right" : ""));
                words = move;
            }
            break;
    }
    CopyText(text, size, words);
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
