// Pointer mode as the user meets it, observed rather than restated: each code
// is read by the real dispatcher on the fake desktop with no application
// running, and the grid is drawn from what the pointer and its buttons did.
#include <map>
#include <vector>

#include "adapters/remote_key_codes.h"
#include "dispatch/key_dispatcher.h"
#include "dispatch/pointer_emulation.h"
#include "fake/fake_desktop.h"
#include "fake/fresh_product.h"
#include "guide_parts.h"
#include "platform/win32_constants.h"

namespace {

constexpr std::uint32_t leftDown = 0x2, leftUp = 0x4, rightDown = 0x8, rightUp = 0x10;

struct Seen {
    int dx = 0;
    int dy = 0;
    std::vector<std::uint32_t> buttons;  // mouse_event flags, in order
};

// The program started afresh, with the pointer in the middle of a screen of
// the given width.
class Probe {
  public:
    Probe(int width, int height) : desk(fake::Desktop::Get()), owner(fake::StartOnFreshDesktop()) {
        desk.SetScreen(width, height);
        UpdatePointerLimits(static_cast<platform::LParam>(width | (height << 16)));
        desk.cursor = {width / 2, height / 2};
    }
    // One poll tick that reads code, afterMs after the previous one: a fresh
    // press when that is 250 ms or more, else a repeat of a held key.
    Seen Read(std::uint8_t code, std::uint32_t afterMs) {
        const platform::Point before = desk.cursor;
        desk.ClearLog();
        desk.tickCount += afterMs;
        desk.keyQueue.push_back(code);
        DispatchKey(owner, WM_TIMER, 1, desk.tickCount);
        Seen seen;
        seen.dx = desk.cursor.x - before.x;
        seen.dy = desk.cursor.y - before.y;
        for (const std::string& entry : desk.Log({"mouse_event"}))
            seen.buttons.push_back(
                static_cast<std::uint32_t>(std::stoul(entry.substr(entry.find('(') + 1), nullptr, 16)));
        return seen;
    }

  private:
    fake::Desktop& desk;
    platform::WindowHandle owner;
};

int Sign(int value) {
    return (value > 0) - (value < 0);
}

const char* const arrows[3][3] = {{"↖ up-left", "↑ up", "↗ up-right"},
                                  {"← left", "", "→ right"},
                                  {"↙ down-left", "↓ down", "↘ down-right"}};

// "1 pixel at a time for the first 4 moves, then ..." from the steps of one
// held key on a screen of the given width; the last step lasts.
std::string Acceleration(const std::vector<int>& steps, int width) {
    std::string text;
    std::size_t start = 0;
    while (start < steps.size()) {
        std::size_t end = start;
        while (end < steps.size() && steps[end] == steps[start]) ++end;
        const int step = steps[start];
        std::string size = step == 1 ? "1 pixel" : std::to_string(step) + " pixels";
        if (step > 1 && width % step == 0)
            size = "1/" + std::to_string(width / step) + " of the screen width";
        text += start == 0 ? size + " at a time" : ", then " + size;
        if (end != steps.size())
            text +=
                (start == 0 ? " for the first " : " for the next ") + std::to_string(end - start) + " moves";
        start = end;
    }
    return text;
}

}  // namespace

std::string PointerGrid(std::string& error) {
    constexpr int width = 1600, height = 1200;
    std::string grid[3][3];
    std::map<int, std::string> clicks;
    int downCode = -1;
    for (int code = 0; code <= 255; ++code) {
        // The dispatcher's own keys never reach pointer mode.
        if (code == powerCode || code == ignoredCode || code == shutDownCode ||
            code == quartzviewShutDownCode)
            continue;
        Probe probe(width, height);
        const Seen seen = probe.Read(static_cast<std::uint8_t>(code), 1000);
        if (seen.dx == 0 && seen.dy == 0 && seen.buttons.empty()) continue;
        if (seen.dx != 0 || seen.dy != 0) {
            std::string& cell = grid[Sign(seen.dy) + 1][Sign(seen.dx) + 1];
            if (!seen.buttons.empty() || !cell.empty()) {
                error =
                    "code " + std::to_string(code) + " moves the pointer where the grid has no place for it";
                return "";
            }
            cell = CodeName(code) + ": " + arrows[Sign(seen.dy) + 1][Sign(seen.dx) + 1];
            if (seen.dx == 0 && seen.dy > 0) downCode = code;
        } else if (seen.buttons == std::vector<std::uint32_t>{leftDown, leftUp}) {
            clicks[code] = "left click";
        } else if (seen.buttons == std::vector<std::uint32_t>{rightDown, rightUp}) {
            clicks[code] = "right click";
        } else if (seen.buttons == std::vector<std::uint32_t>{leftDown} &&
                   probe.Read(static_cast<std::uint8_t>(code), 1000).buttons ==
                       std::vector<std::uint32_t>{leftUp}) {
            if (!grid[1][1].empty()) {
                error = "two codes hold the button";
                return "";
            }
            grid[1][1] = CodeName(code) + ": presses the button and keeps it down; pressed again, lets it go";
        } else {
            error =
                "code " + std::to_string(code) + " does something with the buttons that the grid cannot say";
            return "";
        }
    }
    if (downCode < 0) {
        error = "no code moves the pointer straight down";
        return "";
    }
    Probe held(width, height);
    std::vector<int> steps;
    for (int read = 0; read < 14; ++read)
        steps.push_back(held.Read(static_cast<std::uint8_t>(downCode), read == 0 ? 1000 : 65).dy);

    const char* const rows[3] = {"**up**", "**middle**", "**down**"};
    std::string text = "|  | left | middle | right |\n| --- | --- | --- | --- |\n";
    for (int row = 0; row < 3; ++row) {
        text += std::string("| ") + rows[row] + " |";
        for (int column = 0; column < 3; ++column) text += " " + grid[row][column] + " |";
        text += "\n";
    }
    text += "\n";
    for (const auto& [code, words] : clicks)
        text += "- Code " + CodeName(code) + ": " + words + " where the pointer is.\n";
    text += "\nA held move key moves the pointer " + Acceleration(steps, width) + ".\n";
    return text;
}
