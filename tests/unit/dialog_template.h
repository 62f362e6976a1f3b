// Decodes a classic DLGTEMPLATE dialog resource (not DLGTEMPLATEEX), the
// layout that the program's DIALOG statements compile to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resource_reader.h"

struct DialogItem {
    uint32_t style = 0;
    uint32_t extendedStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint16_t id = 0;
    NameOrOrdinal windowClass;
    NameOrOrdinal title;
    uint16_t creationDataSize = 0;
};

struct DialogTemplate {
    uint32_t style = 0;
    uint32_t extendedStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::string title;
    // Present only with DS_SETFONT.
    uint16_t pointSize = 0;
    std::string typeface;
    std::vector<DialogItem> items;
};

// Throws std::runtime_error on a truncated template or on a DLGTEMPLATEEX.
DialogTemplate ParseDialogTemplate(const std::vector<uint8_t>& data);
