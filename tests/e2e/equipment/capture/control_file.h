// The stand-in driver's script: a text file that the test appends commands
// to while the utility runs. The driver reads only what was added since its
// last request (handle kept open, offset remembered), so a request costs tens
// of microseconds, not the few hundred that reopening the file would.
#pragma once

#include <windows.h>

#include <deque>
#include <string>

#include "../common/line_log.h"

namespace equipment {

// A behaviour that holds for the next `remaining` requests of its kind, or
// until replaced when `remaining` is negative.
struct Override {
  bool active = false;
  unsigned long value = 0;
  long remaining = -1;

  // Returns whether the override applies to this request, and counts it.
  bool Take(unsigned long* out);
};

class ControlFile {
 public:
  ~ControlFile();
  bool Open(const std::string& path);

  // Applies every complete line appended since the last call; a line still
  // being written (no LF yet) waits for the next call.
  void Poll(LineLog& log);

  std::deque<unsigned char> keys;  // codes waiting, oldest first
  Override statusResult;           // HRESULT for status requests
  Override statusByte;             // status byte instead of the real one
  Override transferResult;         // HRESULT for transfer requests
  Override delayMs;                // sleep before answering any request
  Override garbage;                // S_OK with junk bytes (value unused)

 private:
  void Apply(const std::string& line, LineLog& log);

  HANDLE file_ = INVALID_HANDLE_VALUE;
  unsigned long long offset_ = 0;
  std::string pending_;
};

}  // namespace equipment
