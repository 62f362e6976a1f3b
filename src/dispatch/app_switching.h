// Operations that look across all applications: switching the remote to one
// of them, the running and installed questions, and whether any supported
// application runs at all.
#pragma once

// Closes every application but appId, then activates or launches appId.
void SwitchTo(int appId);
// 1 when the application's window is present.
int IsRunning(int appId);
// The record's installed field; 0 for a number that names no application.
int IsInstalled(int appId);
// 1 when none of the eight main windows exists.
int NoAppRunning();
