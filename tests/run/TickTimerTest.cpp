#include "run/TickTimer.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class FakeMonotonicClock : public MonotonicClock
{
public:
    qint64 elapsedMs() const override { return now; }
    qint64 now = 5000;
};

} // namespace

TEST(TickTimer, TimerFiringLateOrEarlyDoesNotShiftTheSchedule)
{
    FakeMonotonicClock clock;
    TickTimer timer(clock);
    QSignalSpy ticks(&timer, &TickTimer::tick);
    timer.start();
    EXPECT_EQ(timer.nextDueMs(), 6000);

    clock.now = 6030; // 30 ms late
    timer.handleTimeout();
    EXPECT_EQ(ticks.count(), 1);
    EXPECT_EQ(timer.armedDelayMs(), 970) << "re-armed against the schedule, not for another full second";

    clock.now = 6998; // woke 2 ms early: nothing is due yet
    timer.handleTimeout();
    EXPECT_EQ(ticks.count(), 1);
    EXPECT_EQ(timer.armedDelayMs(), 2);

    clock.now = 7000;
    timer.handleTimeout();
    EXPECT_EQ(ticks.count(), 2);
    EXPECT_EQ(timer.nextDueMs(), 8000);
}

TEST(TickTimer, ABlockedLoopCatchesUpEveryTick)
{
    FakeMonotonicClock clock;
    TickTimer timer(clock);
    QSignalSpy ticks(&timer, &TickTimer::tick);
    timer.start();
    clock.now = 5000 + 4500; // blocked for four and a half seconds
    timer.handleTimeout();
    EXPECT_EQ(ticks.count(), 4);
    EXPECT_EQ(timer.armedDelayMs(), 500);
}

TEST(TickTimer, TwoHoursOfTicksStayOnWholeSeconds)
{
    FakeMonotonicClock clock;
    TickTimer timer(clock);
    QSignalSpy ticks(&timer, &TickTimer::tick);
    timer.start();
    const qint64 start = clock.now;
    for (int i = 0; i < 7200; ++i) {
        clock.now += timer.armedDelayMs() + (i % 7); // every fire a few ms late
        timer.handleTimeout();
    }
    EXPECT_EQ(ticks.count(), 7200);
    EXPECT_EQ(timer.nextDueMs(), start + 7201 * 1000);
}

TEST(TickTimer, StoppingFromATickEndsTheCatchUp)
{
    FakeMonotonicClock clock;
    TickTimer timer(clock);
    int seen = 0;
    QObject::connect(&timer, &TickTimer::tick, [&] {
        if (++seen == 2)
            timer.stop();
    });
    timer.start();
    clock.now += 10000;
    timer.handleTimeout();
    EXPECT_EQ(seen, 2);
    EXPECT_FALSE(timer.isActive());
}
