// The desktop shell's ShellExecute: Explorer's Shell.Application object,
// reached through the desktop window's shell view, starts what it is asked
// to from Explorer's own process and token.
#include "platform/win32/desktop_user_start.h"

#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlobj.h>
#include <shellapi.h>

#include <cstring>

namespace {

// Owns one interface pointer; the chain below is eight of them.
template <class Interface>
class Com {
public:
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (pointer) pointer->Release();
    }
    Interface* operator->() const { return pointer; }
    Interface** Out() { return &pointer; }
    void** OutVoid() { return reinterpret_cast<void**>(&pointer); }
    explicit operator bool() const { return pointer != nullptr; }

private:
    Interface* pointer = nullptr;
};

class Bstr {
public:
    explicit Bstr(const char* text) {
        wchar_t wide[MAX_PATH * 2];
        if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MAX_PATH * 2) > 0) value = SysAllocString(wide);
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(value); }
    BSTR value = nullptr;
};

// The shell's Shell.Application object, as its desktop view offers it.
bool DesktopShellDispatch(Com<IShellDispatch2>& shell) {
    Com<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                windows.OutVoid())))
        return false;
    VARIANT location = {};
    VARIANT root = {};
    long desktopWindow = 0;
    Com<IDispatch> desktop;
    Com<IServiceProvider> services;
    Com<IShellBrowser> browser;
    Com<IShellView> view;
    Com<IDispatch> background;
    Com<IShellFolderViewDual> folderView;
    Com<IDispatch> application;
    return windows->FindWindowSW(&location, &root, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH,
                                 desktop.Out()) == S_OK &&
           desktop && SUCCEEDED(desktop->QueryInterface(IID_IServiceProvider, services.OutVoid())) &&
           SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.OutVoid())) &&
           SUCCEEDED(browser->QueryActiveShellView(view.Out())) &&
           SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutVoid())) &&
           SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.OutVoid())) &&
           SUCCEEDED(folderView->get_Application(application.Out())) &&
           SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.OutVoid()));
}

bool OpenThroughDesktopShell(const char* file) {
    const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(apartment)) return false;
    bool opened = false;
    {
        Com<IShellDispatch2> shell;
        const Bstr path(file);
        if (path.value && DesktopShellDispatch(shell)) {
            VARIANT none = {};  // VT_EMPTY: no parameters, the shell's folder, "open", shown normally
            opened = SUCCEEDED(shell->ShellExecute(path.value, none, none, none, none));
        }
    }
    CoUninitialize();
    return opened;
}

}  // namespace

bool OpenAsDesktopUser(const char* file) {
    if (OpenThroughDesktopShell(file)) return true;
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", file, nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

char* OpenAsUserFile(char* commandLine) {
    static const char switchName[] = "/OPENASUSER";
    const size_t switchLength = sizeof switchName - 1;
    while (*commandLine == ' ') ++commandLine;
    // Shorter than the switch: not compared, as the comparison reads that many characters.
    if (std::strlen(commandLine) < switchLength) return nullptr;
    if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, commandLine, static_cast<int>(switchLength), switchName,
                       static_cast<int>(switchLength)) != CSTR_EQUAL ||
        (commandLine[switchLength] != ' ' && commandLine[switchLength] != '\0'))
        return nullptr;
    char* file = commandLine + switchLength;
    while (*file == ' ') ++file;
    if (*file == '"') {
        ++file;
        if (char* end = std::strchr(file, '"')) *end = '\0';
    } else {
        for (char* end = file + std::strlen(file); end > file && end[-1] == ' ';) *--end = '\0';
    }
    return *file ? file : nullptr;
}
