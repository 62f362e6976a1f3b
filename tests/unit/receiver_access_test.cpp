// The two driver requests: their exact bytes and lengths, and what failures
// and status bytes mean.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "product_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes statusSetBytes = {0x89, 0xE5, 0x90, 0x94, 0x17, 0x6B, 0xEC, 0x44,
                              0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE};
const Bytes transferSetBytes = {0x66, 0xC4, 0xB1, 0xFB, 0x03, 0xBE, 0x0F, 0x47,
                                0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE};

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::uint32_t Le32(const Bytes& bytes, std::size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 | std::uint32_t(bytes[offset + 3]) << 24;
}

class ReceiverAccessTest : public ProductTest {};

TEST_F(ReceiverAccessTest, StatusRequest_IsThirtyTwoBytesAskingSelectorEight) {
    IsKeyReady();

    ASSERT_EQ(desk.ksRequests.size(), 1u);
    const fake::KsRequest& request = desk.ksRequests[0];
    EXPECT_EQ(request.propertyLength, 32u);
    EXPECT_EQ(request.dataLength, 1u);
    EXPECT_EQ(request.property, Concat({statusSetBytes, {0, 0, 0, 0}, {1, 0, 0, 0}, {8}, {0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(request.dataOnEntry, Bytes{8}) << "the data byte carries the selector in";
}

TEST_F(ReceiverAccessTest, IdleReceiver_CostsOneRequestAndNothingElse) {
    EXPECT_FALSE(IsKeyReady());

    EXPECT_EQ(desk.log, std::vector<std::string>{"KsProperty(32,1)"});
}

struct StatusAnswer {
    std::int32_t result;
    std::uint8_t idleStatus;
    bool keyWaiting;
    bool ready;
};

class StatusAnswerTest : public ReceiverAccessTest, public ::testing::WithParamInterface<StatusAnswer> {};

TEST_P(StatusAnswerTest, OnlyASuccessfulZeroMeansAKeyWaits) {
    desk.statusResult = GetParam().result;
    desk.idleStatus = GetParam().idleStatus;
    if (GetParam().keyWaiting) QueueKey(16);

    EXPECT_EQ(IsKeyReady(), GetParam().ready);
}

INSTANTIATE_TEST_SUITE_P(Answers, StatusAnswerTest,
                         ::testing::Values(StatusAnswer{S_OK, 1, true, true}, StatusAnswer{S_OK, 1, false, false},
                                           StatusAnswer{S_OK, 0x80, false, false},
                                           StatusAnswer{S_OK, 0xFF, false, false},
                                           // A failed request reads as no key, even when one waits.
                                           StatusAnswer{E_FAIL, 1, true, false},
                                           StatusAnswer{S_FALSE, 1, true, false},
                                           StatusAnswer{static_cast<std::int32_t>(0x80070490), 0, true, false}));

TEST_F(ReceiverAccessTest, TransferRequest_ReadsFourBytesFromAddress0x60) {
    QueueKey(0x2A);

    EXPECT_EQ(ReadKeyCode(), 0x2A);

    ASSERT_EQ(desk.ksRequests.size(), 1u);
    const fake::KsRequest& request = desk.ksRequests[0];
    EXPECT_EQ(request.propertyLength, 48u);
    EXPECT_EQ(request.dataLength, 8u);
    const Bytes& bytes = request.property;
    ASSERT_EQ(bytes.size(), 48u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 28),
              Concat({transferSetBytes, {0, 0, 0, 0}, {1, 0, 0, 0}, {0x60, 0, 0, 0}}));
    EXPECT_NE(Le32(bytes, 28), 0u) << "write buffer points at the program's write byte";
    EXPECT_EQ(Le32(bytes, 32), 0u) << "write count";
    EXPECT_NE(Le32(bytes, 36), 0u) << "read buffer";
    EXPECT_NE(Le32(bytes, 36), Le32(bytes, 28));
    EXPECT_EQ(Le32(bytes, 40), 4u) << "read count";
    EXPECT_EQ(Le32(bytes, 44), 0u);
    EXPECT_EQ(request.dataOnEntry, Bytes(8, 0));
}

TEST_F(ReceiverAccessTest, Transfer_WithAWriteByteCountsOne) {
    std::uint8_t buffer[2] = {};

    EXPECT_EQ(ReceiverTransfer(0x22, 0x5A, 1, buffer, sizeof buffer), 1);

    const Bytes& bytes = desk.ksRequests.at(0).property;
    EXPECT_EQ(bytes[24], 0x22);
    EXPECT_EQ(Le32(bytes, 32), 1u);
    EXPECT_EQ(Le32(bytes, 40), 2u);
}

TEST_F(ReceiverAccessTest, FailedTransfer_YieldsCode255) {
    desk.transferResult = E_FAIL;
    QueueKey(7);

    EXPECT_EQ(ReadKeyCode(), 255);
}

// A driver that answers success and writes nothing into the named buffer,
// reporting any byte count: no code was delivered.
TEST_F(ReceiverAccessTest, SuccessWithoutTheCodeWritten_ReadsAsAFailedRead) {
    for (std::uint32_t reported : {0u, 4u}) {
        desk.driver = [reported](const fake::Desktop::DriverCall& call) {
            if (call.bytesReturned) *call.bytesReturned = reported;
            return S_OK;
        };
        EXPECT_EQ(ReadKeyCode(), 255) << reported << " bytes reported";
    }
}

TEST_F(ReceiverAccessTest, CodeWrittenWithNoBytesReported_IsTheCode) {
    desk.driver = [](const fake::Desktop::DriverCall& call) {
        if (call.readBuffer) call.readBuffer[0] = 0;
        if (call.bytesReturned) *call.bytesReturned = 0;
        return S_OK;
    };

    EXPECT_EQ(ReadKeyCode(), 0);
}

TEST_F(ReceiverAccessTest, WithoutReceiver_NothingIsAskedAndNothingIsRead) {
    receiver.receiverControl = nullptr;
    QueueKey(3);
    std::uint8_t status = 0x77;
    std::uint8_t buffer[4] = {};

    EXPECT_FALSE(IsKeyReady());
    EXPECT_EQ(ReadKeyCode(), 255);
    EXPECT_EQ(ReadReceiverStatus(8, &status), 0);
    EXPECT_EQ(status, 0x77);
    EXPECT_EQ(ReceiverTransfer(0x60, 0, 0, buffer, 4), 0);

    EXPECT_TRUE(desk.ksRequests.empty());
    EXPECT_TRUE(desk.log.empty());
}

TEST_F(ReceiverAccessTest, FailedStatus_StoresNothing) {
    desk.statusResult = E_FAIL;
    std::uint8_t status = 0x77;

    EXPECT_EQ(ReadReceiverStatus(8, &status), 0);
    EXPECT_EQ(status, 0x77);
}

TEST_F(ReceiverAccessTest, KeyCode_IsTheFirstOfTheFourBytes) {
    for (int code : {0, 12, 79, 128, 254, 255}) {
        QueueKey(static_cast<std::uint8_t>(code));
        ASSERT_TRUE(IsKeyReady());
        EXPECT_EQ(ReadKeyCode(), code);
    }
}

}  // namespace
