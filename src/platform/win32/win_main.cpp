// The Windows entry point; everything it does lives in the portable shell,
// except opening a file as the signed-in user for the installer.
#include <windows.h>

#include "platform/win32/desktop_user_start.h"
#include "platform/win32/handles.h"
#include "platform/win32/visual_styles.h"
#include "shell/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    if (const char* file = OpenAsUserFile(commandLine)) return OpenAsDesktopUser(file) ? 0 : 1;
    LoadVisualStyles();
    return RunRemoteControl(FromWin(instance));
}
