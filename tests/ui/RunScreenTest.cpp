#include "ScreenFixture.h"

#include "run/StartViewModel.h"
#include "drone/MultipeerSession.h"
#include "run/VerkeersLeiding.h"
#include "support/LabelLogLines.h"

#include <QColor>
#include <QDir>
#include <QTest>

namespace {

// A run on the run screen; the states sent to the drone are kept.
class RunningProtocol : public ScreenFixture
{
protected:
    void startRun(const Protocol &protocol)
    {
        QObject::connect(&app->VESK_Session(), &MultipeerSession::stateQueued,
                         [this](const QString &payload) { sent.append(payload); });
        addProtocol("run.json", protocol);
        click("runRow run.json");
        type("ppidField", "5");
        click("startButton");
    }

    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            clock->advanceMs(1000);
            app->verkeersLeiding().tick();
            settle();
        }
    }

    QStringList sent;
};

// A run of three steps: untimed welcome, a timed rest, a timed rating.
class RunScreen : public RunningProtocol
{
protected:
    RunScreen()
    {
        startRun({"Screens", "1", false,
                  {step(1, "Welcome", "welcome", 0), step(2, "Rest", "rest", 30),
                   step(3, "Rating", "rating", 3, {{"Slider (drone side)", {}}})}});
    }

    VerkeersLeiding &controller() const { return app->verkeersLeiding(); }

    QStringList logLines() const { return labelLogLines(controller()); }

    void pause()
    {
        ASSERT_EQ(text("pauseButton"), " PAUSE ");
        click("pauseButton");
        ASSERT_TRUE(controller().pause());
    }

    // From the first step to the completion screen, answering the slider warning.
    void finishRun()
    {
        click("doneButton");
        pause();
        click("skipButton");
        click("pauseButton");
        ticks(3);
        ASSERT_TRUE(shown("sliderWarning"));
        click("alertButton Proceed anyway", find("sliderWarning"));
        ASSERT_TRUE(controller().isCompleted());
    }
};

} // namespace

TEST_F(RunScreen, FirstStepIsUntimedWithDoneAndNoBack)
{
    ASSERT_TRUE(controller().running());
    EXPECT_TRUE(documents.exists("Label_files/Screens"));
    EXPECT_EQ(text("stepName"), "Welcome");
    EXPECT_EQ(text("numericId"), "Numerical id:[1]");
    EXPECT_EQ(text("stepDescription"), "Welcome description");
    EXPECT_EQ(text("nextName"), "Rest");
    EXPECT_EQ(text("nextId"), "next step :[2]");
    EXPECT_TRUE(shown("doneButton"));
    EXPECT_TRUE(shown("pauseButton"));
    EXPECT_FALSE(enabled("backButton"));
    EXPECT_FALSE(enabled("skipButton"));
    EXPECT_FALSE(enabled("restartButton"));
    EXPECT_TRUE(shown("stopButton"));
    EXPECT_FALSE(enabled("stopButton"));
    screenshot("run-first-step");

    pause();
    EXPECT_TRUE(text("timer").startsWith("PAUSED: "));
    EXPECT_EQ(find("timer")->property("color").value<QColor>(), QColor("red"));
    EXPECT_FALSE(shown("timerArrow"));
    EXPECT_EQ(text("pauseButton"), "CONTINUE");
    EXPECT_FALSE(enabled("backButton")) << "nothing before the first step";
    EXPECT_TRUE(enabled("skipButton"));
    EXPECT_TRUE(enabled("restartButton"));
    EXPECT_TRUE(enabled("stopButton"));
    screenshot("run-paused");

    click("pauseButton");
    EXPECT_FALSE(controller().pause());
    click("doneButton");
    EXPECT_EQ(text("stepName"), "Rest");
}

TEST_F(RunScreen, TimedStepHidesDoneAndCountsDown)
{
    click("doneButton");
    ASSERT_EQ(text("stepName"), "Rest");
    EXPECT_FALSE(shown("doneButton"));
    EXPECT_EQ(find("timer")->property("color").value<QColor>(), QColor("black"));
    EXPECT_EQ(find("timerArrow")->property("name").toString(), "arrow.down");
    const QString before = text("timer");
    ticks(21);
    EXPECT_NE(text("timer"), before);
    EXPECT_EQ(find("timer")->property("color").value<QColor>(), QColor("red")) << "ten seconds or less left";
}

TEST_F(RunScreen, PausedControlsMoveBetweenSteps)
{
    click("doneButton");
    pause();
    ASSERT_TRUE(enabled("backButton"));
    click("backButton");
    EXPECT_EQ(text("stepName"), "Welcome");

    click("skipButton");
    EXPECT_EQ(text("stepName"), "Rest");
    click("skipButton");
    EXPECT_EQ(text("stepName"), "Rating");
    EXPECT_EQ(text("nextName"), "No more steps");
    EXPECT_FALSE(enabled("skipButton")) << "nothing after the last step";
    EXPECT_TRUE(enabled("backButton"));

    click("restartButton");
    EXPECT_EQ(text("stepName"), "Rating");
    EXPECT_TRUE(controller().pause()) << "restart keeps the pause";
    screenshot("run-last-step-paused");
}

TEST_F(RunScreen, KeyboardDrivesTheControlsTheirButtonsAllow)
{
    const auto press = [this](Qt::Key key) {
        QTest::keyClick(window, key, Qt::ControlModifier);
        settle();
    };
    press(Qt::Key_Left);
    EXPECT_EQ(text("stepName"), "Welcome") << "BACK is disabled on the first step";
    press(Qt::Key_Return);
    EXPECT_EQ(text("stepName"), "Rest");
    press(Qt::Key_Return);
    EXPECT_EQ(text("stepName"), "Rest") << "DONE is hidden on a timed step";

    press(Qt::Key_P);
    ASSERT_TRUE(controller().pause());
    press(Qt::Key_Right);
    EXPECT_EQ(text("stepName"), "Rating");
    press(Qt::Key_Left);
    EXPECT_EQ(text("stepName"), "Rest");
    press(Qt::Key_P);
    EXPECT_FALSE(controller().pause());
}

TEST_F(RunScreen, SliderWarningButtons)
{
    click("doneButton");
    pause();
    click("skipButton");
    click("pauseButton");
    ASSERT_EQ(text("stepName"), "Rating");
    ASSERT_FALSE(controller().pause());

    ticks(3);
    ASSERT_TRUE(shown("sliderWarning"));
    QObject *warning = find("sliderWarning");
    EXPECT_EQ(text("alertTitle", warning), models->currentStep()->sliderWarningTitle());
    EXPECT_EQ(text("alertMessage", warning), models->currentStep()->sliderWarningMessage());
    EXPECT_TRUE(controller().pause());
    screenshot("run-slider-warning");

    click("alertButton Wait", warning);
    EXPECT_FALSE(shown("sliderWarning"));
    EXPECT_EQ(text("stepName"), "Rating");
    EXPECT_FALSE(controller().isCompleted());

    click("pauseButton");
    ticks(1);
    ASSERT_TRUE(shown("sliderWarning"));
    click("alertButton Proceed anyway", find("sliderWarning"));
    EXPECT_TRUE(controller().isCompleted());
    EXPECT_TRUE(shown("completionOverlay"));
}

TEST_F(RunScreen, NoteGoesIntoTheLabelLog)
{
    EXPECT_EQ(text("logButton"), "Open log");
    click("logButton");
    EXPECT_EQ(text("logButton"), "Hide log");
    ASSERT_TRUE(shown("labelLog"));

    type("noteField", "  electrode 3 loose  ");
    click("addNoteButton");
    EXPECT_EQ(text("noteField"), "");
    ASSERT_FALSE(logLines().isEmpty());
    EXPECT_TRUE(logLines().last().endsWith("\telectrode 3 loose"));
    EXPECT_TRUE(text("labelLog").contains("electrode 3 loose"));
    screenshot("run-log-open");

    const qsizetype lines = logLines().size();
    type("noteField", "   ");
    click("addNoteButton");
    EXPECT_EQ(logLines().size(), lines) << "blank notes are not logged";
}

TEST_F(RunScreen, StopOnlyWhilePausedAndReturnsHome)
{
    EXPECT_FALSE(enabled("stopButton"));
    pause();
    click("stopButton");
    EXPECT_FALSE(controller().running());
    EXPECT_TRUE(logLines().last().contains("stopped"));
    EXPECT_TRUE(shown("startButton"));
}

TEST_F(RunScreen, CompletionAndEmailDialog)
{
    finishRun();
    ASSERT_TRUE(shown("completionOverlay"));
    EXPECT_EQ(text("retrievalHint"),
              "To retrieve it, go to: " + QDir::toNativeSeparators(documents.filePath("Label_files/Screens")));
    EXPECT_TRUE(sent.contains("done"));
    QObject *timeline = find("timeline");
    ASSERT_TRUE(shown("timeline"));
    EXPECT_EQ(timeline->property("source").toString(),
              documents.filePath("Label_files/Screens/Screens_5_1_20260601_100000.lbl"));
    EXPECT_GT(timeline->property("implicitHeight").toReal(), 100);
    for (qreal x = 0; x < timeline->property("width").toReal() && !shown("timelineTip"); x += 4)
        QMetaObject::invokeMethod(timeline, "pointAt", Q_ARG(qreal, x), Q_ARG(qreal, 74));
    settle();
    EXPECT_TRUE(timeline->property("pointedText").toString().startsWith("welcome (1): ")) << "the first row's bar";
    EXPECT_TRUE(shown("timelineTip"));
    screenshot("completion");
    QMetaObject::invokeMethod(timeline, "clearPointed");

    click("exportButton");
    ASSERT_TRUE(shown("emailDialog"));
    EXPECT_FALSE(enabled("emailSend"));
    EXPECT_EQ(find("emailSend")->property("tint").value<QColor>(), QColor("#dbdeff"));
    type("emailField", "researcher@lab");
    EXPECT_FALSE(enabled("emailSend"));
    type("emailField", "researcher@example.org");
    EXPECT_TRUE(enabled("emailSend"));
    EXPECT_EQ(find("emailSend")->property("tint").value<QColor>(), QColor("#8991f5"));
    screenshot("completion-email");

    composer.hasMailProgram = false;
    click("emailSend");
    EXPECT_FALSE(shown("emailDialog"));
    EXPECT_TRUE(sound.played.contains(1303));
    ASSERT_TRUE(shown("emailStatusAlert"));
    EXPECT_EQ(text("alertTitle", find("emailStatusAlert")), "Email Status");
    EXPECT_EQ(text("alertMessage", find("emailStatusAlert")),
              "Mail services are not available on this device. Please configure Mail app first.");
    click("alertButton OK", find("emailStatusAlert"));
    EXPECT_FALSE(shown("emailStatusAlert"));
    EXPECT_TRUE(composer.presented.isEmpty());

    composer.hasMailProgram = true;
    click("exportButton");
    click("emailSend");
    ASSERT_EQ(composer.presented.size(), 1);
    EXPECT_EQ(composer.presented.first().recipients, QStringList{"researcher@example.org"});
    EXPECT_FALSE(shown("emailStatusAlert"));

    click("returnHomeButton");
    EXPECT_TRUE(shown("startButton"));
    EXPECT_FALSE(controller().isCompleted());
}

namespace {

// A timer step, a step without views, a text step and a breathing step.
class DroneStatesOfARun : public RunningProtocol
{
protected:
    DroneStatesOfARun()
    {
        startRun({"States", "1", false,
                  {step(1, "Rest", "rest", 3, {{"Timer (drone side)", {}}}), step(2, "Quiet", "quiet", 10),
                   step(3, "Read", "read", 0, {{"Text (drone side)", {"Read"}}}),
                   step(4, "Breathe", "breathe", 5, {{"Breathing (drone side)", {}}})}});
    }
};

} // namespace

TEST_F(DroneStatesOfARun, EveryStateInOrderWithSkipAndBack)
{
    ticks(3);
    ASSERT_EQ(text("stepName"), "Quiet");
    ticks(10);
    ASSERT_EQ(text("stepName"), "Read");
    click("pauseButton");
    click("skipButton");
    ASSERT_EQ(text("stepName"), "Breathe");
    click("backButton");
    ASSERT_EQ(text("stepName"), "Read");
    click("pauseButton");
    click("doneButton");
    ASSERT_EQ(text("stepName"), "Breathe");
    ticks(5);
    ASSERT_TRUE(shown("completionOverlay"));
    EXPECT_EQ(sent, (QStringList{"timer: 2", "black", "text: Read", "pause", "resume", "text: Read",
                                 "breathing: 2.5, 0.0, 2.5, 0.0", "done", "done"}))
        << "the rest's timer sends nothing once its step is over; paused steps send nothing";
}
