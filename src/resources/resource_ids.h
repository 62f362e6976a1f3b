// Resource, command and control numbers shared by the resource script and the
// program. Macros, because windres reads this file too.
#pragma once

// Strings: the main window's name and class.
#define IDS_WINDOW_NAME 22
#define IDS_CLASS_NAME 23

// Icons: the program's own (window class, tray, About and Setting), and the
// Shut Down dialog's.
#define IDI_PROGRAM 50
#define IDI_SHUT_DOWN 110

// Dialog templates.
#define IDD_SETTING 20
#define IDD_ABOUT 21
#define IDD_SHUT_DOWN 107

#define IDA_ACCELERATORS 23

// Controls of the Setting dialog; IDOK and IDCANCEL are the system's.
#define IDC_APPLICATION_LIST 11

// Commands that reach the main window as WM_COMMAND.
#define IDM_ABOUT 30
#define IDM_QUIT_QUIETLY 31  // no menu entry or accelerator sends it
#define IDM_SETTING 32
// The tray menu's application entry is IDM_APPLICATION_BASE + AppId: 1101 to
// 1108 for the eight applications (IsApplicationCommand in tray_menu.h).
#define IDM_APPLICATION_BASE 1100
#define IDM_EXIT 1201
