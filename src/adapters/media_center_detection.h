// The direct test for Windows Media Center.
#pragma once

#include <cstddef>

// Room for the Windows directory (up to 255 characters) and "\ehome\ehshell.exe".
constexpr std::size_t mediaCenterShellPathSize = 256 + 32;

// 1 when Windows XP or 7 to 8.1, the Media Center registration and ehshell.exe are all
// present; every pass marks the Media Center record installed. On a pass,
// shellPath (when given) receives the path of the ehshell.exe that was found,
// under the system's own Windows directory.
int DetectMediaCenter(char* shellPath = nullptr, std::size_t shellPathSize = 0);
