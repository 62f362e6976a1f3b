// Registry access over ADVAPI32, ANSI forms throughout.
#include <windows.h>

#include "platform/win32/handles.h"

namespace platform {

long RegOpenKeyA(RegKey root, const char* subKey, RegKey* result) {
    HKEY key = nullptr;
    const LONG status = ::RegOpenKeyA(ToWin<HKEY>(root), subKey, &key);
    *result = FromWin(key);
    return status;
}

long RegOpenKeyExA(RegKey root, const char* subKey, std::uint32_t options, std::uint32_t access, RegKey* result) {
    HKEY key = nullptr;
    const LONG status = ::RegOpenKeyExA(ToWin<HKEY>(root), subKey, options, access, &key);
    *result = FromWin(key);
    return status;
}

long RegCreateKeyExA(RegKey root, const char* subKey, std::uint32_t reserved, char* className,
                     std::uint32_t options, std::uint32_t access, const void* security, RegKey* result,
                     std::uint32_t* disposition) {
    HKEY key = nullptr;
    DWORD created = 0;
    const LONG status =
        ::RegCreateKeyExA(ToWin<HKEY>(root), subKey, reserved, className, options, access,
                          static_cast<LPSECURITY_ATTRIBUTES>(const_cast<void*>(security)), &key, &created);
    *result = FromWin(key);
    if (disposition != nullptr) *disposition = created;
    return status;
}

long RegQueryValueExA(RegKey key, const char* valueName, std::uint32_t* reserved, std::uint32_t* type,
                      std::uint8_t* data, std::uint32_t* dataSize) {
    static_assert(sizeof(DWORD) == sizeof(std::uint32_t), "DWORD is 32 bits");
    return ::RegQueryValueExA(ToWin<HKEY>(key), valueName, reinterpret_cast<LPDWORD>(reserved),
                              reinterpret_cast<LPDWORD>(type), data, reinterpret_cast<LPDWORD>(dataSize));
}

long RegSetValueExA(RegKey key, const char* valueName, std::uint32_t reserved, std::uint32_t type,
                    const std::uint8_t* data, std::uint32_t dataSize) {
    return ::RegSetValueExA(ToWin<HKEY>(key), valueName, reserved, type, data, dataSize);
}

long RegDeleteValueA(RegKey key, const char* valueName) { return ::RegDeleteValueA(ToWin<HKEY>(key), valueName); }

long RegFlushKey(RegKey key) { return ::RegFlushKey(ToWin<HKEY>(key)); }
long RegCloseKey(RegKey key) { return ::RegCloseKey(ToWin<HKEY>(key)); }

}  // namespace platform
