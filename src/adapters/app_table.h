// The table of the supported applications, by AppId, and their runtime
// records. Everything visits them in AppId order.
#pragma once

#include "adapters/app_ids.h"
#include "adapters/supported_app.h"

// appId must be 1 to appCount.
const SupportedApp& AppFor(int appId);
AppAdapter& AppRecord(int appId);
// The launch rule of the application appId names as the default; null for
// none, or for a number that names no application.
LaunchRule LaunchRuleOf(std::int32_t defaultAppId);
// Puts every record back to what start-up leaves when nothing is installed.
void ResetAppRecords();
