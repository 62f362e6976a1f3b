// The byte layouts of the two vendor property requests the driver answers.
//
// Both begin with the kernel-streaming KSPROPERTY header. The program is a
// 32-bit process and hands the driver its own addresses, so the pointer fields
// of the transfer request are 32 bits wide whatever the build; the host build
// fills them through platform::DriverAddress as well.
#pragma once

#include <cstddef>
#include <cstdint>

struct Guid {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};

struct KsPropertyHeader {
    Guid set;
    std::uint32_t id;
    std::uint32_t flags;
};

constexpr std::uint32_t KSPROPERTY_TYPE_GET = 0x00000001;

// {FBB1C466-BE03-470F-9A8F-A2AA0FA2C0EE}: an addressed transfer on the card's bus.
constexpr Guid ReceiverTransferSet = {0xFBB1C466, 0xBE03, 0x470F, {0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE}};
// {9490E589-6B17-44EC-9435-5E3587F9FBCE}: a one-byte status for a selector.
constexpr Guid ReceiverStatusSet = {0x9490E589, 0x6B17, 0x44EC, {0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE}};

struct TransferRequest {
    KsPropertyHeader property;
    std::uint8_t deviceAddress;
    std::uint8_t reserved1[3];
    std::uint32_t writeBuffer;  // address of the byte to write
    std::uint32_t writeCount;
    std::uint32_t readBuffer;   // address of the buffer that receives the bytes read
    std::uint32_t readCount;
    std::uint32_t reserved2;
};

struct StatusRequest {
    KsPropertyHeader property;
    std::uint8_t selector;
    std::uint8_t reserved[7];
};

static_assert(sizeof(Guid) == 16, "GUID is 16 bytes");
static_assert(sizeof(KsPropertyHeader) == 24, "KSPROPERTY is 24 bytes");
static_assert(offsetof(TransferRequest, deviceAddress) == 24, "device address at 24");
static_assert(offsetof(TransferRequest, writeBuffer) == 28, "write buffer at 28");
static_assert(offsetof(TransferRequest, writeCount) == 32, "write count at 32");
static_assert(offsetof(TransferRequest, readBuffer) == 36, "read buffer at 36");
static_assert(offsetof(TransferRequest, readCount) == 40, "read count at 40");
static_assert(sizeof(TransferRequest) == 48, "transfer request is 48 bytes");
static_assert(offsetof(StatusRequest, selector) == 24, "selector at 24");
static_assert(sizeof(StatusRequest) == 32, "status request is 32 bytes");

// Device address of the IR receiver's key code, and the status selector that
// answers 0 while a code is waiting.
constexpr std::uint8_t KEY_CODE_DEVICE_ADDRESS = 0x60;
constexpr std::uint8_t KEY_READY_SELECTOR = 8;
constexpr std::uint32_t TRANSFER_SCRATCH_LENGTH = 8;
constexpr std::uint32_t KEY_CODE_READ_COUNT = 4;
