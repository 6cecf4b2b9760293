#include "ScreenFixture.h"

#include "run/VerkeersLeiding.h"
#include "support/LabelLogLines.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

// A run of three steps on the run screen: untimed welcome, a timed rest, a
// timed rating.
class RunScreen : public ScreenFixture
{
protected:
    RunScreen()
    {
        addProtocol("run.json", {"Screens", "1", false,
                                 {step(1, "Welcome", "welcome", 0), step(2, "Rest", "rest", 30),
                                  step(3, "Rating", "rating", 3, {{"Slider (drone side)", {}}})}});
        click("runRow run.json");
        type("ppidField", "5");
        click("startButton");
    }

    VerkeersLeiding &controller() const { return app->verkeersLeiding(); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window, key, modifiers);
        settle();
    }

    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            clock->advanceMs(1000);
            controller().tick();
            settle();
        }
    }
};

} // namespace

TEST_F(RunScreen, ShowsTheStepAndItsControlsAndTheButtonsMoveBetweenSteps)
{
    ASSERT_TRUE(controller().running());
    EXPECT_EQ(text("stepName"), "Welcome");
    EXPECT_EQ(text("numericId"), "Numerical id:[1]");
    EXPECT_EQ(text("stepDescription"), "Welcome description");
    EXPECT_EQ(text("nextName"), "Rest");
    EXPECT_EQ(text("nextId"), "next step :[2]");
    EXPECT_EQ(text("pauseButton"), " PAUSE ");
    EXPECT_FALSE(enabled("skipButton"));
    EXPECT_FALSE(enabled("stopButton"));
    screenshot("run-first-step");
    click("pauseButton");
    EXPECT_EQ(text("timer"), "PAUSED: " + controller().remainingTimeText());
    EXPECT_EQ(text("pauseButton"), "CONTINUE");
    EXPECT_FALSE(enabled("backButton")) << "nothing before the first step";
    EXPECT_TRUE(enabled("skipButton"));
    EXPECT_TRUE(enabled("stopButton"));
    screenshot("run-paused");
    click("skipButton");
    EXPECT_EQ(text("stepName"), "Rest");
    click("skipButton");
    EXPECT_EQ(text("stepName"), "Rating");
    EXPECT_EQ(text("nextName"), "No more steps");
    EXPECT_FALSE(enabled("skipButton")) << "nothing after the last step";
    click("backButton");
    EXPECT_EQ(text("stepName"), "Rest");
    // A line that cannot be written is told at once, and the run goes on.
    const QString labelFile = documents.filePath("Label_files/Screens/Screens_5_1_20260601_100000.lbl");
    ASSERT_TRUE(QFile::remove(labelFile) && QDir().mkdir(labelFile));
    click("restartButton");
    EXPECT_EQ(text("stepName"), "Rest");
    ASSERT_TRUE(shown("labelWriteAlert"));
    EXPECT_EQ(text("alertTitle", find("labelWriteAlert")), "Label file not written");
    EXPECT_EQ(text("alertMessage", find("labelWriteAlert")),
              "A label line could not be written to " + labelFile
                  + ": Is a directory. The run goes on, and the label log on this screen keeps every line.");
    answer("labelWriteAlert", "OK");
    EXPECT_FALSE(shown("labelWriteAlert"));
    ASSERT_TRUE(QDir().rmdir(labelFile));
    click("pauseButton");
    EXPECT_FALSE(shown("doneButton")) << "a timed step ends by its time";
    ticks(21);
    // The application's own second tick may come in between.
    EXPECT_EQ(text("timer"), controller().remainingTimeText());
    EXPECT_LE(controller().remainingTime(), 9) << "each tick counts a second down";
    click("pauseButton");
    click("stopButton");
    EXPECT_FALSE(controller().running());
    EXPECT_TRUE(shown("startButton"));
}

TEST_F(RunScreen, TheKeyboardDrivesTheControlsTheirButtonsAllowQuitAsksAndANoteGoesIntoTheLabelLog)
{
    // BACK is disabled on the first step and DONE hidden on a timed one; P pauses for the arrows.
    const std::pair<Qt::Key, QString> presses[]{{Qt::Key_Left, "Welcome"}, {Qt::Key_Return, "Rest"},
                                                {Qt::Key_Return, "Rest"},   {Qt::Key_P, "Rest"},
                                                {Qt::Key_Right, "Rating"},  {Qt::Key_Left, "Rest"}};
    for (const auto &[key, step] : presses) {
        press(key, Qt::ControlModifier);
        EXPECT_EQ(text("stepName"), step) << QKeySequence(key).toString().toStdString();
    }
    EXPECT_TRUE(controller().pause());
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_FALSE(controller().pause());
    press(Qt::Key_Q, Qt::ControlModifier);
    ASSERT_TRUE(shown("quitAlert")) << "Ctrl+Q asks as closing the window does";
    answer("quitAlert", "Cancel");
    EXPECT_TRUE(!shown("quitAlert") && controller().running() && window->isVisible());
    EXPECT_EQ(text("logButton"), "Open log");
    EXPECT_EQ(text("labelLog"), "") << "the hidden log holds no copy of the lines";
    click("logButton");
    EXPECT_EQ(text("logButton"), "Hide log");
    type("noteField", "  electrode 3 loose  ");
    click("addNoteButton");
    EXPECT_EQ(text("noteField"), "");
    EXPECT_TRUE(labelLogLines(controller()).last().endsWith("\telectrode 3 loose"));
    EXPECT_TRUE(text("labelLog").contains("electrode 3 loose"));
    screenshot("run-log-open");
}

TEST_F(RunScreen, SliderWarningWaitsOrProceedsToTheCompletionAndItsTimeline)
{
    for (const char *button : {"doneButton", "pauseButton", "skipButton", "pauseButton"})
        click(button);
    ASSERT_EQ(text("stepName"), "Rating");
    ticks(3);
    EXPECT_EQ(text("alertTitle", find("sliderWarning")), "Slider value not received");
    // The keyboard stays in the alert, from its default button on.
    EXPECT_EQ(focused(), "alertButton Wait");
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), "alertButton Proceed anyway");
    screenshot("run-slider-warning");
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), "alertButton Wait") << "round the alert's buttons, never to those behind";
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), "alertButton Wait");
    press(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(shown("sliderWarning")) << "DONE behind the alert does not react";
    press(Qt::Key_Space);
    EXPECT_FALSE(shown("sliderWarning"));
    EXPECT_FALSE(controller().showLog()) << "Space pressed Wait, not Open log";
    EXPECT_FALSE(controller().isCompleted());
    click("pauseButton");
    ticks(1);
    press(Qt::Key_Tab);
    press(Qt::Key_Return);
    ASSERT_TRUE(shown("completionOverlay"));
    EXPECT_EQ(text("retrievalHint"),
              "To retrieve it, go to: " + QDir::toNativeSeparators(documents.filePath("Label_files/Screens")));
    EXPECT_EQ(text("labelFileName"), "Label file: Screens_5_1_20260601_100000.lbl");
    QObject *timeline = find("timeline");
    ASSERT_TRUE(shown("timeline"));
    EXPECT_EQ(timeline->property("source").toString(),
              documents.filePath("Label_files/Screens/Screens_5_1_20260601_100000.lbl"));
    for (qreal x = 0; x < timeline->property("width").toReal() && !shown("timelineTip"); x += 4)
        QMetaObject::invokeMethod(timeline, "pointAt", Q_ARG(qreal, x), Q_ARG(qreal, 74));
    settle();
    EXPECT_TRUE(timeline->property("pointedText").toString().startsWith("welcome (1): ")) << "the first row's bar";
    screenshot("completion");
    QMetaObject::invokeMethod(timeline, "clearPointed");
    click("returnHomeButton");
    EXPECT_TRUE(shown("startButton"));
}
