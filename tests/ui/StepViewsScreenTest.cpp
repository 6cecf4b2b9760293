#include "ScreenFixture.h"

#include "drone/MultipeerSession.h"
#include "run/VerkeersLeiding.h"
#include "support/DroneProcess.h"
#include "support/FastBridge.h"
#include "support/LabelLogLines.h"

#include <QImage>
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
        if (usesDrone)
            return;
        click("startButton");
    }
    static bool waitFor(const std::function<bool()> &condition) { return QTest::qWaitFor(condition, 10000); }
    QStringList logLines() const { return labelLogLines(app->verkeersLeiding()); }
};

// A view, its screen and a text it shows; the buttons pressed then and the
// label log lines each press writes.
struct ViewCase
{
    OptionalViewSettings view;
    QString screen, textObject, expected;
    QStringList presses{}, logged{};
    friend void PrintTo(const ViewCase &c, std::ostream *out) { *out << c.screen.toStdString(); }
};

class EachStepView : public StepScreens, public ::testing::WithParamInterface<ViewCase>
{};

} // namespace

TEST_P(EachStepView, ShowsItsScreenAndItsButtonsWriteTheLabelLog)
{
    const ViewCase &c = GetParam();
    startWith(c.view);
    ASSERT_TRUE(shown("optionalView " + c.screen));
    EXPECT_TRUE(waitFor([&] { return text(c.textObject) == c.expected; })) << text(c.textObject).toStdString();
    for (const QString &button : c.presses)
        click(button);
    for (const QString &line : c.logged)
        EXPECT_EQ(logLines().filter(line).size(), 1) << line.toStdString();
    screenshot("step-" + c.screen.toLower());
}

INSTANTIATE_TEST_SUITE_P(
    Views, EachStepView,
    ::testing::Values(ViewCase{{"Exercises", {"warmup.json"}}, "Exercises", "exerciseName", "Arm circles"},
                      ViewCase{{"Images (timekeeper side)", {"missing.txt"}}, "ImagesTimekeeper", "imageLoadError",
                               "Missing image list file: missing.txt"},
                      ViewCase{{"exercises", {}}, "Invalid", "invalidViewText", "Invalid OptionalView: 'exercises'"},
                      ViewCase{{"Climbing", {}}, "Climbing", "fallButton", "Participant Fell",
                               {"attemptStartButton", "successfulAttemptButton", "fallButton"},
                               {"\tAttempt start", "\tSuccessful attempt", "\tParticipant fell"}},
                      ViewCase{{"Questionnaire (timekeeper side)", {"Resting.txt"}}, "Questionnaire",
                               "questionnaireButton", "Start", {"questionnaireButton", "questionnaireButton"},
                               {"\tHow relaxed do you feel right now? "}}));

TEST_F(StepScreens, TheChooserServesTheTabletPageAndArithmeticNeedsTheDroneChosenInIt)
{
    startWith({"Arithmetic tasks", {"TTR_addition_problems_1.txt"}}, true);
    click("droneButton");
    ASSERT_TRUE(shown("peerBrowser"));
    EXPECT_EQ(text("webDroneSwitch"), "Use a tablet's browser");
    EXPECT_FALSE(shown("webDroneAddress"));
    click("webDroneSwitch");
    ASSERT_TRUE(webDrone->enabled());
    EXPECT_EQ(text("webDroneAddress"), QStringLiteral("http://127.0.0.1:%1/").arg(webDrone->port()));
    EXPECT_EQ(text("webDroneHint"), "Scan the code with the tablet.");
    const QString pairing = property("webDroneQrCode", "text").toString();
    EXPECT_TRUE(pairing.startsWith(text("webDroneAddress") + "#pair=")) << pairing.toStdString();
    // Drawn: dark modules and light ones.
    auto *qr = qobject_cast<QQuickItem *>(find("webDroneQrCode"));
    ASSERT_TRUE(shown("webDroneQrCode"));
    const QImage drawn = window->grabWindow()
                             .copy(qr->mapRectToScene(qr->boundingRect()).toRect())
                             .convertToFormat(QImage::Format_Grayscale8);
    const auto dark = std::count_if(drawn.constBits(), drawn.constBits() + drawn.sizeInBytes(), [](uchar g) { return g < 128; });
    EXPECT_TRUE(dark > drawn.sizeInBytes() / 10 && dark < drawn.sizeInBytes() * 7 / 10) << dark;
    click("webDroneNewCode");
    EXPECT_NE(property("webDroneQrCode", "text").toString(), pairing);
    click("webDroneSwitch");
    EXPECT_FALSE(webDrone->enabled());
    EXPECT_FALSE(shown("webDroneQrCode"));
    type("droneAddress", "not an address");
    click("connectAddress");
    EXPECT_EQ(text("droneAddressError"), "Type the drone's address as host:port, for example 192.168.1.20:52000");
    EXPECT_TRUE(shown("droneAddressError"));
    // Found while the sheet is open, so nothing invites it but the operator;
    // a drone not paired yet is paired first.
    DroneProcess drone("Lab drone", {}, DroneProcess::Screen::none, DroneProcess::Pairing::none);
    ASSERT_TRUE(waitFor([&] {
        const auto choices = models->peerBrowser()->peers()->choices();
        return choices.size() == 1 && choices.first().label == "Lab drone";
    }));
    settle();
    EXPECT_EQ(text("peer Lab drone"), "Lab drone  \u2014 not paired");
    click("peer Lab drone");
    ASSERT_TRUE(waitFor([&] { return app->VESK_Session().isPairing(); }));
    settle();
    EXPECT_TRUE(shown("pairingPanel"));
    EXPECT_EQ(text("pairingTitle"), "Pairing with Lab drone");
    const QString code = text("pairingCode");
    EXPECT_EQ(text("pairingHint"), "Check that the drone shows the same code, then press Pair here and on the drone.");
    ASSERT_TRUE(drone.waitForLine("pairing code " + code + " with "));
    screenshot("pairing-timekeeper");
    click("pairButton");
    EXPECT_EQ(text("pairingHint"), "Waiting for Pair on the drone...");
    EXPECT_FALSE(enabled("pairButton"));
    drone.command("pair");
    ASSERT_TRUE(waitFor([&] { return app->VESK_Session().isConnected(); }));
    settle();
    screenshot("peer-browser");
    click("peerBrowserDone");
    EXPECT_EQ(text("droneInfo"), "Drone device name: Lab drone");
    click("startButton");
    ASSERT_TRUE(shown("optionalView Arithmetic"));
    EXPECT_EQ(text("problem"), "2 + 5 =7");
    screenshot("step-arithmetic");
    click("correctButton");
    EXPECT_EQ(text("problem"), "3 + 8 =11");
    click("wrongButton");
    const QString scores = QString::fromUtf8(documents.read("Label_files/Views/timelabelsPPID_5.lbl"));
    EXPECT_TRUE(scores.contains("\t2 + 5 = Correct\n") && scores.contains("\t3 + 8 = Wrong\n")) << scores.toStdString();
}

TEST_F(StepScreens, BloodPressureFitsTheWindowAndOpensTheDeviceBrowser)
{
    // Connecting (BloodPressureStepTest) and measuring through these screens (WholeRun) are tested elsewhere.
    startWith({"Blood pressure monitoring (timekeeper side)", {}});
    EXPECT_EQ(text("bpDeviceButton"), "Find Device");
    EXPECT_FALSE(enabled("bpMeasurementButton"));
    // The whole screen fits a 1024 x 768 window, down to the last version line.
    ASSERT_EQ(window->size(), QSize(1024, 768));
    auto *lastLine = qobject_cast<QQuickItem *>(find("footerBuildDate"));
    ASSERT_NE(lastLine, nullptr);
    EXPECT_LE(lastLine->mapToScene(QPointF(0, lastLine->height())).y(), window->height());
    screenshot("step-blood-pressure");
    click("bpDeviceButton");
    EXPECT_TRUE(shown("deviceBrowser"));
}
