// The fixture of the dispatch and adapter tests: the fake desktop plus the
// program's own global state put back to its start-up values, a main window
// that owns the timers, and an open receiver.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "adapters/app_table.h"
#include "adapters/windvr6.h"
#include "dispatch/app_switching.h"
#include "dispatch/key_dispatcher.h"
#include "dispatch/launch_watch.h"
#include "dispatch/pointer_emulation.h"
#include "fake/fake_desktop.h"
#include "fake/fresh_product.h"
#include "fake_desktop_fixture.h"
#include "platform/win32_constants.h"
#include "receiver/receiver_access.h"
#include "dispatch/timer_slot.h"
#include "shell/main_window.h"
#include "settings/settings.h"
#include "shell/shutdown_dialog.h"
#include "shell/tray_icon.h"

class ProductTest : public FakeDesktopTest {
  protected:
    void SetUp() override {
        FakeDesktopTest::SetUp();
        owner = fake::StartOnFreshDesktop();
    }

    // No action of the program may leave a key down: every chord releases what
    // it pressed, on every path.
    void TearDown() override {
        EXPECT_TRUE(desk.KeysDown().empty()) << "a key was left down";
        FakeDesktopTest::TearDown();
    }

    // What ReadInstallInfo leaves in a record whose registry value was found.
    static void Install(int appId, const char* directory, const char* executable) {
        AppAdapter& record = AppRecord(appId);
        std::strcpy(record.installDir, directory);
        std::strcpy(record.exeName, executable);
        record.installed = 1;
    }

    // GetVersionExA answers Windows XP: NT platform, version 5.1.
    void RunOnWindowsXp() {
        desk.version.dwPlatformId = VER_PLATFORM_WIN32_NT;
        desk.version.dwMajorVersion = 5;
        desk.version.dwMinorVersion = 1;
    }

    void Tick() { DispatchKey(owner, WM_TIMER, 1, desk.tickCount); }
    // One poll tick at the given time that finds code waiting.
    void ReadAt(std::uint8_t code, std::uint32_t tick) {
        desk.tickCount = tick;
        desk.keyQueue.push_back(code);
        Tick();
    }
    // Reads code on consecutive 65 ms poll ticks, starting at the current time.
    void Hold(std::uint8_t code, int reads) {
        for (int i = 0; i < reads; ++i) ReadAt(code, desk.tickCount + (i == 0 ? 0 : 65));
    }

    std::vector<std::string> Lookups() const { return desk.Log({"FindWindowA", "FindWindowExA"}); }
    std::string Desktop() const { return fake::W(desk.desktop()); }
    static std::string W(platform::WindowHandle window) { return fake::W(window); }

    platform::WindowHandle owner = 0;
};
