// A stand-in TV application: top-level windows with the titles and classes
// the utility looks for, logging what reaches them the way the real
// application would see it.
//   tv_window --log <file> [--stay] [--message <n>]... --window <class> <title> [--window ...]
// Started by the utility through the shell (as an installed TV application,
// copied under the application's executable name), it gets only the shell's
// parameters; its options then come from "<its own path>.args", one per line,
// and the parameters it was given are logged on a "launched" line.
// Logged: key and char messages, WM_CLOSE, every message >= WM_USER, and
// the private numbers given with --message (the ones below WM_USER some
// applications use), with wParam/lParam in hex and whether the window was
// foreground. Without --stay the process ends on the first WM_CLOSE.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "../common/line_log.h"

namespace {

equipment::LineLog logFile;
std::set<UINT> extraMessages;
bool stayOnClose = false;

const char* NameOf(UINT message) {
  switch (message) {
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_CHAR: return "WM_CHAR";
    case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP: return "WM_SYSKEYUP";
    case WM_SYSCHAR: return "WM_SYSCHAR";
    case WM_CLOSE: return "WM_CLOSE";
    case WM_COMMAND: return "WM_COMMAND";
    case WM_APPCOMMAND: return "WM_APPCOMMAND";
    default: return nullptr;
  }
}

bool Logged(UINT message) {
  return NameOf(message) != nullptr || message >= WM_USER || extraMessages.count(message) != 0;
}

void LogMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const char* name = NameOf(message);
  std::string label = name ? name : std::to_string(message);
  char title[256] = "";
  GetWindowTextA(window, title, sizeof title);
  logFile.Line("msg hwnd=0x%lx title=\"%s\" name=%s msg=0x%x wp=0x%lx lp=0x%lx fg=%d",
               static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)), title, label.c_str(), message,
               static_cast<unsigned long>(wParam), static_cast<unsigned long>(lParam),
               GetForegroundWindow() == window ? 1 : 0);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Logged(message)) LogMessage(window, message, wParam, lParam);
  // F10, or Alt pressed alone, would put the window into menu mode, where
  // the keys after it go to the menu instead: a real application keeps them.
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU) return 0;
  if (message == WM_CLOSE) {
    if (!stayOnClose) PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The options of a stand-in installed under an application's name, or none.
std::vector<std::string> InstalledOptions() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::ifstream file(std::string(path) + ".args");
  std::vector<std::string> options;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    options.push_back(line);
  }
  return options;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  std::vector<std::pair<std::string, std::string>> windows;
  std::string logPath;
  std::vector<std::string> options = InstalledOptions();
  const bool launched = !options.empty();
  if (!launched) options.assign(__argv + 1, __argv + __argc);
  const int count = static_cast<int>(options.size());
  for (int i = 0; i < count; ++i) {
    const std::string& arg = options[i];
    if (arg == "--log" && i + 1 < count) {
      logPath = options[++i];
    } else if (arg == "--stay") {
      stayOnClose = true;
    } else if (arg == "--message" && i + 1 < count) {
      extraMessages.insert(static_cast<UINT>(strtoul(options[++i].c_str(), nullptr, 0)));
    } else if (arg == "--window" && i + 2 < count) {
      windows.emplace_back(options[i + 1], options[i + 2]);
      i += 2;
    } else {
      return 2;
    }
  }
  if (logPath.empty() || windows.empty() || !logFile.Open(logPath)) return 2;
  if (launched) logFile.Line("launched args=\"%s\"", commandLine);

  std::set<std::string> registered;
  for (const auto& w : windows) {
    if (!registered.insert(w.first).second) continue;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = w.first.c_str();
    RegisterClassA(&wc);
  }
  for (const auto& w : windows) {
    HWND window = CreateWindowExA(0, w.first.c_str(), w.second.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 320, 240,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 3;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    logFile.Line("window hwnd=0x%lx class=\"%s\" title=\"%s\"",
                 static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)), w.first.c_str(),
                 w.second.c_str());
  }
  logFile.Line("ready pid=%lu", GetCurrentProcessId());

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    // As a real application does: WM_CHAR follows a posted WM_KEYDOWN.
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  logFile.Line("exit");
  return 0;
}
