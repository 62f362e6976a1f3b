// The Setting dialog (template 20): the user chooses the application that the
// Power key launches when none is active. The only place that saves it.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct SettingDialogState {
    // The list entry last preselected or confirmed in this run; -1 at start.
    std::int32_t lastSettingIndex;

    void Reset() { lastSettingIndex = -1; }
};
extern SettingDialogState settingDialog;
// Shown when OK cannot save the chosen application.
extern const char* const choiceNotSavedText;
// Shown instead of an empty list.
extern const char* const nothingToChooseText;

std::intptr_t SettingDialogProc(platform::WindowHandle dialog, std::uint32_t message, platform::WParam wParam,
                                platform::LParam lParam);
