// Resource numbers shared by the resource script and the program.
#pragma once

#define IDS_WINDOW_NAME 22
#define IDS_CLASS_NAME 23
#define IDI_PROGRAM 50
#define IDI_SHUT_DOWN 110
#define IDD_SETTING 20
#define IDD_ABOUT 21
#define IDD_SHUT_DOWN 107
#define IDA_ACCELERATORS 23
#define IDC_APPLICATION_LIST 11
#define IDM_ABOUT 30
#define IDM_SETTING 32
