// The eight supported applications as their documentation describes them,
// written by hand: the one list of their identities that the unit tests
// read, held against the product's own descriptions.
#pragma once

#include <string>

struct AppIdentity {
    int appId;
    const char* name;  // the tray menu's entry and the Setting list's text
    const char* registryKey;
    const char* valueName;
    const char* executable;
    const char* recordClass;  // what Launch looks for after starting it
    const char* recordTitle;  // the whole title FindByTitle compares
    const char* mainTitle;    // the main window, as FindAppWindow looks for it
    const char* mainClass;
};

inline constexpr AppIdentity appIdentities[] = {
    {1, "PowerCinema", "SOFTWARE\\CyberLink\\PowerCinema", "InstallPath", "PowerCinema.exe", "", "PowerCinema",
     "PowerCinema", ""},
    {2, "Home Theater", "Software\\InterVideo\\Home Theater", "PATH", "Home Theater.exe", "", "Home Theater",
     "Home Theater", ""},
    {3, "My IC-TV", "Software\\Honestech\\HT IC-TV", "AppPath", "HT IC-TV.exe", "My IC-TV",
     "My IC-TV Media Center", "My IC-TV Media Center", ""},
    {4, "Media Center", "SOFTWARE\\Classes\\Applications\\ehshell.exe\\shell\\open\\command", "", "",
     "eHome Render Window", "eHome Render Window", "", "eHome Render Window"},
    {5, "TotalMedia", "SOFTWARE\\ArcSoft\\TotalMedia\\2.0", "AppPath", "TotalMedia.exe", "", "TotalMedia",
     "Arcsoft TotalMedia", ""},
    {6, "Quartzview", "Software\\Honestech\\TV Plus\\DTVR", "AppPath", "MainPanel.exe", "TarvexMainPanel_Class",
     "TVR", "", "TarvexMainPanel_Class"},
    {7, "SnapStream", "SOFTWARE\\SnapStream Media\\Beyond TV", "InstallDir", "BTVD3DShell.exe", "Beyond TV",
     "Streamzap.WM.D3D", "", "Streamzap.WM.D3D"},
    {8, "WinDVR 6", "Software\\InterVideo\\DVR6", "PATH", "WinDVR.exe", "", "WinDVR 6", "InterVideo WinDVR 6",
     ""},
};

inline std::string AppIdName(int appId) {
    return "AppId" + std::to_string(appId);
}
