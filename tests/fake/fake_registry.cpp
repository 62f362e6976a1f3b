// The fake's registry functions: handles opened by path with their access
// rights, failures on demand, and the exact-bytes rules of RegQueryValueExA.

#include "fake/fake_calls.h"

namespace platform {

using namespace calls;

namespace {

constexpr RegKey kHkeyClassesRoot = 0x80000000u;
constexpr RegKey kHkeyUsers = 0x80000003u;
constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kMaximumAllowed = 0x02000000;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kGenericWrite = 0x40000000;
constexpr std::uint32_t kGenericRead = 0x80000000;

struct KeyRef {
    bool valid = false;
    std::string spelled;  // for the log and for paths below it
    std::string key;      // Desktop::registry form
    std::uint32_t access = 0;
};

KeyRef Resolve(RegKey handle) {
    const std::pair<RegKey, const char*> roots[] = {{HKEY_LOCAL_MACHINE, "HKLM"},
                                                    {HKEY_CURRENT_USER, "HKCU"},
                                                    {kHkeyClassesRoot, "HKCR"},
                                                    {kHkeyUsers, "HKU"}};
    for (const auto& [root, name] : roots) {
        if (handle == root) return KeyRef{true, name, fake::KeyPathKey(name), kMaximumAllowed};
    }
    const auto open = D().openKeys.find(handle);
    if (open == D().openKeys.end()) return KeyRef{};
    // A handle a test put into openKeys itself has no details: full access.
    const auto info = D().openKeyInfo.find(handle);
    if (info == D().openKeyInfo.end()) return KeyRef{true, open->second, open->second, kMaximumAllowed};
    return KeyRef{true, info->second.spelledPath, open->second, info->second.access};
}

std::string KeyName(RegKey handle) {
    const KeyRef ref = Resolve(handle);
    return ref.valid ? Str(ref.spelled.c_str()) : Hex(handle);
}

std::string Below(const std::string& spelled, const char* subKey) {
    std::string sub = subKey ? subKey : "";
    while (!sub.empty() && sub.back() == '\\') sub.pop_back();
    return sub.empty() ? spelled : spelled + "\\" + sub;
}

bool Listed(const std::set<std::string>& paths, const std::string& key) {
    return std::any_of(paths.begin(), paths.end(),
                       [&](const std::string& path) { return fake::KeyPathKey(path) == key; });
}

// Any right beyond reading (KEY_READ) and MAXIMUM_ALLOWED, which grants what may be had.
bool AsksToWrite(std::uint32_t access) {
    constexpr std::uint32_t kReadRights = 0x00020019 | kGenericRead | kMaximumAllowed;
    return (access & ~kReadRights) != 0;
}

// Any right beyond reading and setting values (KEY_SET_VALUE, 0x2).
bool AsksBeyondValues(std::uint32_t access) {
    return AsksToWrite(access & ~0x2u);
}

bool Refused(const std::string& key, std::uint32_t access) {
    return Listed(D().denyOpen, key) || (Listed(D().readOnly, key) && AsksToWrite(access)) ||
           (Listed(D().valuesOnly, key) && AsksBeyondValues(access));
}

RegKey OpenHandle(const std::string& spelled, std::uint32_t access) {
    fake::Desktop& desktop = D();
    const RegKey handle = desktop.nextRegHandle++;
    desktop.openKeys[handle] = fake::KeyPathKey(spelled);
    desktop.openKeyInfo[handle] = fake::Desktop::OpenKeyInfo{spelled, access};
    return handle;
}

long OpenKey(RegKey root, const char* subKey, std::uint32_t access, RegKey* result) {
    if (!result) return kErrorInvalidParameter;
    *result = 0;
    const KeyRef parent = Resolve(root);
    if (!parent.valid) return kErrorInvalidHandle;
    const std::string spelled = Below(parent.spelled, subKey);
    const std::string key = fake::KeyPathKey(spelled);
    if (Refused(key, access)) return ERROR_ACCESS_DENIED;
    if (!D().KeyExists(key)) return ERROR_FILE_NOT_FOUND;
    *result = OpenHandle(spelled, access);
    return ERROR_SUCCESS;
}

bool Allows(std::uint32_t access, std::uint32_t specific, std::uint32_t generic) {
    return (access & (specific | generic | kGenericAll | kMaximumAllowed)) != 0;
}

}  // namespace

// --- Registry ------------------------------------------------------------------

long RegOpenKeyA(RegKey root, const char* subKey, RegKey* result) {
    Log("RegOpenKeyA", {KeyName(root), Str(subKey)});
    if (Failing("RegOpenKeyA", 5)) return ERROR_ACCESS_DENIED;
    // With no subkey RegOpenKeyA hands back the handle it was given.
    if (result && (!subKey || !*subKey) && Resolve(root).valid) {
        *result = root;
        return ERROR_SUCCESS;
    }
    return OpenKey(root, subKey, kMaximumAllowed, result);
}

long RegOpenKeyExA(RegKey root, const char* subKey, std::uint32_t options, std::uint32_t access,
                   RegKey* result) {
    Log("RegOpenKeyExA", {KeyName(root), Str(subKey), Hex(options), Hex(access)});
    if (Failing("RegOpenKeyExA", 5)) return ERROR_ACCESS_DENIED;
    return OpenKey(root, subKey, access, result);
}

long RegCreateKeyExA(RegKey root, const char* subKey, std::uint32_t /*reserved*/, char* /*className*/,
                     std::uint32_t options, std::uint32_t access, const void* /*security*/, RegKey* result,
                     std::uint32_t* disposition) {
    Log("RegCreateKeyExA", {KeyName(root), Str(subKey), Hex(options), Hex(access)});
    if (Failing("RegCreateKeyExA", 5)) return ERROR_ACCESS_DENIED;
    if (!result) return kErrorInvalidParameter;
    *result = 0;
    const KeyRef parent = Resolve(root);
    if (!parent.valid) return kErrorInvalidHandle;
    fake::Desktop& desktop = D();
    const std::string spelled = Below(parent.spelled, subKey);
    const std::string key = fake::KeyPathKey(spelled);
    const bool exists = desktop.KeyExists(key);
    // An existing key is opened with the same access check as RegOpenKeyExA.
    if (Listed(desktop.denyCreate, key) || (exists && Refused(key, access)))
        return ERROR_ACCESS_DENIED;
    if (!exists) desktop.CreateKey(key);
    if (disposition) *disposition = exists ? 2 /*REG_OPENED_EXISTING_KEY*/ : 1 /*REG_CREATED_NEW_KEY*/;
    *result = OpenHandle(spelled, access);
    return ERROR_SUCCESS;
}

long RegQueryValueExA(RegKey key, const char* valueName, std::uint32_t* reserved, std::uint32_t* type,
                      std::uint8_t* data, std::uint32_t* dataSize) {
    Log("RegQueryValueExA", {KeyName(key), Str(valueName), dataSize ? Dec(*dataSize) : "null"});
    if (Failing("RegQueryValueExA", 2)) return ERROR_FILE_NOT_FOUND;
    const KeyRef ref = Resolve(key);
    if (!ref.valid) return kErrorInvalidHandle;
    if (reserved || (data && !dataSize)) return kErrorInvalidParameter;
    if (!Allows(ref.access, kKeyQueryValue, kGenericRead)) return ERROR_ACCESS_DENIED;
    if (!D().KeyExists(ref.key)) return kErrorKeyDeleted;
    const auto value = D().GetValue(ref.key, valueName ? valueName : "");
    if (!value) return ERROR_FILE_NOT_FOUND;
    if (type) *type = value->type;
    const auto length = static_cast<std::uint32_t>(value->data.size());
    if (data && *dataSize < length) {
        *dataSize = length;
        return ERROR_MORE_DATA;
    }
    // Exactly the stored bytes: no NUL is added and the rest of the buffer
    // keeps what it held, so a string stored without its NUL reads as such.
    if (data) std::copy(value->data.begin(), value->data.end(), data);
    if (dataSize) *dataSize = length;
    return ERROR_SUCCESS;
}

long RegSetValueExA(RegKey key, const char* valueName, std::uint32_t /*reserved*/, std::uint32_t type,
                    const std::uint8_t* data, std::uint32_t dataSize) {
    Log("RegSetValueExA", {KeyName(key), Str(valueName), Hex(type), Dec(dataSize)});
    if (Failing("RegSetValueExA", 5)) return ERROR_ACCESS_DENIED;
    const KeyRef ref = Resolve(key);
    if (!ref.valid) return kErrorInvalidHandle;
    if (!data && dataSize) return kErrorInvalidParameter;
    if (Listed(D().denyWrite, ref.key) || !Allows(ref.access, kKeySetValue, kGenericWrite))
        return ERROR_ACCESS_DENIED;
    if (!D().KeyExists(ref.key)) return kErrorKeyDeleted;
    D().SetValue(ref.key, valueName ? valueName : "", type,
                 data ? std::vector<std::uint8_t>(data, data + dataSize) : std::vector<std::uint8_t>());
    return ERROR_SUCCESS;
}

long RegDeleteValueA(RegKey key, const char* valueName) {
    Log("RegDeleteValueA", {KeyName(key), Str(valueName)});
    if (Failing("RegDeleteValueA", 5)) return ERROR_ACCESS_DENIED;
    const KeyRef ref = Resolve(key);
    if (!ref.valid) return kErrorInvalidHandle;
    if (Listed(D().denyWrite, ref.key) || !Allows(ref.access, kKeySetValue, kGenericWrite))
        return ERROR_ACCESS_DENIED;
    return D().DeleteValue(ref.key, valueName ? valueName : "") ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

long RegFlushKey(RegKey key) {
    Log("RegFlushKey", {KeyName(key)});
    if (Failing("RegFlushKey", 5)) return ERROR_ACCESS_DENIED;
    return Resolve(key).valid ? ERROR_SUCCESS : kErrorInvalidHandle;
}

long RegCloseKey(RegKey key) {
    Log("RegCloseKey", {KeyName(key)});
    if (!Resolve(key).valid) return kErrorInvalidHandle;
    // Closing a predefined root succeeds and leaves it usable.
    D().openKeys.erase(key);
    D().openKeyInfo.erase(key);
    return ERROR_SUCCESS;
}

}  // namespace platform
