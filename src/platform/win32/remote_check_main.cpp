// Remote Check's Windows entry point; everything it does lives in the
// portable remote_check folder.
#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/visual_styles.h"
#include "remote_check/check_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    LoadVisualStyles();
    return RunRemoteCheck(FromWin(instance));
}
