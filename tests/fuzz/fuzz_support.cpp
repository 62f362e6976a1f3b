// The fuzz targets' shared fixture and invariants.
#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "dispatch/pointer_emulation.h"
#include "fake/fresh_product.h"

namespace fuzz {

fake::Desktop& Desk() {
    return fake::Desktop::Get();
}

platform::WindowHandle FreshDesktop() {
    return fake::StartOnFreshDesktop();
}

void Violated(const char* invariant, const std::string& detail) {
    std::fprintf(stderr, "invariant broken: %s\n  %s\n", invariant, detail.c_str());
    std::fflush(stderr);
    std::abort();
}

std::vector<std::string> EntriesSince(std::size_t mark, const std::set<std::string>& names) {
    std::vector<std::string> entries;
    const std::vector<std::string>& log = Desk().log;
    for (std::size_t i = mark; i < log.size(); ++i) {
        const std::string& entry = log[i];
        if (names.count(entry.substr(0, entry.find('(')))) entries.push_back(entry);
    }
    return entries;
}

std::vector<std::string> Arguments(const std::string& entry) {
    std::vector<std::string> arguments;
    const std::size_t open = entry.find('(');
    std::string current;
    int depth = 0;
    bool quoted = false;
    for (std::size_t i = open + 1; i + 1 < entry.size(); ++i) {
        const char c = entry[i];
        if (c == '"' && (i == 0 || entry[i - 1] != '\\')) quoted = !quoted;
        if (!quoted && c == '{') ++depth;
        if (!quoted && c == '}') --depth;
        if (!quoted && depth == 0 && c == ',') {
            arguments.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    arguments.push_back(current);
    return arguments;
}

void CheckCursorPlacements(std::size_t mark) {
    for (const std::string& entry : EntriesSince(mark, {"SetCursorPos"})) {
        const std::vector<std::string> xy = Arguments(entry);
        const long x = std::strtol(xy.at(0).c_str(), nullptr, 10);
        const long y = std::strtol(xy.at(1).c_str(), nullptr, 10);
        FUZZ_CHECK(
            pointer.pointerRect.left < x && x < pointer.pointerRect.right && pointer.pointerRect.top < y && y < pointer.pointerRect.bottom,
            entry + " outside the pointer limits " + std::to_string(pointer.pointerRect.right) + "x" +
                std::to_string(pointer.pointerRect.bottom));
    }
}

void CheckNothingLeftDown() {
    const std::vector<std::uint8_t> down = Desk().KeysDown();
    std::string keys;
    for (const std::uint8_t key : down) keys += std::to_string(key) + " ";
    FUZZ_CHECK(down.empty(), "keys left down: " + keys);
}

void CheckNoHandlesOpen() {
    FUZZ_CHECK(Desk().openKeyCount() == 0,
               std::to_string(Desk().openKeyCount()) + " registry keys left open");
    FUZZ_CHECK(Desk().openTokens.empty(),
               std::to_string(Desk().openTokens.size()) + " token handles left open");
}

}  // namespace fuzz
