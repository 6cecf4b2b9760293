#include "bridge/BLEDeviceBrowserView.h"
#include "bridge/BloodPersureView.h"
#include "bridge/EspBleCentral.h"
#include "run/RunFixture.h"
#include "support/FastBridge.h"

#include <QTest>

namespace {

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
        ASSERT_TRUE(QTest::qWaitFor([&] { return !view.deviceBrowser()->searching(); }, 2000));
        view.deviceBrowser()->select(0);
        view.deviceBrowser()->connectSelected();
        ASSERT_TRUE(QTest::qWaitFor([&] { return central.statusMessage() == "Ready for measurements"; }, 2000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return central.displayText() == bridge->display(); }, 2000));
    }

    QStringList bloodPressureLines() const { return logLines().filter("\tBlood pressure"); }

    int pulses() const
    {
        int count = 0;
        for (const auto &write : bridge->writes())
            count += write.uuid == EspBleCentral::pulseCharUUID && write.value == pulse;
        return count;
    }

    bool finishMeasurement(const QString &expectedLast)
    {
        return QTest::qWaitFor([&] { return central.lastMeasurement() == expectedLast && !central.isMeasuring(); },
                               3000);
    }

    static void settle()
    {
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
    }

    const QByteArray pulse = EspBleCentral::pulsePayload(BloodPersureView::pulseLength);
    EspBleCentral &central = *controller.bleManager();
    BloodPersureView view{controller};
};

} // namespace

TEST_F(BloodPressureStepTest, ButtonsFollowTheLink)
{
    EXPECT_EQ(view.deviceButtonText(), "Find Device");
    EXPECT_EQ(view.measurementButtonText(), "Start Measurement");
    EXPECT_FALSE(view.measurementButtonEnabled());
    EXPECT_EQ(view.statusColor(), "gray");
    EXPECT_EQ(view.displayLine(), "");

    connectThroughBrowser();
    EXPECT_FALSE(view.showDeviceBrowser()) << "Connect closes the sheet";
    EXPECT_TRUE(view.hasSelectedDevice());
    EXPECT_EQ(view.deviceButtonText(), "Disconnect");
    EXPECT_TRUE(view.measurementButtonEnabled());
    EXPECT_EQ(view.statusColor(), "green");
    EXPECT_EQ(view.displayLine(), "Display: " + bridge->display());

    view.deviceButtonPressed();
    EXPECT_EQ(central.statusMessage(), "Disconnected");
    EXPECT_FALSE(view.hasSelectedDevice());
    EXPECT_FALSE(central.connectedPeripheral().has_value());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !central.isConnected(); }, 2000));
    EXPECT_EQ(view.deviceButtonText(), "Find Device");
    EXPECT_FALSE(view.measurementButtonEnabled());
    EXPECT_EQ(view.displayLine(), "");

    connectThroughBrowser();
    bridge->dropLink("out of range");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !central.isConnected(); }, 2000));
    EXPECT_FALSE(view.hasSelectedDevice()) << "a lost link clears the selection";
    EXPECT_EQ(view.deviceButtonText(), "Find Device");
}

TEST_F(BloodPressureStepTest, ALinkFromAnEarlierStepCanMeasureAtOnce)
{
    connectThroughBrowser();
    BloodPersureView nextStep{controller};
    EXPECT_TRUE(nextStep.measurementButtonEnabled());
    EXPECT_EQ(nextStep.deviceButtonText(), "Disconnect");
}

TEST_F(BloodPressureStepTest, StartLogsOnceStopSendsTheSamePulseAndTheCancelAdviceIsNotLogged)
{
    view.startStopMeasurement();
    EXPECT_TRUE(console.contains("DEBUG ERROR: Cannot start measurement - not connected"));
    EXPECT_TRUE(bloodPressureLines().isEmpty());

    connectThroughBrowser();
    view.startStopMeasurement();
    ASSERT_EQ(bloodPressureLines(), QStringList{"05-12-26/10:00:00.000\tBlood pressure measurement started..."});
    ASSERT_TRUE(QTest::qWaitFor([&] { return central.isMeasuring(); }, 2000));
    EXPECT_EQ(view.measurementButtonText(), "Stop Measurement");

    view.startStopMeasurement();
    EXPECT_EQ(pulses(), 2) << "stopping sends the starting pulse again";
    const QString advice = " " + BloodPersureView::cancelledMeasurementAdvice;
    ASSERT_TRUE(QTest::qWaitFor([&] { return central.lastMeasurement() == advice && !central.errorOccured(); }, 3000))
        << central.lastMeasurement().toStdString();
    settle();
    EXPECT_EQ(bloodPressureLines().size(), 1) << bloodPressureLines().join('\n').toStdString();
    EXPECT_EQ(view.lastLine(), "Last: " + advice);
}

TEST_F(BloodPressureStepTest, AResultLogsItsStatusLine)
{
    connectThroughBrowser();
    bridge->setNextResult(131, 84, 72);
    view.startStopMeasurement();
    ASSERT_TRUE(finishMeasurement("SYS=131 DIA=84 MAP=99 HR=72"));
    settle();
    EXPECT_EQ(bloodPressureLines(), (QStringList{"05-12-26/10:00:00.000\tBlood pressure measurement started...",
                                                 "05-12-26/10:00:00.000\tBlood pressure: BP: 131/84 mmHg, HR: 72 bpm"}));
    EXPECT_EQ(view.lastLoggedMeasurement(), "SYS=131 DIA=84 MAP=99 HR=72");

    // The same result shown again by a new step is not logged again.
    BloodPersureView nextStep{controller};
    nextStep.appeared();
    settle();
    EXPECT_EQ(bloodPressureLines().size(), 2);
}

TEST_F(BloodPressureStepTest, EveryErrorLogsItsAdviceOnceTheDisplayIsNormalAgain)
{
    // Entries with a headline and an advice, and the two without ("|"-less).
    const QList<std::pair<QString, QString>> errors{
        {"EC02", " There was over/under pressure. Check cuff attachment/fit and tubing, and retry."},
        {"EC82", "Unkink/inspect hose."},
        {"EC24", "One or more BP results were corrupted then recovered. If frequent, indicates malfunction needing "
                 "service."}};
    connectThroughBrowser();
    QStringList expected;
    for (const auto &[code, advice] : errors) {
        // The same error twice in a row is two errors.
        for (int time = 0; time < 2; ++time) {
            // After an error the monitor is still believed to measure, so
            // only the first press logs a start.
            if (!central.isMeasuring())
                expected << "05-12-26/10:00:00.000\tBlood pressure measurement started...";
            bridge->failNextMeasurement(code);
            view.startStopMeasurement();
            ASSERT_TRUE(QTest::qWaitFor([&] { return central.errorOccured(); }, 3000)) << code.toStdString();
            ASSERT_TRUE(QTest::qWaitFor([&] { return !central.errorOccured(); }, 3000)) << code.toStdString();
            settle();
            expected << "05-12-26/10:00:00.000\tBlood pressure: " + advice;
        }
    }
    EXPECT_EQ(bloodPressureLines(), expected) << "the error headlines themselves are not logged";
}

TEST_F(BloodPressureStepTest, AResultWhilePausedIsNeverLogged)
{
    connectThroughBrowser();
    view.startStopMeasurement();
    controller.togglePause();
    ASSERT_TRUE(controller.pause());
    ASSERT_TRUE(finishMeasurement("SYS=120 DIA=80 MAP=93 HR=60"));
    settle();
    controller.togglePause();
    settle();
    EXPECT_EQ(bloodPressureLines(), QStringList{"05-12-26/10:00:00.000\tBlood pressure measurement started..."});
    EXPECT_EQ(view.lastLoggedMeasurement(), "SYS=120 DIA=80 MAP=93 HR=60");
}

TEST_F(BloodPressureStepTest, BrowserListsEachPeripheralOnceWithItsLatestStrength)
{
    BLEDeviceBrowserView &browser = *view.deviceBrowser();
    view.setShowDeviceBrowser(true);
    EXPECT_TRUE(browser.isPresented());
    EXPECT_TRUE(browser.searching());
    const BlePeripheral bridgeA("a", QStringLiteral("ESP32 BP bridge"));
    const BlePeripheral unnamed("b", std::nullopt);
    emit central.bleDeviceDiscovered(bridgeA, -45);
    emit central.bleDeviceDiscovered(unnamed, -75);
    emit central.bleDeviceDiscovered(BlePeripheral("a", QStringLiteral("renamed")), -62);
    emit central.bleDeviceDiscovered(BlePeripheral(), -40);

    const QVariantList rows = browser.rows();
    ASSERT_EQ(rows.size(), 2);
    const QVariantMap first = rows.at(0).toMap();
    EXPECT_EQ(first["name"], "ESP32 BP bridge");
    EXPECT_EQ(first["rssiText"], "-62 dBm");
    EXPECT_EQ(first["icon"], "wifi");
    EXPECT_EQ(first["iconColor"], "yellow");
    EXPECT_EQ(rows.at(1).toMap()["name"], "Unknown Device");
    EXPECT_EQ(rows.at(1).toMap()["iconColor"], "red");

    EXPECT_FALSE(browser.connectEnabled());
    browser.select(1);
    EXPECT_TRUE(browser.connectEnabled());
    EXPECT_TRUE(browser.rows().at(1).toMap()["selected"].toBool());
    EXPECT_FALSE(browser.rows().at(0).toMap()["selected"].toBool());

    browser.cancel();
    EXPECT_FALSE(view.showDeviceBrowser()) << "closing the sheet clears the view's flag";
    view.setShowDeviceBrowser(true);
    EXPECT_TRUE(browser.searching()) << "each showing starts an empty list";
    EXPECT_FALSE(browser.connectEnabled());
}

TEST(SignalIndicator, Ranges)
{
    const std::vector<std::tuple<int, QString, QString>> table{
        {0, "wifi.exclamationmark", "green"}, {-50, "wifi.exclamationmark", "green"}, {-51, "wifi", "yellow"},
        {-70, "wifi", "yellow"},              {-71, "wifi", "red"},                   {-80, "wifi", "red"},
        {-81, "wifi.slash", "red"},           {1, "wifi.slash", "red"}};
    for (const auto &[rssi, icon, color] : table) {
        const auto indicator = BLEDeviceBrowserView::signalIndicator(rssi);
        EXPECT_EQ(indicator.icon, icon) << rssi;
        EXPECT_EQ(indicator.color, color) << rssi;
    }
}
