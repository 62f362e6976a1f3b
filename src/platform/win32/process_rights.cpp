// What Windows lets one program do to another: integrity levels, and whether
// a 32-bit program runs on 64-bit Windows. Both date from after Windows XP,
// so the calls are looked up when needed and answer 0 where they are missing.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/handles.h"
#include "platform/win32/later_calls.h"

namespace {

// The integrity level's RID (0x2000 medium, 0x3000 high) of a token, or -1
// where the token cannot be asked (no integrity levels before Vista).
long IntegrityOf(HANDLE token) {
    DWORD size = 0;
    GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
    if (size == 0 || size > 256) return -1;
    alignas(TOKEN_MANDATORY_LABEL) BYTE buffer[256];
    if (!GetTokenInformation(token, TokenIntegrityLevel, buffer, size, &size)) return -1;
    const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
    const UCHAR count = *GetSidSubAuthorityCount(sid);
    return count == 0 ? -1 : static_cast<long>(*GetSidSubAuthority(sid, count - 1));
}

long IntegrityOfProcess(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return -1;
    const long level = IntegrityOf(token);
    CloseHandle(token);
    return level;
}

}  // namespace

namespace platform {

int RunsWithMoreRights(WindowHandle window) {
    const long own = IntegrityOfProcess(GetCurrentProcess());
    if (own < 0) return 0;
    DWORD processId = 0;
    GetWindowThreadProcessId(ToHwnd(window), &processId);
    constexpr DWORD queryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION, Vista and later
    const HANDLE process = ::OpenProcess(queryLimitedInformation, FALSE, processId);
    if (process == nullptr) return 0;
    const long other = IntegrityOfProcess(process);
    ::CloseHandle(process);
    // A token this program may not even read belongs to a higher level.
    return other < 0 || other > own ? 1 : 0;
}

int RunsOn64BitWindows() {
    using IsWow64 = BOOL(WINAPI*)(HANDLE, BOOL*);
    const auto isWow64 = LaterCall<IsWow64>("kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    if (isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64) return 1;
    // The test twin is itself a 64-bit program.
    return sizeof(void*) == 8 ? 1 : 0;
}

}  // namespace platform
