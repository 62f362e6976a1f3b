// The receiver as Remote Check shows it: the video-capture devices present,
// the one Remote Control would use, and whether its driver answers.
#pragma once

#include <cstddef>

constexpr std::size_t receiverReportSize = 1024;

// Writes the report into text. openReceiver: also open the receiver (which
// Remote Check may do only while Remote Control is not running) and ask its
// driver for the status. Returns true when codes can be read.
bool ReportReceiver(bool openReceiver, char* text, std::size_t size);
