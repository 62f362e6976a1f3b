// Text helpers shared by the fake desktop's model and its platform functions:
// Windows compares window titles, class names, registry paths and file names
// without regard to ASCII case, and the log writes numbers one way everywhere.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace fake {

inline std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

inline bool EqualNoCase(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}

// The form under which Desktop::registry stores a key path: lower case,
// roots abbreviated ("HKEY_LOCAL_MACHINE" is "hklm"), no trailing backslash.
inline std::string KeyPathKey(const std::string& path) {
    std::string key = Lower(path);
    const std::pair<const char*, const char*> roots[] = {{"hkey_local_machine", "hklm"},
                                                         {"hkey_current_user", "hkcu"},
                                                         {"hkey_classes_root", "hkcr"},
                                                         {"hkey_users", "hku"}};
    for (const auto& [longName, shortName] : roots) {
        const std::string prefix = longName;
        if (key.compare(0, prefix.size(), prefix) == 0 &&
            (key.size() == prefix.size() || key[prefix.size()] == '\\')) {
            key = shortName + key.substr(prefix.size());
        }
    }
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
}

// "0x1A" style, upper-case digits, "0x0" for zero.
inline std::string Hex(std::uint64_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return "0x" + text;
}

// WPARAM, LPARAM, ULONG_PTR and HRESULT-like values are 32 bits wide on the
// target, so the log shows them as the 32-bit program would pass them.
inline std::string Hex32(std::uint64_t value) {
    return Hex(value & 0xFFFFFFFFu);
}

inline std::string Dec(long long value) {
    return std::to_string(value);
}

// A string argument in double quotes (no escaping), or null.
inline std::string Str(const char* text) {
    return text ? "\"" + std::string(text) + "\"" : "null";
}

}  // namespace fake
