// What the tray menu and the Setting dialog ask about the applications they
// offer, under the names of the adapters' records.
#pragma once

// Installed by its registry record; Media Center by its own presence test,
// which marks its record installed when it passes.
bool IsAvailable(int appId);
// The first AppId whose name equals text exactly, case included; 0 for none.
int AppIdByName(const char* text);
