#include "run/QTimerTickTimer.h"
#include "run/RunFixture.h"
#ifdef TAVOREN_HAVE_TIMERFD
#include "run/TimerFdTickTimer.h"
#endif

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class FakeMonotonicClock : public MonotonicClock
{
public:
    std::chrono::nanoseconds now() const override { return at; }
    std::chrono::nanoseconds at = 5s;
};

using TickedRun = RunFixture;

} // namespace

TEST(TickSchedule, DeadlinesCountFromTheStartNotFromTheWakeUp)
{
    TickSchedule schedule;
    schedule.start(5s);
    EXPECT_EQ(schedule.nextDue(), 6s);
    EXPECT_FALSE(schedule.takeDueTick(6s - 1ns));
    EXPECT_TRUE(schedule.takeDueTick(6s + 30ms));
    EXPECT_EQ(schedule.lastDue(), 6s);
    EXPECT_EQ(schedule.nextDue(), 7s) << "a late wake-up does not move the next tick";
    EXPECT_FALSE(schedule.takeDueTick(6s + 30ms));
}

TEST(TickTimer, TimerFiringLateOrEarlyDoesNotShiftTheSchedule)
{
    FakeMonotonicClock clock;
    QTimerTickTimer timer(clock);
    QSignalSpy ticks(&timer, &TickTimer::tick);
    timer.start();
    EXPECT_EQ(timer.armedDelayMs(), 1000);

    clock.at = 6030ms; // 30 ms late
    timer.deliverDueTicks();
    EXPECT_EQ(ticks.count(), 1);
    EXPECT_EQ(timer.armedDelayMs(), 970) << "re-armed against the schedule, not for another full second";

    clock.at = 6998500us; // woke 1.5 ms early: nothing is due yet
    timer.deliverDueTicks();
    EXPECT_EQ(ticks.count(), 1);
    EXPECT_EQ(timer.armedDelayMs(), 2) << "rounded up, so as not to wake early again";

    clock.at = 7s;
    timer.deliverDueTicks();
    EXPECT_EQ(ticks.count(), 2);
    EXPECT_EQ(timer.schedule().nextDue(), 8s);
}

TEST(TickTimer, ABlockedLoopCatchesUpEveryTick)
{
    FakeMonotonicClock clock;
    QTimerTickTimer timer(clock);
    QSignalSpy ticks(&timer, &TickTimer::tick);
    timer.start();
    clock.at += 4500ms; // blocked for four and a half seconds
    timer.deliverDueTicks();
    EXPECT_EQ(ticks.count(), 4);
    EXPECT_EQ(timer.armedDelayMs(), 500);
}

TEST(TickTimer, TwoHoursOfTicksStayOnWholeSeconds)
{
    FakeMonotonicClock clock;
    QTimerTickTimer timer(clock);
    QSignalSpy ticks(&timer, &TickTimer::tick);
    timer.start();
    const auto start = clock.at;
    for (int i = 0; i < 7200; ++i) {
        clock.at += std::chrono::milliseconds(timer.armedDelayMs()) + i % 7 * 1ms + 123us; // every fire a bit late
        timer.deliverDueTicks();
    }
    EXPECT_EQ(ticks.count(), 7200);
    EXPECT_EQ(timer.schedule().nextDue(), start + 7201s);
}

TEST(TickTimer, StoppingFromATickEndsTheCatchUp)
{
    FakeMonotonicClock clock;
    QTimerTickTimer timer(clock);
    int seen = 0;
    QObject::connect(&timer, &TickTimer::tick, [&] {
        if (++seen == 2)
            timer.stop();
    });
    timer.start();
    clock.at += 10s;
    timer.deliverDueTicks();
    EXPECT_EQ(seen, 2);
    EXPECT_FALSE(timer.isActive());
}

TEST(TickTimer, TheBuildsTickFiresOnTheRealClock)
{
    SteadyClock clock;
    const auto timer = TickTimer::create(clock);
#ifdef TAVOREN_HAVE_TIMERFD
    EXPECT_NE(qobject_cast<TimerFdTickTimer *>(timer.get()), nullptr);
#endif
    QSignalSpy ticks(timer.get(), &TickTimer::tick);
    timer->start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.count() >= 2; }, 10000)) << "it fires, and is armed again";
}

TEST_F(TickedRun, AWallClockJumpMovesTheLabelTimesButNotTheTicks)
{
    useSteps({step(1, "a", 2), step(2, "b", 5)});
    FakeMonotonicClock monotonic;
    QTimerTickTimer timer(monotonic);
    QObject::connect(&timer, &TickTimer::tick, &controller, &VerkeersLeiding::tick);
    startAt();
    timer.start();
    monotonic.at += 1s;
    timer.deliverDueTicks();

    clock->advanceMs(1000 - 3600 * 1000); // the wall clock is set back an hour
    monotonic.at += 1s - 1ns;
    timer.deliverDueTicks();
    EXPECT_EQ(controller.nr(), 0) << "not due yet on the monotonic clock";
    monotonic.at += 1ns;
    timer.deliverDueTicks();
    EXPECT_EQ(controller.nr(), 1);
    EXPECT_EQ(timer.schedule().nextDue(), 5s + 3s);
    EXPECT_EQ(logLines().last(), "05-12-26/09:00:01.000\ta (1) ended ");
}

TEST_F(TickedRun, AStepBoundaryIsStampedWhenItsTickArrives)
{
    useSteps({step(1, "a", 2), step(2, "b", 5)});
    startAt();
    // Slow screen work on every change the tick makes, before the boundary is logged.
    QObject::connect(&controller, &VerkeersLeiding::remainingTimeChanged, [this] { clock->advanceMs(40); });
    QObject::connect(&controller, &VerkeersLeiding::nrChanged, [this] { clock->advanceMs(100); });
    clock->advanceMs(1000);
    controller.tick();
    clock->set(QDateTime(QDate(2026, 12, 5), QTime(10, 0, 2)));
    controller.tick();
    EXPECT_EQ(logLines().mid(2), (QStringList{"05-12-26/10:00:00.000\ta (1) started",
                                              "05-12-26/10:00:02.000\ta (1) ended "}));
    EXPECT_EQ(controller.current()->Starttijd(), "05-12-26/10:00:02.000") << "the next step begins at the same tick";
}
