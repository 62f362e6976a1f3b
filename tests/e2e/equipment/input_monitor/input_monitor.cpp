// Records the input the utility injects, in order: low-level keyboard and
// mouse hooks for injected events, plus GetCursorPos sampling, because a
// SetCursorPos over an empty part of the screen produces no hook event.
// When the sampler itself was held up long enough to miss a position (the
// utility moves at most once per 65 ms tick), it says so with a `stall`
// line, so that a test can tell a gap of its own from a fault of the utility.
//   input_monitor --log <file>
#include <windows.h>

#include <string>

#include "../common/line_log.h"

namespace {

equipment::LineLog logFile;
CRITICAL_SECTION logLock;

void Locked(const std::string& text) {
  EnterCriticalSection(&logLock);
  logFile.Line("%s", text.c_str());
  LeaveCriticalSection(&logLock);
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const KBDLLHOOKSTRUCT* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    // The foreground window as the key arrives: the window it is going to,
    // or none in the instant of a foreground switch, when Wine drops it.
    char line[200];
    snprintf(line, sizeof line, "key msg=0x%x vk=0x%02lx scan=0x%02lx flags=0x%02lx up=%d fg=0x%lx",
             static_cast<UINT>(wParam), k->vkCode, k->scanCode, k->flags, (k->flags & LLKHF_UP) ? 1 : 0,
             static_cast<unsigned long>(reinterpret_cast<uintptr_t>(GetForegroundWindow())));
    Locked(line);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const MSLLHOOKSTRUCT* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    char line[160];
    snprintf(line, sizeof line, "mouse msg=0x%x x=%ld y=%ld data=0x%lx flags=0x%lx", static_cast<UINT>(wParam),
             m->pt.x, m->pt.y, m->mouseData, m->flags);
    Locked(line);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Well below one poll tick: two moves can only fall into one gap this long.
constexpr double kStallSeconds = 0.030;

DWORD WINAPI SampleCursor(void*) {
  POINT last = {-100000, -100000};
  double previous = equipment::WallClockSeconds();
  for (;;) {
    POINT now;
    const double sampledAt = equipment::WallClockSeconds();
    if (sampledAt - previous > kStallSeconds) {
      char line[64];
      snprintf(line, sizeof line, "stall ms=%.0f", (sampledAt - previous) * 1000);
      Locked(line);
    }
    previous = sampledAt;
    if (GetCursorPos(&now) && (now.x != last.x || now.y != last.y)) {
      char line[64];
      snprintf(line, sizeof line, "cursor x=%ld y=%ld", now.x, now.y);
      Locked(line);
      last = now;
    }
    Sleep(2);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc != 3 || std::string(__argv[1]) != "--log" || !logFile.Open(__argv[2])) return 2;
  InitializeCriticalSection(&logLock);
  HHOOK keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHook, instance, 0);
  HHOOK mouse = SetWindowsHookExA(WH_MOUSE_LL, MouseHook, instance, 0);
  if (!keyboard || !mouse) return 3;
  CreateThread(nullptr, 0, SampleCursor, nullptr, 0, nullptr);
  Locked("ready pid=" + std::to_string(GetCurrentProcessId()));
  // Low-level hooks are called through this thread's message loop.
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
