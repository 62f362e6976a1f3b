// The table of the supported applications, by AppId, and their runtime
// records. Everything visits them in AppId order.
#pragma once

#include "adapters/app_ids.h"
#include "adapters/supported_app.h"

// appId must be 1 to appCount.
const SupportedApp& AppFor(int appId);
AppAdapter& AppRecord(int appId);
// Puts every record back to what start-up leaves when nothing is installed.
void ResetAppRecords();
