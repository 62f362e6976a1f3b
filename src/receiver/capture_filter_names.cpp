// The capture filters of the supported tuner cards, by FriendlyName.
#include "receiver/capture_filter_names.h"

const char* const captureFilterNames[] = {
    "Philips Silicon (7171-35) WDM Video Capture",
    "Philips Cap713x Video Capture",
    "713x BDA Analog Capture",
    "7162 BDA Analog Capture1",
};
const int captureFilterNameCount = sizeof captureFilterNames / sizeof captureFilterNames[0];
const char* const captureFilterGraphName = "Philips Silicon (7171-35) WDM Video Capture";
