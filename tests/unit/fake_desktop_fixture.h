// The fixture of every unit test: a fresh fake desktop with a 1024x768
// screen, so that no test sees windows, timers, keys or log entries that
// another left behind.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fake/fake_desktop.h"
#include "platform/platform.h"
#include "platform/win32_constants.h"

class FakeDesktopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        desk.Reset();
    }
    // Callbacks a test installed may point into the test object.
    void TearDown() override { desk.Reset(); }

    // A window of another process, on top of the Z order.
    platform::WindowHandle AddWindow(const std::string& title, const std::string& className = "") {
        return desk.AddWindow(title, className);
    }
    // A window of the program itself, with the given procedure (none: it
    // answers every message with 0).
    platform::WindowHandle AddOwnWindow(const std::string& title, platform::WindowProc procedure = nullptr) {
        return desk.AddOwnWindow(title, procedure);
    }

    void Advance(std::uint32_t milliseconds) { desk.Advance(milliseconds); }
    void QueueKey(std::uint8_t code) { desk.keyQueue.push_back(code); }

    // The log and the rest of the model are read through desk (desk.Log,
    // desk.Actions), so that test files can name their own helpers freely.
    fake::Desktop& desk = fake::Desktop::Get();
};
