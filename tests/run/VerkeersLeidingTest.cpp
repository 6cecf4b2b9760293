#include "run/RunFixture.h"

namespace {

const OptionalViewSettings timerView{"Timer (drone side)", {}};
const OptionalViewSettings sliderView{"Slider (drone side)", {QString("How calm?")}};

using RunControl = RunFixture;

} // namespace

TEST_F(RunControl, AnUntimedStepCountsOnIntoNegativeTimeAndTimedStepsRunThroughAndComplete)
{
    useSteps({step(1, "free", 0), step(2, "a", 3), step(3, "b", 3)});
    startAt();
    EXPECT_FALSE(controller.DoneBlocked());
    ticks(2);
    EXPECT_EQ(controller.remainingTimeText(), "00:02");
    EXPECT_TRUE(controller.stepTimeIsUp());
    ticks(63);
    EXPECT_EQ(status(), "step 0, -65 s, running");
    EXPECT_EQ(controller.remainingTimeText(), "01:05");
    EXPECT_EQ(controller.timeTotal(), 65);

    controller.requestAdvance(false);
    EXPECT_EQ(status(), "step 1, 3 s, running");
    EXPECT_TRUE(controller.DoneBlocked());
    EXPECT_TRUE(sound.played.isEmpty()) << "the untimed step plays nothing";
    ticks(3);
    EXPECT_EQ(status(), "step 2, 3 s, running");
    EXPECT_EQ(sound.played, (QList<int>{1000, 1000})) << "at 1 and at 0 seconds left";
    ticks(3);
    EXPECT_EQ(status(), "step 2, 0 s, paused, completed");
    EXPECT_EQ(sound.played.size(), 4);
    EXPECT_EQ(controller.completedLogFileName(), "Study_42_1_20261205_100000");
    EXPECT_EQ(controller.PPID(), "");
    EXPECT_EQ(sent, QStringList{"done"}) << "advancing sends nothing; the views send their own states";
    EXPECT_EQ(logLines().last(), "05-12-26/10:01:11.000\tb (3) ended ");
    EXPECT_EQ(documents.read("Label_files/Study/Study_42_1_20261205_100000.lbl"), controller.LabelLogString().toUtf8());
}

TEST_F(RunControl, PauseAndResumeContinueTheTimer)
{
    useSteps({step(1, "a", 10, {timerView}), step(2, "b", 5)});
    startAt();
    ticks(2);
    controller.togglePause();
    ticks(3);
    EXPECT_EQ(status(), "step 0, 8 s, running, paused") << "nothing changes while paused";
    controller.togglePause();
    EXPECT_TRUE(controller.justResumed());
    EXPECT_EQ(sent, (QStringList{"pause", "resume", "timer: 8"}));
    ticks(1);
    EXPECT_EQ(status(), "step 0, 7 s, running");
    controller.togglePause();
    EXPECT_FALSE(controller.justResumed());
    EXPECT_EQ(logLines().mid(2), (QStringList{"05-12-26/10:00:00.000\ta (1) started",
                                              "05-12-26/10:00:02.000\ta (1) paused ",
                                              "05-12-26/10:00:05.000\tresearch resumed in a (1)",
                                              "05-12-26/10:00:05.000\ta (1) started",
                                              "05-12-26/10:00:06.000\ta (1) paused "}));

    // DONE while paused moves on without step end lines.
    const qsizetype before = logLines().size();
    controller.requestAdvance(controller.pause());
    EXPECT_EQ(status(), "step 1, 5 s, running, paused");
    EXPECT_EQ(logLines().size(), before);
}

TEST_F(RunControl, SliderWarningHoldsTheAdvanceUntilTheAnswerComes)
{
    useSteps({step(1, "rate", 2, {sliderView}), step(2, "b", 5), step(3, "rate", 2, {sliderView})});
    startAt();
    ticks(2);
    EXPECT_EQ(status(), "step 0, 0 s, running, paused, warning");
    EXPECT_EQ(logLines().last(), "05-12-26/10:00:02.000\trate (1) paused ");
    controller.cancelSliderAdvance();
    EXPECT_EQ(status(), "step 0, 0 s, running, paused");

    controller.togglePause();
    controller.requestAdvance(controller.pause()); // DONE while running, the answer still missing
    EXPECT_EQ(status(), "step 0, 0 s, running, paused, warning") << "no answer yet: warn again";
    controller.confirmSliderAdvance();
    EXPECT_EQ(status(), "step 1, 5 s, running, paused") << "the operator resumes";
    EXPECT_FALSE(controller.pendingAdvancePhaseSkipped());

    // With the answer in, the step ends normally; it is cleared when a step begins.
    controller.togglePause();
    controller.setSliderValueReceivedAndDisplayed(true);
    ticks(5);
    EXPECT_FALSE(controller.sliderValueReceivedAndDisplayed());
    controller.setSliderValueReceivedAndDisplayed(true);
    ticks(2);
    EXPECT_EQ(status(), "step 2, 0 s, paused, completed");
}

TEST_F(RunControl, BackSkipAndRestart)
{
    useSteps({step(1, "a", 10), step(2, "b", 20), step(3, "c", 30)});
    startAt();
    controller.previousStep();
    EXPECT_EQ(status(), "step 0, 10 s, running") << "nothing before the first step";
    controller.togglePause();
    controller.advance(true);
    EXPECT_EQ(status(), "step 1, 20 s, running, paused");
    const qsizetype afterSkip = logLines().size();
    controller.previousStep();
    EXPECT_EQ(status(), "step 0, 10 s, running, paused");
    EXPECT_EQ(logLines().size(), afterSkip) << "skip and back write nothing";

    clock->advanceMs(4000);
    controller.setRemainingTime(6);
    controller.restartCurrentStep();
    EXPECT_EQ(status(), "step 0, 10 s, running, paused");
    EXPECT_EQ(logLines().mid(afterSkip), QStringList{"05-12-26/10:00:04.000\ta (1) cancelled, restarting... "});
    EXPECT_EQ(controller.current()->Starttijd(), "05-12-26/10:00:04.000");
    EXPECT_EQ(sent, QStringList{"pause"});
}

TEST_F(RunControl, StopDuringARunAndAfterAnEmptyProtocolCompleted)
{
    useSteps({step(1, "a", 10)});
    startAt();
    ticks(1);
    controller.togglePause();
    controller.stopRun();
    EXPECT_EQ(logLines().last(), "05-12-26/10:00:01.000\ta (1) stopped ");
    EXPECT_EQ(status(), "step 0, 0 s, paused, home");
    EXPECT_EQ(sent, (QStringList{"pause", "done", "resume"}));

    // An empty protocol completes at the first advance.
    sent.clear();
    controller.setShouldReturnToHome(false);
    useSteps({}, "Stress test, part 2.");
    startAt("1234");
    EXPECT_FALSE(controller.hasCurrentStep());
    EXPECT_EQ(controller.current()->testID(), "0");
    controller.advance(false);
    ASSERT_TRUE(controller.isCompleted());
    EXPECT_EQ(protocol.currentProtocolName(), "Stress test, part 2.") << "copied at the start";
    const qsizetype lines = logLines().size();
    controller.stopRun();
    EXPECT_EQ(logLines().size(), lines) << "no stopped lines after completion";
    EXPECT_EQ(sent, (QStringList{"done", "done", "resume"}));
    EXPECT_EQ(status(), "step 0, 0 s, paused, home");

    sent.clear();
    controller.stopRun();
    EXPECT_TRUE(sent.isEmpty()) << "nothing to stop";
}

TEST_F(RunControl, CurrentStepStateTable)
{
    using P = QList<std::optional<QString>>;
    const QString video = "Video (drone side)", text = "Text (drone side)", breathing = "Breathing (drone side)";
    const struct
    {
        QList<OptionalViewSettings> views;
        const char *state;
        qint64 remaining = 0;
    } cases[] = {
        {{timerView}, "timer: 60"}, {{timerView}, "timer: -4", -4}, {{{"Climbing", {}}}, "climbing: 17", 17},
        {{{"Slider (drone side)", {}}}, "slider: "}, {{{"Images (drone side)", P{std::nullopt}}}, "images: images.txt"},
        {{{text, P{""}}}, "text: "}, {{{breathing, P{" Slow\n"}}}, "breathing: 3.75, 0.0, 3.75, 0.0"},
        {{{breathing, P{"FAST"}}}, "breathing: 1.8, 0.0, 1.8, 0.0"}, {{{breathing, {}}}, "breathing: 2.5, 0.0, 2.5, 0.0"},
        {{{video, P{"clip.mp4", "yes", "no", "yes"}}}, "video: clip.mp4, false, false, true"},
        {{{video, P{"clip.mp4", "Yes"}}}, "video: clip.mp4, true, false, false"},
        {{{video, P{""}}, {text, {}}}, "text: no text was inputted on the timekeeper side"},
        {{{"Arithmetic tasks", {}}}, "black"}, {{}, "black"},
        {{{text, P{"a|b"}}, timerView}, "text: a|b"}, // the first match decides
    };
    for (const auto &c : cases) {
        useSteps({step(1, "a", 60, c.views)});
        startAt();
        controller.setRemainingTime(c.remaining);
        sent.clear();
        controller.sendCurrentStepState();
        controller.togglePause();
        controller.sendCurrentStepState(); // while paused: "pause"
        EXPECT_EQ(sent, (QStringList{c.state, "pause", "pause"})) << c.state;
        controller.stopRun();
        controller.setShouldReturnToHome(false);
    }
}
