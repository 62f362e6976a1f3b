// The same search as Remote Control's start-up (the four FriendlyNames in
// their order, compared exactly), told in words.
#include "remote_check/receiver_report.h"

#include <cstring>

#include "adapters/bounded_text.h"
#include "platform/platform.h"
#include "receiver/capture_filter_names.h"
#include "receiver/receiver_access.h"
#include "receiver/receiver_requests.h"

namespace {

constexpr int maxListed = 12;

const char* UsedName(const char (*names)[platform::captureDeviceNameSize], int count) {
    for (int n = 0; n < captureFilterNameCount; ++n) {
        for (int i = 0; i < count; ++i) {
            if (std::strcmp(names[i], captureFilterNames[n]) == 0) return captureFilterNames[n];
        }
    }
    return nullptr;
}

}  // namespace

bool ReportReceiver(bool openReceiver, char* text, std::size_t size) {
    char names[maxListed][platform::captureDeviceNameSize];
    const int count = platform::ListCaptureDeviceNames(names, maxListed);
    const int listed = count < maxListed ? count : maxListed;
    CopyText(text, size, "");
    if (count < 0) {
        AppendText(text, size, "The video-capture devices cannot be listed: DirectShow is not available.");
        return false;
    }
    if (count == 0) {
        AppendText(text, size, "No video-capture device is present.");
    } else {
        AppendText(text, size, "Video-capture devices:");
        for (int i = 0; i < listed; ++i) {
            AppendText(text, size, i == 0 ? " \"" : ", \"");
            AppendText(text, size, names[i]);
            AppendText(text, size, "\"");
        }
        if (count > listed) AppendText(text, size, ", and more");
        AppendText(text, size, ".");
    }
    const char* used = UsedName(names, listed);
    if (used == nullptr) {
        AppendText(text, size, count == 0 ? "\r\nSo none" : "\r\nNone");
        AppendText(text, size, " is the tuner card's capture filter that Remote Control looks for (");
        for (int n = 0; n < captureFilterNameCount; ++n) {
            AppendText(text, size, n == 0 ? "\"" : (n + 1 < captureFilterNameCount ? ", \"" : " or \""));
            AppendText(text, size, captureFilterNames[n]);
            AppendText(text, size, "\"");
        }
        AppendText(text, size,
                   "), so it would say \"Can't find the BDA video capture filter.\" Check that the card is in "
                   "place and its driver is installed (Device Manager), then press Check again.");
        return false;
    }
    AppendText(text, size, "\r\nRemote Control uses \"");
    AppendText(text, size, used);
    AppendText(text, size, "\".");
    if (!openReceiver) return false;
    if (!OpenReceiver()) {
        AppendText(text, size, " It cannot be opened: restart the PC, or reinstall the card's driver.");
        return false;
    }
    std::uint8_t status = 0;
    if (ReadReceiverStatus(KEY_READY_SELECTOR, &status) == 0) {
        AppendText(text, size,
                   " Its driver does not answer the status request, so no code can be read: reinstall the "
                   "card's driver.");
        return false;
    }
    AppendText(text, size, " Its driver answers. Press a button on the remote.");
    return true;
}
