// The timer slots: arming and disarming are idempotent, and the WatchTimer
// runs only from a Power operation or a resume.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "product_fixture.h"

namespace {

int fired = 0;
void CountTick(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) { ++fired; }

class TimerSlotTest : public ProductTest {
protected:
    void SetUp() override {
        ProductTest::SetUp();
        pollTimer.armed = 0;
        fired = 0;
    }
    std::vector<std::string> Timers() const { return desk.Log({"SetTimer", "KillTimer"}); }
};

TEST_F(TimerSlotTest, ArmTwiceDisarmOnce_OneSetTimerAndOneKillTimer) {
    TimerSlot slot(7, CountTick);
    slot.Configure(owner, 100);

    slot.Arm();
    slot.Arm();
    Advance(250);
    slot.Disarm();
    slot.Disarm();
    Advance(250);

    EXPECT_EQ(Timers(), (std::vector<std::string>{"SetTimer(" + W(owner) + ",0x7,100)", "KillTimer(" + W(owner) + ",0x7)"}));
    EXPECT_EQ(fired, 2);
}

TEST_F(TimerSlotTest, DisarmOfANeverArmedSlot_KillsNothing) {
    TimerSlot slot(7, CountTick);
    slot.Configure(owner, 100);

    slot.Disarm();

    EXPECT_TRUE(Timers().empty());
}

TEST_F(TimerSlotTest, Configure_DoesNotTouchTheTimer) {
    TimerSlot slot(7, CountTick);
    slot.Configure(owner, 100);
    slot.Arm();
    desk.ClearLog();

    slot.Configure(owner, 500);

    EXPECT_TRUE(Timers().empty());
    EXPECT_EQ(desk.Timer(owner, 7)->periodMs, 100u);
}

TEST_F(TimerSlotTest, ArmedSlot_IsDisarmedWhenItGoes) {
    {
        TimerSlot slot(7, CountTick);
        slot.Configure(owner, 100);
        slot.Arm();
    }
    EXPECT_FALSE(desk.TimerSet(owner, 7));
}

TEST_F(TimerSlotTest, StartPollTimer_RunsDispatchKeyEvery65Ms) {
    StartPollTimer(owner);
    PrepareWatchTimer(owner);
    desk.ClearLog();

    Advance(650);

    EXPECT_EQ(desk.Log({"KsProperty"}).size(), 10u);
    EXPECT_FALSE(desk.TimerSet(owner, 2));
    DisarmPollTimer();
}

TEST_F(TimerSlotTest, ResumeArmedWatchTimer_FindsNothingToWatchAndStops) {
    ArmWatchTimer();
    ASSERT_TRUE(desk.TimerSet(owner, 2));
    desk.ClearLog();

    Advance(1000);

    EXPECT_EQ(desk.Log({"Sleep", "KillTimer"}),
              (std::vector<std::string>{"Sleep(2000)", "KillTimer(" + W(owner) + ",0x2)"}));
    EXPECT_FALSE(desk.TimerSet(owner, 2));
    EXPECT_EQ(watchTimer.armed, 0);
}

TEST_F(TimerSlotTest, UnconfiguredSlot_ArmsWithoutATimerOfTheSystemsChoosing) {
    TimerSlot slot(7, CountTick);

    slot.Arm();
    EXPECT_EQ(slot.armed, 1);
    slot.Disarm();

    EXPECT_TRUE(Timers().empty());
    EXPECT_TRUE(desk.timers.empty());
}

}  // namespace
