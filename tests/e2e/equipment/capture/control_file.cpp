// Parsing of the stand-in driver's command lines (grammar in tests/e2e/README.md).
#include "control_file.h"

#include <cstdlib>
#include <sstream>

namespace equipment {

bool Override::Take(unsigned long* out) {
  if (!active) return false;
  if (out) *out = value;
  if (remaining > 0 && --remaining == 0) active = false;
  return true;
}

ControlFile::~ControlFile() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

bool ControlFile::Open(const std::string& path) {
  file_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file_ != INVALID_HANDLE_VALUE;
}

void ControlFile::Poll(LineLog& log) {
  if (file_ == INVALID_HANDLE_VALUE) return;
  char buffer[4096];
  for (;;) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset_);
    if (!SetFilePointerEx(file_, at, nullptr, FILE_BEGIN)) return;
    DWORD got = 0;
    if (!ReadFile(file_, buffer, sizeof buffer, &got, nullptr) || got == 0) return;
    offset_ += got;
    pending_.append(buffer, got);
    size_t end;
    while ((end = pending_.find('\n')) != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) Apply(line, log);
    }
  }
}

namespace {

// "16", "0x10" and "-2147467259" all parse; HRESULTs are easiest in hex.
bool ParseNumber(const std::string& text, unsigned long* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  if (text[0] == '-') {
    *out = static_cast<unsigned long>(strtol(text.c_str(), &end, 0));
  } else {
    *out = strtoul(text.c_str(), &end, 0);
  }
  return end && *end == '\0';
}

}  // namespace

void ControlFile::Apply(const std::string& line, LineLog& log) {
  std::istringstream words(line);
  std::string command;
  words >> command;
  std::string first, second;
  words >> first >> second;
  unsigned long value = 0, count = 0;
  bool hasValue = ParseNumber(first, &value);
  bool hasCount = ParseNumber(second, &count);

  auto set = [&](Override& o, unsigned long neutral) {
    // The neutral value (S_OK, no delay) without a count switches the
    // override off, so that "status-hr 0" undoes "status-hr 0x80004005".
    o.active = !(value == neutral && !hasCount);
    o.value = value;
    o.remaining = hasCount ? static_cast<long>(count) : -1;
    if (hasCount && count == 0) o.active = false;
  };

  bool ok = true;
  if (command == "key" && hasValue && value <= 255) {
    keys.push_back(static_cast<unsigned char>(value));
    for (std::string more = second; !more.empty(); more.clear(), words >> more) {
      unsigned long code;
      if (!ParseNumber(more, &code) || code > 255) { ok = false; break; }
      keys.push_back(static_cast<unsigned char>(code));
    }
  } else if (command == "status-hr" && hasValue) {
    set(statusResult, S_OK);
  } else if (command == "status-byte" && hasValue && value <= 255) {
    statusByte.active = true;
    statusByte.value = value;
    statusByte.remaining = hasCount ? static_cast<long>(count) : -1;
    if (hasCount && count == 0) statusByte.active = false;
  } else if (command == "status-byte" && first == "auto") {
    statusByte.active = false;
  } else if (command == "transfer-hr" && hasValue) {
    set(transferResult, S_OK);
  } else if (command == "delay" && hasValue) {
    set(delayMs, 0);
  } else if (command == "garbage") {
    // "garbage" alone: until "garbage 0"; "garbage N": the next N requests.
    garbage.active = !(hasValue && value == 0);
    garbage.remaining = (hasValue && value > 0) ? static_cast<long>(value) : -1;
  } else if (command == "clear") {
    keys.clear();
  } else if (command == "mark") {
    // Lets a test or the demo cut the log into phases.
  } else {
    ok = false;
  }
  log.Line("control %s \"%s\"", ok ? "ok" : "bad", line.c_str());
}

}  // namespace equipment
