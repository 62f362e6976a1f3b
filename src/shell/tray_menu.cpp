// The tray menu's seam in the main window. The menu itself (the default
// application's entry, Setting, About, Exit) and the About and Setting dialogs
// are not built yet: until they are, a click on the icon of a program that
// found its receiver opens nothing, and the menu commands do nothing.
#include "shell/tray_menu.h"

void ShowTrayMenu(platform::WindowHandle) {}

void OnMenuCommand(std::uint32_t) {}
