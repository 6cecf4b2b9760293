#include "run/QTimerTickTimer.h"
#include "run/RunFixture.h"
#include "run/Tavoren3App.h"
#ifdef TAVOREN_HAVE_TIMERFD
#include "run/TimerFdTickTimer.h"
#endif

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

namespace {

class FakeMonotonicClock : public MonotonicClock
{
public:
    std::chrono::nanoseconds now() const override { return at; }
    std::chrono::nanoseconds at = 5s;
};

// A tick timer on a monotonic clock the test moves, started at 5 s, beside a
// run controller on a wall clock of its own.
class TickTimerTest : public RunFixture
{
protected:
    TickTimerTest() { timer.start(); }
    // Moves the clock by d and lets the timer deliver what is due.
    void wake(std::chrono::nanoseconds d)
    {
        monotonic.at += d;
        timer.deliverDueTicks();
    }

    FakeMonotonicClock monotonic;
    QTimerTickTimer timer{monotonic};
    QSignalSpy ticks{&timer, &TickTimer::tick};
};

} // namespace

TEST_F(TickTimerTest, DeadlinesCountFromTheStartAndABlockedLoopCatchesUpUntilStopped)
{
    EXPECT_EQ(timer.armedDelayMs(), 1000);
    wake(1030ms); // 30 ms late
    EXPECT_EQ(ticks.count(), 1);
    EXPECT_EQ(timer.schedule().lastDue(), 6s);
    EXPECT_EQ(timer.armedDelayMs(), 970) << "re-armed against the schedule, not for another full second";
    wake(968500us); // 1.5 ms early: nothing is due yet
    EXPECT_EQ(ticks.count(), 1);
    EXPECT_EQ(timer.armedDelayMs(), 2) << "rounded up, so as not to wake early again";
    wake(1500us);
    EXPECT_EQ(ticks.count(), 2);
    EXPECT_EQ(timer.schedule().nextDue(), 8s);

    wake(4500ms); // a blocked loop
    EXPECT_EQ(ticks.count(), 6);
    EXPECT_EQ(timer.armedDelayMs(), 500);
    QObject::connect(&timer, &TickTimer::tick, [&] {
        if (ticks.count() == 8) // the spy, connected first, has counted this tick
            timer.stop();
    });
    wake(10s);
    EXPECT_EQ(ticks.count(), 8) << "stopping from a tick ends the catch-up";
    EXPECT_FALSE(timer.isActive());
}

TEST_F(TickTimerTest, TwoHoursOfTicksStayOnWholeSeconds)
{
    for (int i = 0; i < 7200; ++i)
        wake(std::chrono::milliseconds(timer.armedDelayMs()) + i % 7 * 1ms + 123us); // every fire a bit late
    EXPECT_EQ(ticks.count(), 7200);
    EXPECT_EQ(timer.schedule().nextDue(), 5s + 7201s);
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

TEST_F(TickTimerTest, AWallClockJumpMovesTheLabelTimesButNotTheTicksAndBoundariesAreStampedAsTheTickArrives)
{
    useSteps({step(1, "a", 2), step(2, "b", 5)});
    Tavoren3App::keepTime(timer, controller);
    startAt();
    // Slow screen work on every change the tick makes, before the boundary is logged.
    QObject::connect(&controller, &VerkeersLeiding::remainingTimeChanged, [this] { clock->advanceMs(40); });
    QObject::connect(&controller, &VerkeersLeiding::nrChanged, [this] { clock->advanceMs(100); });
    wake(1s);
    clock->set(QDateTime(QDate(2026, 12, 5), QTime(9, 0, 1))); // the wall clock is set back an hour
    wake(1s - 1ns);
    EXPECT_EQ(controller.nr(), 0) << "not due yet on the monotonic clock";
    wake(1ns);
    EXPECT_EQ(controller.nr(), 1);
    EXPECT_EQ(timer.schedule().nextDue(), 5s + 3s);
    EXPECT_EQ(logLines().mid(2), (QStringList{"05-12-26/10:00:00.000\ta (1) started",
                                              "05-12-26/09:00:01.000\ta (1) ended "}));
    EXPECT_EQ(controller.current()->Starttijd(), "05-12-26/09:00:01.000") << "the next step begins at the same tick";
}

TEST_F(TickTimerTest, AStepBegunBetweenTicksLastsItsWholeDurationAndOneBegunOnATickKeepsThePhase)
{
    useSteps({step(1, "a", 0), step(2, "b", 2), step(3, "c", 5)});
    Tavoren3App::keepTime(timer, controller);
    startAt();
    wake(1400ms);
    controller.requestAdvance(false); // DONE 0.4 s after a tick
    EXPECT_EQ(timer.schedule().nextDue(), 7400ms) << "the step's first second counts from the DONE";
    wake(1999ms);
    EXPECT_EQ(controller.nr(), 1) << "two whole seconds are not over yet";
    wake(1ms);
    EXPECT_EQ(controller.nr(), 2);
    EXPECT_EQ(timer.schedule().nextDue(), 9400ms) << "begun on the tick: the same phase";
}
