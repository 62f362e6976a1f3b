// The capture driver's answers as the input: any result code, byte count,
// status byte and read bytes, written or not, through the two receiver
// requests alone and through whole poll ticks. After every step:
//  - a key is ready exactly when the status request succeeded and the driver
//    wrote a status byte of 0;
//  - the code read is the first byte the driver wrote when the transfer
//    succeeded and wrote it, else 255;
//  - a tick makes one status request, then at most one transfer, and only
//    after a ready status; requests keep their lengths (32/1, 48/8);
//  - with no application on the desktop, input only moves or clicks the
//    pointer, never outside its limits, and leaves no key down.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "dispatch/key_dispatcher.h"
#include "fuzz_support.h"
#include "platform/win32_constants.h"
#include "receiver/receiver_access.h"
#include "settings/settings.h"

namespace {

// What the driver answered to the most recent request.
struct Answer {
    bool transfer = false;
    std::int32_t result = 0;
    bool statusWritten = false;
    std::uint8_t status = 0;
    std::uint32_t readWritten = 0;  // bytes written into the read buffer, from the first
    std::uint8_t firstRead = 0;
};

std::int32_t PickResult(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange<int>(0, 5)) {
        case 0:
        case 1:
        case 2:
            return S_OK;
        case 3:
            return S_FALSE;
        case 4:
            return E_FAIL;
        default:
            return input.ConsumeIntegral<std::int32_t>();
    }
}

std::int32_t Answer_(FuzzedDataProvider& input, const fake::Desktop::DriverCall& call, Answer& answer) {
    answer = Answer{};
    answer.transfer = call.transfer;
    answer.result = PickResult(input);
    if (call.bytesReturned) *call.bytesReturned = input.ConsumeIntegral<std::uint32_t>();
    if (call.transfer) {
        // Junk in the scratch area, which the program must not read.
        for (std::uint32_t i = 0; i < call.dataLength && input.ConsumeBool(); ++i)
            call.data[i] = input.ConsumeIntegral<std::uint8_t>();
        if (call.readBuffer) {
            answer.readWritten = input.ConsumeIntegralInRange<std::uint32_t>(0, call.readCount);
            for (std::uint32_t i = 0; i < answer.readWritten; ++i)
                call.readBuffer[i] = input.ConsumeIntegral<std::uint8_t>();
            if (answer.readWritten > 0) answer.firstRead = call.readBuffer[0];
        }
    } else if (input.ConsumeBool()) {
        answer.statusWritten = true;
        answer.status = input.ConsumeIntegral<std::uint8_t>();
        call.data[0] = answer.status;
    }
    return answer.result;
}

bool ExpectedReady(const Answer& answer) {
    return answer.result == S_OK && answer.statusWritten && answer.status == 0;
}

int ExpectedCode(const Answer& answer) {
    return answer.result == S_OK && answer.readWritten > 0 ? answer.firstRead : 255;
}

void CheckTick(std::size_t mark, const std::vector<Answer>& answers) {
    fake::Desktop& desk = fuzz::Desk();
    const std::vector<std::string> requests = fuzz::EntriesSince(mark, {"KsProperty"});
    FUZZ_CHECK(!requests.empty() && requests.size() <= 2,
               std::to_string(requests.size()) + " requests in a tick");
    FUZZ_CHECK(requests[0] == "KsProperty(32,1)", "first request of a tick: " + requests[0]);
    FUZZ_CHECK(answers.size() == requests.size(), "every request answered");
    FUZZ_CHECK((requests.size() == 2) == ExpectedReady(answers[0]),
               "a transfer exactly when the status said a key waits");
    if (requests.size() == 2) FUZZ_CHECK(requests[1] == "KsProperty(48,8)", "second request: " + requests[1]);
    const std::vector<std::string> foreign = fuzz::EntriesSince(
        mark, {"keybd_event", "PostMessageA", "SendMessageA", "ShellExecuteA", "MessageBoxA",
               "SetForegroundWindow", "DialogBoxParamA", "RegOpenKeyExA", "RegSetValueExA"});
    FUZZ_CHECK(foreign.empty(),
               "with no application and a default that is not installed nothing but the "
               "pointer may act: " +
                   (foreign.empty() ? "" : foreign[0]));
    fuzz::CheckCursorPlacements(mark);
    fuzz::CheckNothingLeftDown();
    (void)desk;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const platform::WindowHandle owner = fuzz::FreshDesktop();
    fake::Desktop& desk = fuzz::Desk();
    // Codes 12, 24 and 29 would launch or ask to shut down: with the default
    // application out of range and nothing running they do nothing, so every
    // code's effect is the pointer's or none.
    settings.defaultApp = 0;
    std::vector<Answer> answers;
    desk.driver = [&input, &answers](const fake::Desktop::DriverCall& call) {
        answers.emplace_back();
        return Answer_(input, call, answers.back());
    };

    while (input.remaining_bytes() > 0) {
        answers.clear();
        const std::size_t mark = desk.log.size();
        switch (input.ConsumeIntegralInRange<int>(0, 2)) {
            case 0: {
                const bool ready = IsKeyReady();
                FUZZ_CHECK(answers.size() == 1, "one status request");
                FUZZ_CHECK(ready == ExpectedReady(answers[0]), "ready exactly on a successful status of 0");
                break;
            }
            case 1: {
                const int code = ReadKeyCode();
                FUZZ_CHECK(answers.size() == 1, "one transfer request");
                FUZZ_CHECK(code == ExpectedCode(answers[0]), "code " + std::to_string(code) + ", expected " +
                                                                 std::to_string(ExpectedCode(answers[0])));
                break;
            }
            default:
                desk.tickCount += input.ConsumeIntegralInRange<std::uint32_t>(0, 400);
                DispatchKey(owner, WM_TIMER, 1, desk.tickCount);
                CheckTick(mark, answers);
                if (answers.size() == 2) {
                    FUZZ_CHECK(dispatcher.lastCode == ExpectedCode(answers[1]), "the dispatcher took the code read");
                }
                break;
        }
    }
    desk.driver = nullptr;
    return 0;
}
