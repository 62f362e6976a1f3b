// Registers a program window's class; see program_window_class.h.
#include "shell/program_window_class.h"

#include "platform/win32_constants.h"
#include "resources/resource_ids.h"

std::uint16_t RegisterProgramClass(platform::InstanceHandle instance, const char* className,
                                   platform::WindowProc procedure, std::uint32_t style) {
    platform::WindowClassEx windowClass = {};
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = platform::LoadIconA(instance, IDI_PROGRAM);
    windowClass.hCursor = platform::LoadCursorA(0, IDC_ARROW);
    windowClass.hbrBackground = COLOR_WINDOW + 1;
    windowClass.lpszClassName = className;
    windowClass.hIconSm = platform::LoadIconA(instance, IDI_PROGRAM);
    return platform::RegisterClassExA(&windowClass);
}
