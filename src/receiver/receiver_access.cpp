// Asking the capture driver whether a remote key code waits, and reading it.
#include "receiver/receiver_access.h"

#include <cstring>

#include "platform/win32_constants.h"
#include "receiver/capture_filter_names.h"
#include "receiver/receiver_requests.h"

ReceiverState receiver;

bool OpenReceiver() {
    receiver.receiverControl = platform::OpenCaptureFilterControl(captureFilterNames, captureFilterNameCount,
                                                         captureFilterGraphName);
    return receiver.receiverControl != nullptr;
}

int ReceiverTransfer(std::uint8_t deviceAddress, std::uint8_t writeByte, int writeFlag, std::uint8_t* readBuffer,
                     std::uint32_t readCount) {
    if (receiver.receiverControl == nullptr) return 0;
    // Bytes the driver does not look at are sent as zeros rather than stack leftovers.
    TransferRequest request{};
    request.property = {ReceiverTransferSet, 0, KSPROPERTY_TYPE_GET};
    request.deviceAddress = deviceAddress;
    request.writeBuffer = platform::DriverAddress(&writeByte);
    request.writeCount = writeFlag != 0 ? 1 : 0;
    request.readBuffer = platform::DriverAddress(readBuffer);
    request.readCount = readCount;
    std::uint8_t scratch[TRANSFER_SCRATCH_LENGTH] = {};
    std::uint32_t bytesReturned = 0;
    return platform::KsProperty(receiver.receiverControl, &request, sizeof request, scratch, sizeof scratch,
                                &bytesReturned) == S_OK
               ? 1
               : 0;
}

int ReadReceiverStatus(std::uint8_t selector, std::uint8_t* status) {
    if (receiver.receiverControl == nullptr) return 0;
    StatusRequest request{};
    request.property = {ReceiverStatusSet, 0, KSPROPERTY_TYPE_GET};
    request.selector = selector;
    std::uint8_t data = selector;
    std::uint32_t bytesReturned = 0;
    if (platform::KsProperty(receiver.receiverControl, &request, sizeof request, &data, sizeof data, &bytesReturned) != S_OK)
        return 0;
    *status = data;
    return 1;
}

bool IsKeyReady() {
    // A failed request leaves the status at 1: no key waiting.
    std::uint8_t status = 1;
    ReadReceiverStatus(KEY_READY_SELECTOR, &status);
    return status == 0;
}

int ReadKeyCode() {
    // A driver that answers success without writing the code leaves these
    // bytes as they are: 255, a failed read, rather than code 0, a left click.
    // The bytes-returned count is no guide, as a driver may write the code and report 0.
    std::uint8_t buffer[KEY_CODE_READ_COUNT];
    std::memset(buffer, failedReadCode, sizeof buffer);
    if (ReceiverTransfer(KEY_CODE_DEVICE_ADDRESS, 0, 0, buffer, sizeof buffer) == 0) return failedReadCode;
    return buffer[0];
}
