// The fixture of the start-up, main-window and settings tests: the product
// state of ProductTest, but with no main window yet and no receiver opened,
// as the process is before WinMain runs.
#pragma once

#include <string>

#include "product_fixture.h"

class ShellTest : public ProductTest {
protected:
    void SetUp() override {
        ProductTest::SetUp();
        desk.RemoveWindow(owner);
        owner = 0;
        program.mainWindow = 0;
        receiver.Reset();
        watchTimer.Reset();
        desk.strings[22] = "Alder Remote Control";
        desk.strings[23] = "Alder Remote Control";
        desk.ClearLog();
    }

    // Start-up as WinMain runs it; the fake's message queue runs dry right
    // after start-up, which ends the message loop.
    int Start() { return RunRemoteControl(instance); }

    platform::LResult Send(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) {
        return platform::SendMessageA(program.mainWindow, message, wParam, lParam);
    }

    bool QuitPosted() const {
        for (const platform::Message& message : desk.queue)
            if (message.message == WM_QUIT) return true;
        return false;
    }

    static constexpr platform::InstanceHandle instance = 0x400000;
    const std::string settingsPath = "HKLM\\Software\\Tarvex Multimedia\\Nimbus XQ Utilities";
};
