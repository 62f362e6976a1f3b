// The applications that the tray menu and the Setting dialog offer: their
// names, whether one can be offered, and the way back from a name.
#pragma once

// The menu entry's and the Setting list's text; appId must be 1 to 8.
const char* AppName(int appId);
// Installed by its registry record; Media Center by its own presence test,
// which marks its record installed when it passes.
bool IsAvailable(int appId);
// The first AppId whose name equals text exactly, case included; 0 for none.
int AppIdByName(const char* text);
