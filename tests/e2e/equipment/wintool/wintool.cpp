// The tests' hands inside Wine: find, list, post to and activate windows,
// and read or press message boxes. One console process per command, its
// answer on stdout; exit code 0 = done, 1 = no such window, 2 = bad usage.
//   wintool noop
//   wintool list
//   wintool find <class|*> <title|*>
//   wintool post <class|*> <title|*> <message> <wParam> <lParam>
//   wintool foreground <class|*> <title|*>   (and waits up to 2 s until it is)
//   wintool getforeground
//   wintool dialog <caption>              (controls of a dialog, e.g. a message box)
//   wintool press <caption> <button text> (clicks a button of that dialog)
//   wintool cursor [<x> <y>]              (SetCursorPos when given; prints GetCursorPos)
//   wintool swapbuttons <0|1>             (SwapMouseButton; prints SM_SWAPBUTTON after it)
//   wintool metrics                       (the screen metrics pointer emulation reads)
//   wintool rect <class|*> <title|*>       (window rectangle and whether it is topmost)
//   wintool resize <class|*> <title|*> <width> <height>  (as a user drags its frame)
//   wintool keydacl <HKLM subkey>         (the key's DACL as SDDL, in this tool's registry view)
//   wintool setkeydacl <HKLM subkey> <SDDL>  (replaces the key's DACL, as an administrator might)
//   wintool clipboard                     (the clipboard's text, as it is)
//   wintool combo <caption> <id>          (a dialog's combo box: count, selection, entries)
//   wintool select <caption> <id> <index> (CB_SETCURSEL on that combo box)
//   wintool menu                          (the tracked popup menu: window, handle, what can be read)
//   wintool menukey <vk>...               (posts WM_KEYDOWN of each key to the tracked menu's window)
//   wintool children <class|*> <title|*>  (the child windows of a top-level window)
//   wintool listbox <class|*> <title|*>   (the entries of the first list box of a top-level window)
//   wintool postchild <class|*> <title|*> <child class> <message> <wParam> <lParam>
//                                         (posts to the first child of that class)
//   wintool chord <vk>...                 (keybd_event: the keys down in order, then up in reverse)
//   wintool posthandle <hwnd> <message> <wParam> <lParam>
//   wintool broadcast <name>              (RegisterWindowMessageA, then posted to HWND_BROADCAST,
//                                          as a restarted shell sends "TaskbarCreated")
//   wintool trayicons                     (the icon windows on Wine's tray, one line each)
//   wintool process <exe name>           (pid, parent's exe name, GetGuiResources USER/GDI, private bytes, handles and
//                                          windows of the first process of that name)
//   wintool modifiers                     (GetAsyncKeyState of the modifier keys, down ones listed)
//   wintool forgeticon <class|*> <title|*> <id>
//                                         (NIM_DELETE of that window's icon, as if the shell had
//                                          lost it)
#include <windows.h>
#include <shellapi.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <sddl.h>

#include <utility>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// C-style escapes so that line feeds and trailing blanks survive stdout.
std::string Quote(const char* text) {
  std::string out = "\"";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    switch (*p) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default:
        if (*p < 0x20 || *p >= 0x7F) {
          char hex[8];
          snprintf(hex, sizeof hex, "\\x%02x", *p);
          out += hex;
        } else {
          out += static_cast<char>(*p);
        }
    }
  }
  return out + "\"";
}

const char* OrNull(const char* text) { return strcmp(text, "*") == 0 ? nullptr : text; }

unsigned long Number(const char* text) {
  return text[0] == '-' ? static_cast<unsigned long>(strtol(text, nullptr, 0)) : strtoul(text, nullptr, 0);
}

void Describe(const char* label, HWND window) {
  char title[512] = "", cls[256] = "";
  GetWindowTextA(window, title, sizeof title);
  GetClassNameA(window, cls, sizeof cls);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  printf("%s hwnd=0x%lx pid=%lu visible=%d iconic=%d class=%s title=%s\n", label,
         static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)), pid, IsWindowVisible(window) ? 1 : 0,
         IsIconic(window) ? 1 : 0, Quote(cls).c_str(), Quote(title).c_str());
}

HWND Find(const char* cls, const char* title) {
  return FindWindowExA(nullptr, nullptr, OrNull(cls), OrNull(title));
}

int List() {
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) Describe("window", w);
  return 0;
}

BOOL CALLBACK DescribeControl(HWND control, LPARAM) {
  Describe(("control id=" + std::to_string(GetDlgCtrlID(control))).c_str(), control);
  return TRUE;
}

struct ButtonSearch {
  const char* text;
  HWND found;
};

BOOL CALLBACK FindButton(HWND control, LPARAM param) {
  ButtonSearch* search = reinterpret_cast<ButtonSearch*>(param);
  char cls[64] = "", text[256] = "";
  GetClassNameA(control, cls, sizeof cls);
  GetWindowTextA(control, text, sizeof text);
  // Match with or without the mnemonic ampersand ("&Yes" or "Yes").
  std::string plain;
  for (const char* p = text; *p; ++p)
    if (*p != '&') plain += *p;
  if (lstrcmpiA(cls, "Button") == 0 && (strcmp(text, search->text) == 0 || plain == search->text)) {
    search->found = control;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK DescribeTrayIcon(HWND child, LPARAM count) {
  char cls[64] = "";
  GetClassNameA(child, cls, sizeof cls);
  if (strcmp(cls, "__winex11_tray_icon") == 0) {
    Describe("trayicon", child);
    ++*reinterpret_cast<int*>(count);
  }
  return TRUE;
}

// Wine without a virtual desktop shows each icon as a child window of its
// stand-alone tray window; a hidden child is an icon that was deleted.
int TrayIcons() {
  int count = 0;
  for (HWND tray = FindWindowExA(nullptr, nullptr, "__winex11_standalone_tray", nullptr); tray;
       tray = FindWindowExA(nullptr, tray, "__winex11_standalone_tray", nullptr)) {
    Describe("tray", tray);
    EnumChildWindows(tray, DescribeTrayIcon, reinterpret_cast<LPARAM>(&count));
  }
  printf("trayicons=%d\n", count);
  return 0;
}

BOOL CALLBACK CountOwnWindows(HWND window, LPARAM param) {
  auto* counted = reinterpret_cast<std::pair<DWORD, int>*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == counted->first) {
    ++counted->second;
    EnumChildWindows(window, CountOwnWindows, param);
  }
  return TRUE;
}

int Process(const char* name) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  DWORD pid = 0;
  DWORD parentPid = 0;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (pid == 0 && lstrcmpiA(entry.szExeFile, name) == 0) {
      pid = entry.th32ProcessID;
      parentPid = entry.th32ParentProcessID;
    }
  }
  char parent[MAX_PATH] = "-";
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (pid != 0 && entry.th32ProcessID == parentPid) lstrcpynA(parent, entry.szExeFile, MAX_PATH);
  }
  CloseHandle(snapshot);
  if (pid == 0) return 1;
  const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return 1;
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  DWORD handles = 0;
  GetProcessHandleCount(process, &handles);
  std::pair<DWORD, int> windows{pid, 0};
  EnumWindows(CountOwnWindows, reinterpret_cast<LPARAM>(&windows));
  printf("process pid=%lu parent=%s user=%lu gdi=%lu private=%lu workingset=%lu handles=%lu windows=%d\n", pid, parent,
         GetGuiResources(process, GR_USEROBJECTS), GetGuiResources(process, GR_GDIOBJECTS),
         static_cast<unsigned long>(memory.PrivateUsage), static_cast<unsigned long>(memory.WorkingSetSize),
         handles, windows.second);
  CloseHandle(process);
  return 0;
}

int Modifiers() {
  const int keys[] = {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LSHIFT, VK_RSHIFT, VK_LCONTROL,
                      VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN};
  printf("down=");
  for (const int key : keys)
    if (GetAsyncKeyState(key) & 0x8000) printf("0x%02x,", key);
  printf("\n");
  return 0;
}

HWND DialogItem(const char* caption, const char* id) {
  HWND dialog = Find("#32770", caption);
  return dialog ? GetDlgItem(dialog, static_cast<int>(Number(id))) : nullptr;
}

int Combo(HWND combo) {
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  printf("combo count=%ld selection=%ld\n", static_cast<long>(count),
         static_cast<long>(SendMessageW(combo, CB_GETCURSEL, 0, 0)));
  for (LRESULT i = 0; i < count; ++i) {
    // The A form garbles the text across processes in Wine; the W form does not.
    wchar_t wide[256] = L"";
    char text[512] = "";
    if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) < 255) SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    printf("entry index=%ld title=%s\n", static_cast<long>(i), Quote(text).c_str());
  }
  return 0;
}

int ListBox(HWND list) {
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  printf("listbox count=%ld\n", static_cast<long>(count));
  for (LRESULT i = 0; i < count; ++i) {
    // Across processes only the W form arrives intact (as for combo boxes).
    wchar_t wide[512] = L"";
    char text[1024] = "";
    if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < 511) SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    printf("entry index=%ld title=%s\n", static_cast<long>(i), Quote(text).c_str());
  }
  return 0;
}

// The popup menu window of a tracked menu; MN_GETHMENU answers its menu.
int Menu() {
  HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr);
  while (w && !IsWindowVisible(w)) w = FindWindowExA(nullptr, w, "#32768", nullptr);
  if (!w) return 1;
  RECT r = {};
  GetWindowRect(w, &r);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageA(w, MN_GETHMENU, 0, 0));
  const int count = menu ? GetMenuItemCount(menu) : -1;
  printf("menu hwnd=0x%lx hmenu=0x%lx count=%d left=%ld top=%ld right=%ld bottom=%ld\n",
         static_cast<unsigned long>(reinterpret_cast<uintptr_t>(w)),
         static_cast<unsigned long>(reinterpret_cast<uintptr_t>(menu)), count, r.left, r.top, r.right, r.bottom);
  for (int i = 0; i < count; ++i) {
    char text[256] = "";
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    printf("item index=%d id=%u state=0x%x title=%s\n", i, GetMenuItemID(menu, i),
           GetMenuState(menu, i, MF_BYPOSITION), Quote(text).c_str());
  }
  return 0;
}

struct ChildSearch {
  const char* cls;
  HWND found;
};

BOOL CALLBACK FindChildOfClass(HWND child, LPARAM param) {
  ChildSearch* search = reinterpret_cast<ChildSearch*>(param);
  char cls[256] = "";
  GetClassNameA(child, cls, sizeof cls);
  if (strcmp(cls, search->cls) != 0) return TRUE;
  search->found = child;
  return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::string command = argv[1];
  int rc = 2;
  if (command == "noop") {
    rc = 0;
  } else if (command == "list" && argc == 2) {
    rc = List();
  } else if ((command == "find" || command == "foreground") && argc == 4) {
    HWND w = Find(argv[2], argv[3]);
    if (w && command == "foreground") {
      printf("result=%d\n", SetForegroundWindow(w) ? 1 : 0);
      // The switch completes asynchronously: report when it has (or not).
      int waited = 0;
      for (; GetForegroundWindow() != w && waited < 2000; waited += 5) Sleep(5);
      printf("foreground=%d\n", GetForegroundWindow() == w ? 1 : 0);
    }
    if (w) Describe("window", w);
    rc = w ? 0 : 1;
  } else if (command == "getforeground" && argc == 2) {
    HWND w = GetForegroundWindow();
    if (w) Describe("window", w);
    rc = w ? 0 : 1;
  } else if (command == "post" && argc == 7) {
    HWND w = Find(argv[2], argv[3]);
    if (w) {
      BOOL ok = PostMessageA(w, static_cast<UINT>(Number(argv[4])), static_cast<WPARAM>(Number(argv[5])),
                             static_cast<LPARAM>(Number(argv[6])));
      printf("posted=%d\n", ok ? 1 : 0);
      Describe("window", w);
    }
    rc = w ? 0 : 1;
  } else if (command == "dialog" && argc == 3) {
    HWND w = Find("#32770", argv[2]);
    if (w) {
      Describe("window", w);
      EnumChildWindows(w, DescribeControl, 0);
    }
    rc = w ? 0 : 1;
  } else if (command == "press" && argc == 4) {
    HWND w = Find("#32770", argv[2]);
    ButtonSearch search = {argv[3], nullptr};
    if (w) EnumChildWindows(w, FindButton, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      // What a click on the button makes it send to its dialog.
      PostMessageA(w, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(search.found), BN_CLICKED),
                   reinterpret_cast<LPARAM>(search.found));
      Describe("pressed", search.found);
    }
    rc = search.found ? 0 : 1;
  } else if (command == "cursor" && (argc == 2 || argc == 4)) {
    if (argc == 4) SetCursorPos(static_cast<int>(Number(argv[2])), static_cast<int>(Number(argv[3])));
    POINT at = {};
    GetCursorPos(&at);
    printf("cursor x=%ld y=%ld\n", at.x, at.y);
    rc = 0;
  } else if (command == "metrics" && argc == 2) {
    printf("metrics cxscreen=%d cyscreen=%d cxfullscreen=%d cyfullscreen=%d swapbutton=%d\n",
           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CXFULLSCREEN),
           GetSystemMetrics(SM_CYFULLSCREEN), GetSystemMetrics(SM_SWAPBUTTON));
    rc = 0;
  } else if (command == "rect" && argc == 4) {
    HWND w = Find(argv[2], argv[3]);
    if (w) {
      RECT r = {};
      GetWindowRect(w, &r);
      printf("rect left=%ld top=%ld right=%ld bottom=%ld topmost=%d\n", r.left, r.top, r.right, r.bottom,
             (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
    }
    rc = w ? 0 : 1;
  } else if (command == "resize" && argc == 6) {
    HWND w = Find(argv[2], argv[3]);
    if (w) SetWindowPos(w, nullptr, 0, 0, atoi(argv[4]), atoi(argv[5]), SWP_NOMOVE | SWP_NOZORDER);
    rc = w ? 0 : 1;
  } else if (command == "clipboard" && argc == 2) {
    rc = 1;
    if (OpenClipboard(nullptr)) {
      const HANDLE data = GetClipboardData(CF_TEXT);
      const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
      if (text) {
        fputs(text, stdout);
        GlobalUnlock(data);
        rc = 0;
      }
      CloseClipboard();
    }
  } else if (command == "keydacl" && argc == 3) {
    HKEY key = nullptr;
    rc = 1;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, argv[2], 0, READ_CONTROL, &key) == ERROR_SUCCESS) {
      BYTE descriptor[4096];
      DWORD size = sizeof descriptor;
      char* sddl = nullptr;
      if (RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor, &size) == ERROR_SUCCESS &&
          ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1,
                                                               DACL_SECURITY_INFORMATION, &sddl, nullptr)) {
        printf("dacl %s\n", sddl);
        LocalFree(sddl);
        rc = 0;
      }
      RegCloseKey(key);
    }
  } else if (command == "setkeydacl" && argc == 4) {
    HKEY key = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    rc = 1;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA(argv[3], SDDL_REVISION_1, &descriptor, nullptr)) {
      if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, argv[2], 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
        if (RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS) rc = 0;
        RegCloseKey(key);
      }
      LocalFree(descriptor);
    }
  } else if (command == "combo" && argc == 4) {
    HWND combo = DialogItem(argv[2], argv[3]);
    rc = combo ? Combo(combo) : 1;
  } else if (command == "select" && argc == 5) {
    HWND combo = DialogItem(argv[2], argv[3]);
    if (combo) printf("selected=%ld\n", static_cast<long>(SendMessageW(combo, CB_SETCURSEL, Number(argv[4]), 0)));
    rc = combo ? 0 : 1;
  } else if (command == "menu" && argc == 2) {
    rc = Menu();
  } else if (command == "menukey" && argc >= 3) {
    HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr);
    while (w && !IsWindowVisible(w)) w = FindWindowExA(nullptr, w, "#32768", nullptr);
    for (int i = 2; w && i < argc; ++i) PostMessageA(w, WM_KEYDOWN, Number(argv[i]), 1);
    rc = w ? 0 : 1;
  } else if (command == "children" && argc == 4) {
    HWND w = Find(argv[2], argv[3]);
    if (w) EnumChildWindows(w, DescribeControl, 0);
    rc = w ? 0 : 1;
  } else if (command == "listbox" && argc == 4) {
    HWND w = Find(argv[2], argv[3]);
    ChildSearch search = {"ListBox", nullptr};
    if (w) EnumChildWindows(w, FindChildOfClass, reinterpret_cast<LPARAM>(&search));
    rc = search.found ? ListBox(search.found) : 1;
  } else if (command == "postchild" && argc == 8) {
    HWND w = Find(argv[2], argv[3]);
    ChildSearch search = {argv[4], nullptr};
    if (w) EnumChildWindows(w, FindChildOfClass, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      PostMessageA(search.found, static_cast<UINT>(Number(argv[5])), static_cast<WPARAM>(Number(argv[6])),
                   static_cast<LPARAM>(Number(argv[7])));
      Describe("posted", search.found);
    }
    rc = search.found ? 0 : 1;
  } else if (command == "chord" && argc >= 3) {
    for (int i = 2; i < argc; ++i) keybd_event(static_cast<BYTE>(Number(argv[i])), 0, 0, 0);
    for (int i = argc - 1; i >= 2; --i) keybd_event(static_cast<BYTE>(Number(argv[i])), 0, KEYEVENTF_KEYUP, 0);
    rc = 0;
  } else if (command == "swapbuttons" && argc == 3) {
    const BOOL before = SwapMouseButton(Number(argv[2]) != 0);
    printf("swapped before=%d now=%d\n", before ? 1 : 0, GetSystemMetrics(SM_SWAPBUTTON) ? 1 : 0);
    rc = 0;
  } else if (command == "posthandle" && argc == 6) {
    HWND w = reinterpret_cast<HWND>(static_cast<uintptr_t>(Number(argv[2])));
    const BOOL ok = IsWindow(w) && PostMessageA(w, static_cast<UINT>(Number(argv[3])),
                                                static_cast<WPARAM>(Number(argv[4])),
                                                static_cast<LPARAM>(Number(argv[5])));
    printf("posted=%d\n", ok ? 1 : 0);
    rc = ok ? 0 : 1;
  } else if (command == "broadcast" && argc == 3) {
    const UINT message = RegisterWindowMessageA(argv[2]);
    const BOOL ok = message != 0 && PostMessageA(HWND_BROADCAST, message, 0, 0);
    printf("message=0x%x posted=%d\n", message, ok ? 1 : 0);
    rc = ok ? 0 : 1;
  } else if (command == "process" && argc == 3) {
    rc = Process(argv[2]);
  } else if (command == "modifiers" && argc == 2) {
    rc = Modifiers();
  } else if (command == "trayicons" && argc == 2) {
    rc = TrayIcons();
  } else if (command == "forgeticon" && argc == 5) {
    HWND w = Find(argv[2], argv[3]);
    if (w) {
      NOTIFYICONDATAA icon = {};
      icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
      icon.hWnd = w;
      icon.uID = static_cast<UINT>(Number(argv[4]));
      printf("deleted=%d\n", Shell_NotifyIconA(NIM_DELETE, &icon) ? 1 : 0);
    }
    rc = w ? 0 : 1;
  }
  fflush(stdout);
  return rc;
}
