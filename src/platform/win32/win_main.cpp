// The Windows entry point; everything it does lives in the portable shell.
#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/visual_styles.h"
#include "shell/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    LoadVisualStyles();
    return RunRemoteControl(FromWin(instance));
}
