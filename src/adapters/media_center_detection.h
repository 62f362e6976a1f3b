// The direct test for Windows Media Center.
#pragma once

// 1 when Windows XP, the Media Center registration and ehshell.exe are all
// present; every pass marks the Media Center record installed.
int DetectMediaCenter();
