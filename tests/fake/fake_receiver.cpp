// The fake's stand-in receiver: the capture filter's IKsControl answering the
// status and transfer requests from Desktop::keyQueue.

#include "fake/fake_calls.h"

#include <cstring>

namespace platform {

using namespace calls;

namespace {

// The vendor's two property sets, as their GUIDs lie in memory.
constexpr std::uint8_t kStatusSet[16] = {0x89, 0xE5, 0x90, 0x94, 0x17, 0x6B, 0xEC, 0x44,
                                         0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE};
constexpr std::uint8_t kTransferSet[16] = {0x66, 0xC4, 0xB1, 0xFB, 0x03, 0xBE, 0x0F, 0x47,
                                           0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE};
constexpr std::uint32_t kStatusPropertyLength = 32;
constexpr std::uint32_t kStatusDataLength = 1;
constexpr std::uint32_t kTransferPropertyLength = 48;
constexpr std::uint32_t kTransferDataLength = 8;
constexpr std::size_t kSelectorOffset = 24;  // status: selector; transfer: device address
constexpr std::size_t kReadBufferOffset = 36;
constexpr std::size_t kReadCountOffset = 40;
constexpr std::uint8_t kKeySelector = 8;
constexpr std::uint8_t kKeyDeviceAddress = 0x60;

char fakeControlObject;
ReceiverControl FakeControl() {
    return reinterpret_cast<ReceiverControl>(&fakeControlObject);
}

std::uint32_t ReadLe32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16) |
           static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

// --- COM and the receiver --------------------------------------------------------

ReceiverControl OpenCaptureFilterControl(const char* const* friendlyNames, int nameCount,
                                         const char* graphName) {
    std::string names = "{";
    for (int i = 0; friendlyNames && i < nameCount; ++i) names += (i ? "," : "") + Str(friendlyNames[i]);
    names += "}";
    Log("OpenCaptureFilterControl", {names, Dec(nameCount), Str(graphName)});
    if (Failing("OpenCaptureFilterControl", 0)) return nullptr;
    return D().receiverPresent ? FakeControl() : nullptr;
}

int ListCaptureDeviceNames(char (*names)[captureDeviceNameSize], int maxNames) {
    Log("ListCaptureDeviceNames", {Dec(maxNames)});
    if (Failing("ListCaptureDeviceNames", 0)) return -1;
    if (D().captureDevicesFail) return -1;
    const std::vector<std::string>& devices = D().captureDevices;
    for (int i = 0; i < maxNames && i < static_cast<int>(devices.size()); ++i) {
        std::strncpy(names[i], devices[i].c_str(), captureDeviceNameSize - 1);
        names[i][captureDeviceNameSize - 1] = '\0';
    }
    return static_cast<int>(devices.size());
}

void CoUninitialize() {
    Log("CoUninitialize", {});
    D().coUninitialized = true;
}

std::uint32_t DriverAddress(void* buffer) {
    Log("DriverAddress", {});
    const std::uint32_t token = D().nextDriverAddress++;
    D().driverAddresses[token] = buffer;
    return token;
}

std::int32_t KsProperty(ReceiverControl control, void* property, std::uint32_t propertyLength, void* data,
                        std::uint32_t dataLength, std::uint32_t* bytesReturned) {
    Log("KsProperty", {Dec(propertyLength), Dec(dataLength)});
    if (Failing("KsProperty", 0)) return E_FAIL;
    fake::Desktop& desktop = D();
    if (control != FakeControl()) return E_FAIL;
    const auto* request = static_cast<const std::uint8_t*>(property);
    auto* answer = static_cast<std::uint8_t*>(data);
    fake::KsRequest seen;
    if (request) seen.property.assign(request, request + propertyLength);
    if (answer) seen.dataOnEntry.assign(answer, answer + dataLength);
    seen.propertyLength = propertyLength;
    seen.dataLength = dataLength;
    desktop.ksRequests.push_back(std::move(seen));
    if (bytesReturned) *bytesReturned = 0;
    if (!request || !answer || propertyLength < sizeof kStatusSet) return E_FAIL;

    // A request of either set with another layout is refused, as the driver would.
    if (std::memcmp(request, kStatusSet, sizeof kStatusSet) == 0) {
        if (propertyLength != kStatusPropertyLength || dataLength != kStatusDataLength) return E_FAIL;
        if (desktop.driver) {
            return desktop.driver(
                {false, request[kSelectorOffset], answer, dataLength, nullptr, 0, bytesReturned});
        }
        if (desktop.statusResult != 0) return desktop.statusResult;
        const bool codeWaits = !desktop.keyQueue.empty() && request[kSelectorOffset] == kKeySelector;
        answer[0] = codeWaits ? 0 : desktop.idleStatus;
        if (bytesReturned) *bytesReturned = 1;
        return S_OK;
    }
    if (std::memcmp(request, kTransferSet, sizeof kTransferSet) == 0) {
        if (propertyLength != kTransferPropertyLength || dataLength != kTransferDataLength) return E_FAIL;
        const std::uint32_t readCount = ReadLe32(request + kReadCountOffset);
        const auto found = desktop.driverAddresses.find(ReadLe32(request + kReadBufferOffset));
        auto* readBuffer =
            found == desktop.driverAddresses.end() ? nullptr : static_cast<std::uint8_t*>(found->second);
        if (desktop.driver) {
            return desktop.driver({true, request[kSelectorOffset], answer, dataLength,
                                   readCount ? readBuffer : nullptr, readCount, bytesReturned});
        }
        if (desktop.transferResult != 0) return desktop.transferResult;
        if (readCount == 0) return S_OK;  // a write only: no read buffer to resolve
        if (!readBuffer) return E_FAIL;
        std::fill(readBuffer, readBuffer + readCount, std::uint8_t{0});
        // The key device answers the waiting code once; with none waiting it
        // reads as 0, so a read without a preceding ready status shows as code 0.
        if (request[kSelectorOffset] == kKeyDeviceAddress && !desktop.keyQueue.empty()) {
            readBuffer[0] = desktop.keyQueue.front();
            desktop.keyQueue.pop_front();
        }
        return S_OK;
    }
    return E_FAIL;
}

}  // namespace platform
