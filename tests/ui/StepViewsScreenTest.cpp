#include "ScreenFixture.h"

#include "bridge/BLEDeviceBrowserView.h"
#include "bridge/BloodPersureView.h"
#include "drone/MultipeerSession.h"
#include "run/StartViewModel.h"
#include "run/VerkeersLeiding.h"
#include "support/DroneProcess.h"
#include "support/LabelLogLines.h"
#include "support/FastBridge.h"

#include <QQuickItem>
#include <QTest>

namespace {

// A run whose first step holds one optional view.
class StepScreens : public FastBridge, public ScreenFixture
{
protected:
    void startWith(const OptionalViewSettings &view, bool usesDrone = false)
    {
        addProtocol("views.json", {"Views", "1", usesDrone, {step(1, "Task", "task", 0, {view})}});
        click("runRow views.json");
        type("ppidField", "5");
    }

    void pressStart()
    {
        click("startButton");
        ASSERT_TRUE(controller().running());
    }

    bool waitFor(const std::function<bool()> &condition, int timeoutMs = 10000)
    {
        return QTest::qWaitFor(condition, timeoutMs);
    }

    VerkeersLeiding &controller() const { return app->verkeersLeiding(); }
};

} // namespace

TEST_F(StepScreens, ArithmeticNeedsTheDroneChosenInThePeerBrowser)
{
    startWith({"Arithmetic tasks", {"TTR_addition_problems_1.txt"}}, true);
    EXPECT_EQ(text("droneButton"), "Find drone");
    click("droneButton");
    ASSERT_TRUE(shown("peerBrowser"));
    EXPECT_FALSE(enabled("peerBrowserDone"));
    // Found while the sheet is open, so nothing invites it but the operator.
    DroneProcess drone("Lab drone");
    ASSERT_TRUE(waitFor([&] {
        const auto choices = models->peerBrowser()->peers()->choices();
        return choices.size() == 1 && choices.first().label == "Lab drone";
    }));
    settle();
    click("peer Lab drone");
    ASSERT_TRUE(waitFor([&] { return app->VESK_Session().isConnected(); }));
    settle();
    EXPECT_TRUE(enabled("peerBrowserDone"));
    screenshot("peer-browser");
    click("peerBrowserDone");
    EXPECT_FALSE(shown("peerBrowser"));
    EXPECT_EQ(text("droneInfo"), "Drone device name: Lab drone");

    pressStart();
    ASSERT_TRUE(shown("optionalView Arithmetic"));
    EXPECT_EQ(text("problem"), "2 + 5 =7");
    ASSERT_TRUE(drone.waitForLine("state"));
    ASSERT_TRUE(waitFor([&] { return drone.lines().filter(": text: 2 + 5 =").size() == 1; }));
    screenshot("step-arithmetic");

    click("correctButton");
    EXPECT_EQ(text("problem"), "3 + 8 =11");
    click("wrongButton");
    const QString scores = QString::fromUtf8(documents.read("Label_files/Views/timelabelsPPID_5.lbl"));
    EXPECT_TRUE(scores.contains("\t2 + 5 = Correct")) << scores.toStdString();
    EXPECT_TRUE(scores.contains("\t3 + 8 = Wrong")) << scores.toStdString();
    EXPECT_TRUE(waitFor([&] { return drone.lines().filter(": text: 4 + 8 =").size() == 1; }));
}

TEST_F(StepScreens, TypedDroneAddressIsCheckedBeforeInviting)
{
    DroneProcess drone("Far drone");
    startWith({"Timer (drone side)", {}}, true);
    click("droneButton");
    type("droneAddress", "not an address");
    click("connectAddress");
    ASSERT_TRUE(shown("droneAddressError"));
    EXPECT_EQ(text("droneAddressError"), "Type the drone's address as host:port, for example 192.168.1.20:52000");

    type("droneAddress", "127.0.0.1:" + QString::number(drone.port()));
    click("connectAddress");
    EXPECT_FALSE(shown("droneAddressError"));
    ASSERT_TRUE(waitFor([&] { return app->VESK_Session().isConnected(); }));
    settle();
    click("peerBrowserDone");
    pressStart();
    EXPECT_TRUE(drone.waitForLine("state"));
}

TEST_F(StepScreens, QuestionnaireWritesEachRating)
{
    startWith({"Questionnaire (timekeeper side)", {"Resting.txt"}});
    pressStart();
    ASSERT_TRUE(shown("optionalView Questionnaire"));
    EXPECT_EQ(text("questionnaireButton"), "Start");

    click("questionnaireButton");
    EXPECT_EQ(text("question"), "How relaxed do you feel right now?");
    EXPECT_EQ(text("questionnaireButton"), "Next");
    QObject *slider = find("ratingSlider");
    ASSERT_NE(slider, nullptr);
    slider->setProperty("value", 4.2);
    QMetaObject::invokeMethod(slider, "moved");
    settle();
    screenshot("step-questionnaire");
    click("questionnaireButton");
    EXPECT_EQ(text("question"), "How sleepy do you feel?");
    EXPECT_EQ(labelLogLines(controller()).filter("\tHow relaxed do you feel right now? 4").size(), 1);
}

TEST_F(StepScreens, ClimbingMarksAttemptsAndLocksAfterAFall)
{
    startWith({"Climbing", {}});
    pressStart();
    ASSERT_TRUE(shown("optionalView Climbing"));
    EXPECT_EQ(text("attemptStartButton"), "Attempt Start");
    EXPECT_EQ(text("fallButton"), "Participant Fell");

    click("attemptStartButton");
    click("successfulAttemptButton");
    click("fallButton");
    EXPECT_FALSE(enabled("fallButton"));
    EXPECT_TRUE(text("fallButton").startsWith("You can restart in "));
    screenshot("step-climbing");
    const QStringList lines = labelLogLines(controller());
    EXPECT_EQ(lines.filter("\tAttempt start").size(), 1);
    EXPECT_EQ(lines.filter("\tSuccessful attempt").size(), 1);
    EXPECT_EQ(lines.filter("\tParticipant fell").size(), 1);
}

TEST_F(StepScreens, ExercisesShowTheFirstExerciseAndItsTime)
{
    startWith({"Exercises", {"warmup.json"}});
    pressStart();
    ASSERT_TRUE(shown("optionalView Exercises"));
    ASSERT_TRUE(waitFor([&] { return shown("exerciseName"); }));
    EXPECT_EQ(text("exerciseName"), "Arm circles");
    EXPECT_FALSE(text("exerciseRemaining").isEmpty());
    screenshot("step-exercises");
}

TEST_F(StepScreens, ImageListShowsItsPictures)
{
    startWith({"Images (timekeeper side)", {"images.txt"}});
    pressStart();
    ASSERT_TRUE(shown("optionalView ImagesTimekeeper"));
    EXPECT_FALSE(shown("imageLoadError"));
    EXPECT_EQ(find("imageView")->property("model").value<QObject *>()->property("imageSources").toStringList().size(),
              4);
    screenshot("step-images");
}

TEST_F(StepScreens, MissingImageListIsNamed)
{
    startWith({"Images (timekeeper side)", {"missing.txt"}});
    pressStart();
    ASSERT_TRUE(shown("imageLoadError"));
    EXPECT_EQ(text("imageLoadError"), "Missing image list file: missing.txt");
}

TEST_F(StepScreens, BloodPressureConnectsThroughTheBrowserAndMeasures)
{
    startWith({"Blood pressure monitoring (timekeeper side)", {}});
    pressStart();
    ASSERT_TRUE(shown("optionalView BloodPressure"));
    EXPECT_EQ(text("bpDeviceButton"), "Find Device");
    EXPECT_FALSE(enabled("bpMeasurementButton"));

    auto *step = qobject_cast<BloodPersureView *>(find("bloodPressureView")->property("model").value<QObject *>());
    ASSERT_NE(step, nullptr);
    click("bpDeviceButton");
    ASSERT_TRUE(shown("deviceBrowser"));
    EXPECT_FALSE(enabled("deviceBrowserConnect"));
    ASSERT_TRUE(waitFor([&] { return !step->deviceBrowser()->searching(); }));
    settle();
    screenshot("step-device-browser");
    step->deviceBrowser()->select(0);
    settle();
    click("deviceBrowserConnect");
    ASSERT_TRUE(waitFor([&] { return enabled("bpMeasurementButton"); })) << text("bpStatus").toStdString();
    EXPECT_TRUE(text("bpStatus").startsWith("Ready for measurement")) << text("bpStatus").toStdString();
    EXPECT_FALSE(shown("deviceBrowser"));

    click("bpMeasurementButton");
    ASSERT_TRUE(waitFor([&] { return !labelLogLines(controller()).filter("\tBlood pressure").isEmpty(); }));
    ASSERT_TRUE(waitFor([&] { return shown("bpLast"); }));
    EXPECT_TRUE(text("bpLast").startsWith("Last: ")) << text("bpLast").toStdString();
    // The whole screen fits a 1024 x 768 window, down to the last version line.
    ASSERT_EQ(window->size(), QSize(1024, 768));
    auto *lastLine = qobject_cast<QQuickItem *>(find("footerBuildDate"));
    ASSERT_NE(lastLine, nullptr);
    EXPECT_LE(lastLine->mapToScene(QPointF(0, lastLine->height())).y(), window->height());
    screenshot("step-blood-pressure");
}

TEST_F(StepScreens, UnknownViewNameShowsTheRedError)
{
    startWith({"exercises", {}});
    pressStart();
    ASSERT_TRUE(shown("optionalView Invalid"));
    EXPECT_EQ(text("invalidViewText"), "Invalid OptionalView: 'exercises'");
    EXPECT_TRUE(console.contains("WARNING: Unrecognized OptionalView ViewName: 'exercises' - sending black state"));
}
