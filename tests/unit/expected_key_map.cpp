// Reading the expected key-map tables, and writing one line out as the calls
// the fake desktop logs.
#include "expected_key_map.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

// How many numbers each action takes; chord takes 2 to 4.
int NumberCount(const std::string& token) {
    static const std::map<std::string, int> counts = {
        {"fg", 0},    {"top", 0},    {"key", 1},    {"chord", -1}, {"down", 2},  {"post", 3},
        {"pause", 1}, {"lookup", 0}, {"toggle", 0}, {"move", 2},   {"click", 0}, {"step", 0},
    };
    const auto found = counts.find(token);
    return found == counts.end() ? -2 : found->second;
}

bool IsNumber(const std::string& text) {
    if (text.empty()) return false;
    std::size_t end = 0;
    try {
        std::stoll(text, &end, 0);
    } catch (...) {
        return false;
    }
    return end == text.size();
}

std::string QuotedRest(std::istringstream& line) {
    std::string rest;
    std::getline(line, rest);
    const std::size_t first = rest.find('"');
    const std::size_t last = rest.rfind('"');
    return first == std::string::npos || last == first ? std::string()
                                                       : rest.substr(first + 1, last - first - 1);
}

std::vector<ExpectedAction> ReadActions(std::istringstream& line, const std::string& where) {
    std::vector<std::string> tokens;
    for (std::string token; line >> token;) tokens.push_back(token);
    std::vector<ExpectedAction> actions;
    for (std::size_t i = 0; i < tokens.size();) {
        ExpectedAction action{tokens[i++], {}};
        const int count = NumberCount(action.token);
        if (count == -2) {
            ADD_FAILURE() << where << ": unknown action " << action.token;
            return actions;
        }
        while (i < tokens.size() && IsNumber(tokens[i]) &&
               (count < 0 || static_cast<int>(action.numbers.size()) < count)) {
            action.numbers.push_back(std::stoll(tokens[i++], nullptr, 0));
        }
        const int got = static_cast<int>(action.numbers.size());
        if (count >= 0 ? got != count : (got < 2 || got > 4)) {
            ADD_FAILURE() << where << ": " << action.token << " takes " << (count < 0 ? 2 : count)
                          << " numbers";
        }
        actions.push_back(action);
    }
    return actions;
}

}  // namespace

ExpectedKeyMap ReadExpectedKeyMap(const std::string& name) {
    ExpectedKeyMap map;
    map.file = std::string(ALDER_KEY_MAPS_DIR) + "/" + name + ".keys";
    std::ifstream file(map.file);
    if (!file) ADD_FAILURE() << "cannot read " << map.file;
    int number = 0;
    for (std::string text; std::getline(file, text);) {
        ++number;
        const std::string where = map.file + ":" + std::to_string(number);
        if (const std::size_t hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream line(text);
        std::string first;
        if (!(line >> first)) continue;
        if (first == "app") {
            line >> map.appId;
        } else if (first == "window") {
            std::string kind;
            line >> kind;
            map.byClass = kind == "class";
            map.windowText = QuotedRest(line);
        } else if (first == "lookup") {
            line >> map.lookup;
        } else if (IsNumber(first)) {
            const int code = static_cast<int>(std::stoll(first, nullptr, 0));
            if (map.codes.count(code) != 0) ADD_FAILURE() << where << ": code " << code << " twice";
            map.codes[code] = ReadActions(line, where);
        } else {
            ADD_FAILURE() << where << ": cannot read \"" << text << "\"";
        }
    }
    return map;
}

bool SkipsLookup(const ExpectedKeyMap& keyMap, int code) {
    const auto found = keyMap.codes.find(code);
    if (found == keyMap.codes.end()) return false;
    for (const ExpectedAction& action : found->second) {
        if (action.token == "click" || action.token == "step") return true;
    }
    return false;
}

Calls ExpectedCalls(const ExpectedKeyMap& keyMap, int code, const ExpectedContext& context) {
    using namespace expect;
    const auto found = keyMap.codes.find(code);
    if (found == keyMap.codes.end()) return {};
    Calls calls;
    if (!SkipsLookup(keyMap, code)) {
        const std::string text = "\"" + keyMap.windowText + "\"";
        if (keyMap.lookup == "walk") {
            calls.push_back("GetWindow(" + fake::W(context.desktop) + ",0x5)");
        } else if (keyMap.lookup == "FindWindowA") {
            calls.push_back("FindWindowA(" + (keyMap.byClass ? text + ",null" : "null," + text) + ")");
        } else {
            calls.push_back("FindWindowExA(" + fake::W(context.desktop) + ",0x0," +
                            (keyMap.byClass ? text + ",null" : "null," + text) + ")");
        }
    }
    const platform::WindowHandle w = context.window;
    for (const ExpectedAction& action : found->second) {
        const std::vector<std::int64_t>& n = action.numbers;
        const std::string& token = action.token;
        if (token == "pause") {
            calls = calls + Pause(static_cast<std::uint32_t>(n[0]));
        } else if (token == "click") {
            const std::string at = std::to_string(context.cursor.x) + "," + std::to_string(context.cursor.y);
            const std::string extra = fake::Hex32(static_cast<std::uint64_t>(context.extraInfo));
            calls = calls + Calls{"GetCursorPos()", "mouse_event(0x2," + at + ",0x0," + extra + ")",
                                  "mouse_event(0x4," + at + ",0x0," + extra + ")"};
        } else if (w == 0 || token == "step" || token == "lookup") {
            continue;  // everything else needs the window found
        } else if (token == "fg") {
            calls = calls + Activate(w);
        } else if (token == "top") {
            calls = calls + ActivateTop(w);
        } else if (token == "key") {
            calls = calls + Key(static_cast<std::uint8_t>(n[0]));
        } else if (token == "chord") {
            Calls downs, ups;
            for (const std::int64_t vk : n) downs.push_back(KeyDown(static_cast<std::uint8_t>(vk)));
            for (auto vk = n.rbegin(); vk != n.rend(); ++vk)
                ups.push_back(KeyUp(static_cast<std::uint8_t>(*vk)));
            calls = calls + downs + ups;
        } else if (token == "down") {
            calls = calls + PostedKey(w, static_cast<std::uint8_t>(n[0]), static_cast<std::uint64_t>(n[1]));
        } else if (token == "post") {
            calls = calls + Posted(w, static_cast<std::uint32_t>(n[0]), static_cast<std::uint64_t>(n[1]),
                                   static_cast<std::uint64_t>(n[2]));
        } else if (token == "toggle") {
            calls = calls + Calls{"IsIconic(" + fake::W(w) + ")",
                                  "ShowWindow(" + fake::W(w) + "," + (context.iconic ? "9" : "6") + ")"};
        } else if (token == "move") {
            const std::int64_t scale = context.pointerStep / 10;
            calls.push_back("mouse_event(0x1," + std::to_string(n[0] * scale) + "," +
                            std::to_string(n[1] * scale) + ",0x0,0x0)");
        }
    }
    return calls;
}
