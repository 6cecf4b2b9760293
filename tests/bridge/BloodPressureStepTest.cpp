#include "bridge/BLEDeviceBrowserView.h"
#include "bridge/BloodPersureView.h"
#include "bridge/EspBleCentral.h"
#include "run/RunFixture.h"
#include "support/FastBridge.h"

#include <QTest>

namespace {

const QString started = "05-12-26/10:00:00.000\tBlood pressure measurement started...";
const QString logged = "05-12-26/10:00:00.000\tBlood pressure: ";

bool waitFor(const std::function<bool()> &condition) { return QTest::qWaitFor(condition, 10000); }
// Lets every queued callback run.
void settle()
{
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
}

class BloodPressureStepTest : public FastBridge, public RunFixture
{
protected:
    BloodPressureStepTest()
    {
        central.setKeepAlivePeriod(std::chrono::milliseconds(5));
        useSteps({step(1, "bp", 600)});
        startAt();
        view.appeared();
    }

    void connectThroughBrowser()
    {
        view.deviceButtonPressed();
        ASSERT_TRUE(waitFor([&] { return !view.deviceBrowser()->searching(); }));
        view.deviceBrowser()->select(0);
        view.deviceBrowser()->connectSelected();
        ASSERT_TRUE(waitFor([&] { return central.displayText() == bridge->display(); }));
    }

    QStringList bloodPressureLines() const { return logLines().filter("\tBlood pressure"); }

    EspBleCentral &central = *controller.bleManager();
    BloodPersureView view{controller};
};

} // namespace

TEST_F(BloodPressureStepTest, ButtonsFollowTheLink)
{
    EXPECT_FALSE(view.measurementButtonEnabled());
    connectThroughBrowser();
    EXPECT_FALSE(view.showDeviceBrowser()) << "Connect closes the sheet";
    EXPECT_EQ(view.deviceButtonText(), "Disconnect");
    EXPECT_TRUE(view.measurementButtonEnabled());
    EXPECT_TRUE(BloodPersureView(controller).measurementButtonEnabled()) << "the next step measures on the same link";

    view.deviceButtonPressed();
    ASSERT_TRUE(waitFor([&] { return !central.isConnected(); }));
    EXPECT_FALSE(view.hasSelectedDevice());
    EXPECT_EQ(view.deviceButtonText(), "Find Device");
    EXPECT_FALSE(view.measurementButtonEnabled());

    connectThroughBrowser();
    bridge->dropLink("out of range");
    ASSERT_TRUE(waitFor([&] { return !central.isConnected(); }));
    EXPECT_FALSE(view.hasSelectedDevice()) << "a lost link clears the selection";
}

TEST_F(BloodPressureStepTest, StartLogsOnceStopSendsTheSamePulseAndTheCancelAdviceIsNotLogged)
{
    view.startStopMeasurement();
    EXPECT_TRUE(bloodPressureLines().isEmpty()) << "nothing starts without a link";

    connectThroughBrowser();
    view.startStopMeasurement();
    ASSERT_EQ(bloodPressureLines(), QStringList{started});
    ASSERT_TRUE(waitFor([&] { return central.isMeasuring(); }));
    view.startStopMeasurement();
    const QByteArray pulse = EspBleCentral::pulsePayload(BloodPersureView::pulseLength);
    const auto isPulse = [&](const auto &w) { return w.uuid == EspBleCentral::pulseCharUUID && w.value == pulse; };
    EXPECT_EQ(std::count_if(bridge->writes().cbegin(), bridge->writes().cend(), isPulse), 2)
        << "stopping sends the starting pulse again";
    const QString advice = " " + BloodPersureView::cancelledMeasurementAdvice;
    ASSERT_TRUE(waitFor([&] { return central.lastMeasurement() == advice && !central.errorOccured(); }));
    settle();
    EXPECT_EQ(bloodPressureLines(), QStringList{started});
    EXPECT_EQ(view.measurementButtonText(), "Start Measurement") << "the monitor gave the measurement up";
    view.startStopMeasurement();
    EXPECT_EQ(bloodPressureLines(), (QStringList{started, started})) << "the next measurement has its start line";
}

TEST_F(BloodPressureStepTest, AResultLogsOnceAndNeverWhilePaused)
{
    connectThroughBrowser();
    const auto finished = [&](const QString &result) {
        return waitFor([&] { return central.lastMeasurement() == result && !central.isMeasuring(); });
    };
    view.startStopMeasurement();
    controller.togglePause();
    ASSERT_TRUE(finished("SYS=120 DIA=80 MAP=93 HR=60"));
    settle();
    controller.togglePause();
    settle();
    EXPECT_EQ(bloodPressureLines(), QStringList{started});
    EXPECT_EQ(view.lastLoggedMeasurement(), "SYS=120 DIA=80 MAP=93 HR=60");

    bridge->setNextResult(131, 84, 72);
    view.startStopMeasurement();
    ASSERT_TRUE(finished("SYS=131 DIA=84 MAP=99 HR=72"));
    settle();
    BloodPersureView nextStep{controller};
    nextStep.appeared();
    settle();
    EXPECT_EQ(bloodPressureLines(), (QStringList{started, started, logged + "BP: 131/84 mmHg, HR: 72 bpm"}))
        << "the same result shown again by a new step is not logged again";
}

TEST_F(BloodPressureStepTest, EveryErrorLogsItsAdviceOnceTheDisplayIsNormalAgain)
{
    // An entry with a headline and an advice, and one without ("|"-less).
    const std::pair<QString, QString> errors[] = {
        {"EC02", " There was over/under pressure. Check cuff attachment/fit and tubing, and retry."},
        {"EC82", "Unkink/inspect hose."}};
    connectThroughBrowser();
    QStringList expected;
    for (const auto &[code, advice] : errors) {
        // The same error twice in a row is two errors; after an error the
        // monitor is still believed to measure, so only the first press logs a start.
        for (int time = 0; time < 2; ++time) {
            if (!central.isMeasuring())
                expected << started;
            bridge->failNextMeasurement(code);
            view.startStopMeasurement();
            ASSERT_TRUE(waitFor([&] { return central.errorOccured(); })) << code.toStdString();
            ASSERT_TRUE(waitFor([&] { return !central.errorOccured(); })) << code.toStdString();
            settle();
            expected << logged + advice;
        }
    }
    EXPECT_EQ(bloodPressureLines(), expected) << "the error headlines themselves are not logged";
}

TEST_F(BloodPressureStepTest, BrowserListsEachPeripheralOnceWithItsLatestStrength)
{
    BLEDeviceBrowserView &browser = *view.deviceBrowser();
    view.setShowDeviceBrowser(true);
    emit central.bleDeviceDiscovered(BlePeripheral("a", QStringLiteral("ESP32 BP bridge")), -45);
    emit central.bleDeviceDiscovered(BlePeripheral("b", std::nullopt), -75);
    emit central.bleDeviceDiscovered(BlePeripheral("a", QStringLiteral("renamed")), -62);
    emit central.bleDeviceDiscovered(BlePeripheral(), -40);

    const auto row = [&](int index) { return browser.rows().at(index).toMap(); };
    ASSERT_EQ(browser.rows().size(), 2);
    EXPECT_EQ(row(0)["name"], "ESP32 BP bridge");
    EXPECT_EQ(row(0)["rssiText"], "-62 dBm");
    EXPECT_EQ(row(1)["name"], "Unknown Device");
    EXPECT_FALSE(browser.connectEnabled());
    browser.select(1);
    EXPECT_TRUE(browser.connectEnabled());
    EXPECT_TRUE(row(1)["selected"].toBool());
    EXPECT_FALSE(row(0)["selected"].toBool());

    browser.cancel();
    EXPECT_FALSE(view.showDeviceBrowser()) << "closing the sheet clears the view's flag";
    view.setShowDeviceBrowser(true);
    EXPECT_TRUE(browser.searching()) << "each showing starts an empty list";
    EXPECT_FALSE(browser.connectEnabled());
}
