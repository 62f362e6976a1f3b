// Synthesised keyboard and mouse input, the pointer and the screen metrics.
#include <windows.h>

#include "platform/win32/handles.h"

namespace platform {

void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags, std::uintptr_t extraInfo) {
    ::keybd_event(virtualKey, scanCode, flags, extraInfo);
}

void mouse_event(std::uint32_t flags, std::uint32_t dx, std::uint32_t dy, std::uint32_t data,
                 std::uintptr_t extraInfo) {
    ::mouse_event(flags, dx, dy, data, extraInfo);
}

int GetCursorPos(Point* point) {
    POINT position = {};
    const BOOL result = ::GetCursorPos(&position);
    point->x = position.x;
    point->y = position.y;
    return result;
}

int SetCursorPos(int x, int y) { return ::SetCursorPos(x, y); }
LParam GetMessageExtraInfo() { return ::GetMessageExtraInfo(); }
int GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

FontHandle StockFontHandle(int index) { return FromWin(::GetStockObject(index)); }

std::int16_t GetKeyState(int virtualKey) { return ::GetKeyState(virtualKey); }

}  // namespace platform
