// The two driver requests that test for and read a remote key code.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct ReceiverState {
    // The capture filter's IKsControl; null means no receiver.
    platform::ReceiverControl receiverControl;

    void Reset() { receiverControl = nullptr; }
};
extern ReceiverState receiver;

// Finds the capture filter and keeps its IKsControl; false when there is none.
bool OpenReceiver();

int ReceiverTransfer(std::uint8_t deviceAddress, std::uint8_t writeByte, int writeFlag, std::uint8_t* readBuffer,
                     std::uint32_t readCount);
int ReadReceiverStatus(std::uint8_t selector, std::uint8_t* status);
// True when a key code is waiting (status 0 at selector 8).
bool IsKeyReady();
// What ReadKeyCode answers when the read delivered no code.
constexpr int failedReadCode = 255;
// The code read from device address 0x60 (0 to 255); failedReadCode when the read failed.
int ReadKeyCode();
