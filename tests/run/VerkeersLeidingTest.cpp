#include "run/RunFixture.h"

namespace {

const OptionalViewSettings timerView{"Timer (drone side)", {}};
const OptionalViewSettings sliderView{"Slider (drone side)", {QString("How calm?")}};

using RunControl = RunFixture;

} // namespace

TEST_F(RunControl, TwoTimedStepsRunThroughAndComplete)
{
    useSteps({step(1, "a", 3), step(2, "b", 3)});
    startAt();
    EXPECT_TRUE(controller.running());
    EXPECT_FALSE(controller.pause());
    EXPECT_TRUE(controller.DoneBlocked());
    ticks(3);
    EXPECT_EQ(controller.nr(), 1);
    EXPECT_EQ(controller.remainingTime(), 3);
    EXPECT_EQ(sound.played, (QList<int>{1000, 1000})) << "at 1 and at 0 seconds left";
    ticks(3);
    EXPECT_TRUE(controller.isCompleted());
    EXPECT_FALSE(controller.running());
    EXPECT_TRUE(controller.pause());
    EXPECT_EQ(sound.played.size(), 4);
    EXPECT_EQ(controller.completedLogFileName(), "Study_42_1_20261205_100000");
    EXPECT_EQ(controller.PPID(), "");
    EXPECT_EQ(controller.remainingTime(), 0);
    EXPECT_EQ(sent, QStringList{"done"}) << "advancing sends nothing; the views send their own states";

    const QStringList expected{"# StartTime\tLabel",
                               "05-12-26/10:00:00.000\tStart",
                               "05-12-26/10:00:00.000\ta (1) started",
                               "05-12-26/10:00:03.000\ta (1) ended ",
                               "05-12-26/10:00:03.000\tb (2) started",
                               "05-12-26/10:00:06.000\tb (2) ended "};
    EXPECT_EQ(logLines(), expected);
    EXPECT_EQ(documents.read("Label_files/Study/Study_42_1_20261205_100000.lbl"),
              controller.LabelLogString().toUtf8());
}

TEST_F(RunControl, UntimedStepCountsOnIntoNegativeTime)
{
    useSteps({step(1, "free", 0), step(2, "next", 5)});
    startAt();
    EXPECT_FALSE(controller.DoneBlocked());
    ticks(2);
    EXPECT_EQ(controller.remainingTime(), -2);
    EXPECT_EQ(controller.remainingTimeText(), "00:02");
    EXPECT_TRUE(controller.stepTimeIsUp());
    ticks(63);
    EXPECT_EQ(controller.remainingTimeText(), "01:05");
    EXPECT_TRUE(sound.played.isEmpty());
    EXPECT_EQ(controller.nr(), 0);
    EXPECT_EQ(controller.timeTotal(), 65);
}

TEST_F(RunControl, PauseAndResumeContinueTheTimer)
{
    useSteps({step(1, "a", 10, {timerView}), step(2, "b", 5)});
    startAt();
    ticks(2);
    controller.togglePause();
    ticks(3);
    EXPECT_EQ(controller.remainingTime(), 8) << "nothing changes while paused";
    controller.togglePause();
    EXPECT_EQ(controller.remainingTime(), 8);
    EXPECT_TRUE(controller.justResumed());
    EXPECT_EQ(sent, (QStringList{"pause", "resume", "timer: 8"}));
    ticks(1);
    EXPECT_EQ(controller.remainingTime(), 7);
    EXPECT_EQ(logLines().mid(2), (QStringList{"05-12-26/10:00:00.000\ta (1) started",
                                              "05-12-26/10:00:02.000\ta (1) paused ",
                                              "05-12-26/10:00:05.000\tresearch resumed in a (1)"}));
    controller.togglePause();
    EXPECT_FALSE(controller.justResumed());
    EXPECT_EQ(logLines().mid(5), (QStringList{"05-12-26/10:00:05.000\ta (1) started",
                                              "05-12-26/10:00:06.000\ta (1) paused "}));
}

TEST_F(RunControl, SliderWarningHoldsTheAdvance)
{
    useSteps({step(1, "rate", 2, {sliderView}), step(2, "b", 5)});
    startAt();
    ticks(2);
    EXPECT_TRUE(controller.showSliderAdvanceAlert());
    EXPECT_TRUE(controller.pause());
    EXPECT_EQ(controller.nr(), 0);
    EXPECT_EQ(controller.pendingAdvancePhaseSkipped(), false);
    EXPECT_EQ(logLines().last(), "05-12-26/10:00:02.000\trate (1) paused ");

    controller.cancelSliderAdvance();
    EXPECT_FALSE(controller.showSliderAdvanceAlert());
    EXPECT_EQ(controller.nr(), 0);
    EXPECT_TRUE(controller.pause());

    controller.togglePause();
    controller.requestAdvance(controller.pause()); // DONE while running, the answer still missing
    EXPECT_TRUE(controller.showSliderAdvanceAlert()) << "no answer yet: warn again";
    EXPECT_TRUE(controller.pause());
    controller.confirmSliderAdvance();
    EXPECT_EQ(controller.nr(), 1);
    EXPECT_TRUE(controller.pause()) << "the operator resumes";
    EXPECT_FALSE(controller.pendingAdvancePhaseSkipped());
}

TEST_F(RunControl, SliderAnswerLetsTheStepEndNormally)
{
    useSteps({step(1, "rate", 2, {sliderView}), step(2, "b", 5)});
    startAt();
    controller.setSliderValueReceivedAndDisplayed(true);
    ticks(2);
    EXPECT_FALSE(controller.showSliderAdvanceAlert());
    EXPECT_EQ(controller.nr(), 1);
    EXPECT_FALSE(controller.sliderValueReceivedAndDisplayed()) << "cleared when a step begins";
}

TEST_F(RunControl, DoneWhilePausedWritesNoStepEndLines)
{
    useSteps({step(1, "a", 0), step(2, "b", 0)});
    startAt();
    controller.togglePause();
    const qsizetype before = logLines().size();
    controller.requestAdvance(controller.pause());
    EXPECT_EQ(controller.nr(), 1);
    EXPECT_EQ(logLines().size(), before);
}

TEST_F(RunControl, BackSkipAndRestart)
{
    useSteps({step(1, "a", 10), step(2, "b", 20), step(3, "c", 30)});
    startAt();
    controller.previousStep();
    EXPECT_EQ(controller.nr(), 0) << "nothing before the first step";
    controller.togglePause();
    controller.advance(true);
    EXPECT_EQ(controller.nr(), 1);
    EXPECT_EQ(controller.remainingTime(), 20);
    const qsizetype afterSkip = logLines().size();
    controller.previousStep();
    EXPECT_EQ(controller.nr(), 0);
    EXPECT_EQ(controller.remainingTime(), 10);
    EXPECT_EQ(logLines().size(), afterSkip) << "skip and back write nothing";

    clock->advanceMs(4000);
    controller.setRemainingTime(6);
    controller.restartCurrentStep();
    EXPECT_EQ(controller.remainingTime(), 10);
    EXPECT_EQ(logLines().size(), afterSkip + 1);
    EXPECT_EQ(logLines().last(), "05-12-26/10:00:04.000\ta (1) cancelled, restarting... ");
    EXPECT_EQ(controller.current()->Starttijd(), "05-12-26/10:00:04.000");
    EXPECT_TRUE(controller.pause());
    EXPECT_EQ(sent, QStringList{"pause"});
}

TEST_F(RunControl, StopDuringARunAndAfterCompletion)
{
    useSteps({step(1, "a", 10)});
    startAt();
    ticks(1);
    controller.togglePause();
    controller.stopRun();
    EXPECT_EQ(logLines().last(), "05-12-26/10:00:01.000\ta (1) stopped ");
    EXPECT_TRUE(controller.shouldReturnToHome());
    EXPECT_FALSE(controller.running());
    EXPECT_EQ(sent, (QStringList{"pause", "done", "resume"}));

    sent.clear();
    controller.setShouldReturnToHome(false);
    startAt();
    controller.advance(false);
    ASSERT_TRUE(controller.isCompleted());
    const qsizetype lines = logLines().size();
    controller.stopRun();
    EXPECT_EQ(logLines().size(), lines) << "no stopped lines after completion";
    EXPECT_EQ(sent, (QStringList{"done", "done", "resume"}));
    EXPECT_FALSE(controller.isCompleted());
    EXPECT_TRUE(controller.shouldReturnToHome());

    sent.clear();
    controller.stopRun();
    EXPECT_TRUE(sent.isEmpty()) << "nothing to stop";
}

TEST_F(RunControl, EmptyProtocolCompletesAtTheFirstAdvance)
{
    useSteps({});
    startAt();
    EXPECT_FALSE(controller.hasCurrentStep());
    EXPECT_EQ(controller.current()->testID(), "0");
    EXPECT_EQ(controller.current()->testLabel(), "");
    controller.advance(false);
    EXPECT_TRUE(controller.isCompleted());
}

TEST_F(RunControl, CurrentStepStateTable)
{
    const auto stateFor = [&](QList<OptionalViewSettings> views, qint64 remaining = 0) {
        useSteps({step(1, "a", 60, views)});
        startAt();
        controller.setRemainingTime(remaining);
        sent.clear();
        controller.sendCurrentStepState();
        controller.togglePause();
        controller.stopRun();
        controller.setShouldReturnToHome(false);
        return sent.value(0);
    };
    using P = QList<std::optional<QString>>;
    EXPECT_EQ(stateFor({timerView}, 0), "timer: 60");
    EXPECT_EQ(stateFor({timerView}, -4), "timer: -4");
    EXPECT_EQ(stateFor({{"Climbing", {}}}, 17), "climbing: 17");
    EXPECT_EQ(stateFor({{"Slider (drone side)", {}}}), "slider: ");
    EXPECT_EQ(stateFor({{"Images (drone side)", {}}}), "images: images.txt");
    EXPECT_EQ(stateFor({{"Images (drone side)", P{std::nullopt}}}), "images: images.txt");
    EXPECT_EQ(stateFor({{"Text (drone side)", P{QString("")}}}), "text: ");
    EXPECT_EQ(stateFor({{"Breathing (drone side)", P{QString(" Slow\n")}}}), "breathing: 3.75, 0.0, 3.75, 0.0");
    EXPECT_EQ(stateFor({{"Breathing (drone side)", P{QString("FAST")}}}), "breathing: 1.8, 0.0, 1.8, 0.0");
    EXPECT_EQ(stateFor({{"Breathing (drone side)", {}}}), "breathing: 2.5, 0.0, 2.5, 0.0");
    EXPECT_EQ(stateFor({{"Video (drone side)", P{QString("clip.mp4"), QString("yes"), QString("no"), QString("yes")}}}),
              "video: clip.mp4, false, false, true");
    EXPECT_EQ(stateFor({{"Video (drone side)", P{QString("clip.mp4"), QString("Yes")}}}),
              "video: clip.mp4, true, false, false");
    EXPECT_EQ(stateFor({{"Video (drone side)", P{QString("")}}, {"Text (drone side)", {}}}),
              "text: no text was inputted on the timekeeper side");
    EXPECT_EQ(stateFor({{"Arithmetic tasks", {}}}), "black");
    EXPECT_EQ(stateFor({}), "black");
    EXPECT_EQ(stateFor({{"Text (drone side)", P{QString("a|b")}}, timerView}), "text: a|b") << "first match decides";
}

TEST_F(RunControl, StateWhilePausedIsPause)
{
    useSteps({step(1, "a", 60, {timerView})});
    startAt();
    controller.togglePause();
    sent.clear();
    controller.sendCurrentStepState();
    EXPECT_EQ(sent, QStringList{"pause"});
}

TEST_F(RunControl, ProtocolNameIsCopiedAtStartAndNamesTheFolder)
{
    useSteps({step(1, "a", 1)}, "Stress test, part 2.");
    startAt("1234");
    EXPECT_EQ(protocol.currentProtocolName(), "Stress test, part 2.");
    EXPECT_TRUE(documents.exists("Label_files/Stresstestpart2/Stresstestpart2._1234_1_20261205_100000.lbl"));
}
