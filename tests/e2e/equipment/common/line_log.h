// One log line per event, written out at once, stamped with the wall clock.
// The harness on the Linux side reads these files while the equipment runs
// and compares the stamps with its own clock (Wine's system time is the
// host's), so every line must be complete on disk before the next event.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

namespace equipment {

// Seconds since 1970 with microseconds, the same scale as Python's time.time().
inline double WallClockSeconds() {
  FILETIME ft;
  GetSystemTimePreciseAsFileTime(&ft);
  ULARGE_INTEGER t;
  t.LowPart = ft.dwLowDateTime;
  t.HighPart = ft.dwHighDateTime;
  const unsigned long long kUnixEpochIn100ns = 116444736000000000ULL;
  return static_cast<double>(t.QuadPart - kUnixEpochIn100ns) / 1e7;
}

class LineLog {
 public:
  LineLog() = default;
  LineLog(const LineLog&) = delete;
  LineLog& operator=(const LineLog&) = delete;
  ~LineLog() { Close(); }

  // Appends, so that several processes (or two driver instances) may share a
  // file; each line goes out in one WriteFile, which keeps lines whole.
  bool Open(const std::string& path) {
    Close();
    file_ = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file_ != INVALID_HANDLE_VALUE;
  }

  void Close() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
  }

  bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }

  // Writes "t=<seconds> <text>\n".
  void Line(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    if (!IsOpen()) return;
    char body[1536];
    va_list args;
    va_start(args, format);
    vsnprintf(body, sizeof body, format, args);
    va_end(args);
    char line[1600];
    int n = snprintf(line, sizeof line, "t=%.6f %s\n", WallClockSeconds(), body);
    if (n < 0) return;
    if (n >= static_cast<int>(sizeof line)) n = sizeof line - 1;
    DWORD written = 0;
    // WriteFile is unbuffered under Wine (one write(2)), so the line is
    // visible to the reader at once; FlushFileBuffers would add an fsync.
    WriteFile(file_, line, static_cast<DWORD>(n), &written, nullptr);
  }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

inline std::string Hex(const void* data, size_t length) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < length; ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 15];
  }
  return out.empty() ? std::string("-") : out;
}

}  // namespace equipment
