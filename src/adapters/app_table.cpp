// The eight application records and the table of the eight adapters. The
// records are defined here together because each reads the registry in its
// constructor before WinMain and they must be built in AppId order, which
// only one translation unit guarantees.
#include "adapters/app_table.h"

AppAdapter powerCinemaRecord("SOFTWARE\\CyberLink\\PowerCinema", "InstallPath", "PowerCinema.exe", "",
                             "PowerCinema");
AppAdapter homeTheaterRecord("Software\\InterVideo\\Home Theater", "PATH", "Home Theater.exe", "",
                             "Home Theater");
AppAdapter myIcTvRecord("Software\\Honestech\\HT IC-TV", "AppPath", "HT IC-TV.exe", "My IC-TV",
                        "My IC-TV Media Center");
// The key's default value: an empty value name.
AppAdapter mediaCenterRecord("SOFTWARE\\Classes\\Applications\\ehshell.exe\\shell\\open\\command", "", "",
                             "eHome Render Window", "eHome Render Window");
AppAdapter totalMediaRecord("SOFTWARE\\ArcSoft\\TotalMedia\\2.0", "AppPath", "TotalMedia.exe", "",
                            "TotalMedia");
AppAdapter quartzviewRecord("Software\\Honestech\\TV Plus\\DTVR", "AppPath", "MainPanel.exe",
                            "TarvexMainPanel_Class", "TVR");
AppAdapter beyondTvRecord("SOFTWARE\\SnapStream Media\\Beyond TV", "InstallDir", "BTVD3DShell.exe",
                          "Beyond TV", "Streamzap.WM.D3D");
WinDvr6Record winDvr6{AppAdapter("Software\\InterVideo\\DVR6", "PATH", "WinDVR.exe", "", "WinDVR 6"), 0};

namespace {

constexpr const Adapter* adapters[appCount] = {
    &powerCinemaAdapter, &homeTheaterAdapter, &myIcTvAdapter,   &mediaCenterAdapter,
    &totalMediaAdapter,  &quartzviewAdapter,  &beyondTvAdapter, &winDvr6Adapter,
};

}  // namespace

const Adapter& AdapterFor(int appId) {
    return *adapters[appId - 1];
}

AppAdapter& AppRecord(int appId) {
    return AdapterFor(appId).record;
}
