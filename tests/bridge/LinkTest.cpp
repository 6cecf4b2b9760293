#include "BridgeFixture.h"

#include "bridge/QtBluetoothBackend.h"

#include <QTest>

namespace {
const QString overPressureAdvice =
    " There was over/under pressure. Check cuff attachment/fit and tubing, and retry.";
}

using LinkTest = BridgeFixture;

TEST_F(LinkTest, WholeMeasurementFromConnectToResult)
{
    EXPECT_EQ(central->statusMessage(), "No device selected");
    connectBridge();
    EXPECT_TRUE(central->isConnected());
    EXPECT_EQ(central->selectedDeviceName(), "ESP32-BP-Bridge");
    EXPECT_EQ(statuses.mid(0, 4), QStringList({"Searching for devices...", "Connecting to ESP32-BP-Bridge...",
                                                "Connected, discovering services...", "Ready for measurements"}));
    EXPECT_TRUE(console.contains("DEBUG: Discovered service: f0debc9a-7856-3412-efbe-fecadeadbef0"));
    EXPECT_TRUE(console.contains("DEBUG: Characteristic f0debc9a-7856-3412-efbe-fecadeadbef1 - properties: "
                                 "[read, write, writeNoResp]"));
    EXPECT_TRUE(console.contains("DEBUG: ✓ Found PULSE characteristic! Properties: [read, write, writeNoResp]"));
    EXPECT_TRUE(console.contains("DEBUG: ✓ Found U32 characteristic: f0debc9a-7856-3412-efbe-fecadeadbef6"));
    EXPECT_TRUE(console.contains("DEBUG: ✓ Found CMD characteristic"));

    statuses.clear();
    central->sendPulse(500);
    ASSERT_TRUE(waitFor([&] { return statuses.contains("BP: 120/80 mmHg, HR: 60 bpm"); }));
    EXPECT_EQ(statuses.first(), "Measurement in progress...");
    EXPECT_EQ(central->lastMeasurement(), "SYS=120 DIA=80 MAP=93 HR=60");
    EXPECT_FALSE(central->isMeasuring());
    EXPECT_FALSE(central->keepAliveRunning());
    EXPECT_TRUE(console.contains("DEBUG: Systolic (binary): 120 mmHg"));

    ASSERT_TRUE(waitFor([&] { return central->displayText() == "1234"; })) << "the clock returns";
    EXPECT_EQ(central->statusMessage(), "Ready for measurement...");
    EXPECT_EQ(central->lastMeasurement(), "SYS=120 DIA=80 MAP=93 HR=60");
}

TEST_F(LinkTest, ErrorAdviceThenTheClockMovesItIntoTheLastMeasurement)
{
    connectBridge();
    bridge->failNextMeasurement("EC02");
    central->sendPulse(500);
    ASSERT_TRUE(waitFor([&] { return central->errorOccured(); }));
    EXPECT_EQ(central->statusMessage(), overPressureAdvice);
    EXPECT_EQ(central->lastMeasurement(), "Umbrella event code EC02 (+ EC12, EC22, EC32, EC42, EC52, EC62).");
    ASSERT_TRUE(waitFor([&] { return !central->errorOccured(); }));
    EXPECT_EQ(central->displayText(), "1234");
    EXPECT_EQ(central->lastMeasurement(), overPressureAdvice);
    EXPECT_TRUE(central->isMeasuring()) << "the aborted measurement is still believed to run";
}

TEST_F(LinkTest, BatteryCodeOnRequestAndCancelByASecondPulse)
{
    connectBridge();
    bridge->showDisplay("Lbb");
    ASSERT_TRUE(waitFor([&] { return central->errorOccured(); }));
    EXPECT_EQ(central->lastMeasurement(), "Low backup battery.");
    ASSERT_TRUE(waitFor([&] { return !central->errorOccured(); }));

    central->sendPulse(500);
    ASSERT_TRUE(waitFor([&] { return central->isMeasuring(); }));
    central->sendPulse(500);
    ASSERT_TRUE(waitFor([&] { return central->displayText() == "EC03"; }));
    EXPECT_EQ(central->lastMeasurement(), "Umbrella event code EC03 (+ EC13).");
}

TEST_F(LinkTest, DisconnectWithoutErrorResetsTheBelief)
{
    connectBridge();
    central->sendPulse(500);
    ASSERT_TRUE(waitFor([&] { return central->isMeasuring(); }));
    central->cancelPeripheralConnection();
    ASSERT_TRUE(waitFor([&] { return !central->isConnected(); }));
    EXPECT_EQ(central->statusMessage(), "Disconnected");
    EXPECT_FALSE(central->isMeasuring());
    EXPECT_FALSE(central->keepAliveRunning());
    EXPECT_FALSE(central->connectedPeripheral());
    EXPECT_EQ(central->displayText(), "");
    EXPECT_EQ(central->selectedDeviceName(), "");
}

TEST_F(LinkTest, DisconnectWithErrorKeepsTheBelief)
{
    connectBridge();
    central->sendPulse(500);
    ASSERT_TRUE(waitFor([&] { return central->isMeasuring(); }));
    bridge->dropLink("The connection has timed out unexpectedly.");
    ASSERT_TRUE(waitFor([&] { return !central->isConnected(); }));
    EXPECT_EQ(central->statusMessage(), "Connection lost: The connection has timed out unexpectedly.");
    EXPECT_TRUE(console.contains("Unexpected disconnection from ESP32-BP-Bridge: Error Domain=BridgeSimulator Code=7 "
                                 "\"The connection has timed out unexpectedly.\""));
    EXPECT_TRUE(central->isMeasuring());
    EXPECT_FALSE(central->keepAliveRunning());
    central->sendPulse(500);
    EXPECT_EQ(central->statusMessage(), "Not connected");
}

TEST_F(LinkTest, ConnectionFailures)
{
    connectBridge();
    central->cancelPeripheralConnection();
    ASSERT_TRUE(waitFor([&] { return !central->isConnected(); }));
    bridge->failNextConnection("Peer removed pairing information");
    central->connect(bridge->peripheral());
    ASSERT_TRUE(waitFor([&] { return central->statusMessage().startsWith("Connection failed"); }));
    EXPECT_EQ(central->statusMessage(), "Connection failed: Peer removed pairing information");
    EXPECT_TRUE(console.contains("Failed to connect to ESP32-BP-Bridge: Peer removed pairing information"));
    EXPECT_FALSE(central->connectedPeripheral());

    central->connect(BlePeripheral("0A1B2C3D-0000-4000-8000-000000000000", std::nullopt));
    EXPECT_EQ(central->statusMessage(), "Connecting to Blood Pressure Monitor...");
    ASSERT_TRUE(waitFor([&] { return !central->connectedPeripheral(); }));
    EXPECT_TRUE(console.contains("Failed to connect to device: Peripheral not found"));

    emit bridge->servicesDiscovered(bridge->peripheral(), {}, BleError{"BridgeSimulator", 0, "Timed out."});
    EXPECT_EQ(central->statusMessage(), "Service discovery failed");
    EXPECT_TRUE(console.contains("DEBUG ERROR: Service discovery failed: Timed out."));
}

TEST_F(LinkTest, ScanningNeedsThePoweredOnRadioAndAnnouncesDuplicates)
{
    bridge->setRadioState(BleBackend::State::poweredOff);
    settle();
    EXPECT_EQ(central->statusMessage(), "Bluetooth is turned off");
    central->startScanning();
    EXPECT_EQ(central->statusMessage(), "Bluetooth is turned off");
    EXPECT_FALSE(central->sendPeriphFoundNotif());

    bridge->setRadioState(BleBackend::State::poweredOn);
    settle();
    EXPECT_TRUE(console.contains("Bluetooth is powered on and ready"));
    BridgeFixture::waitFor([] { return false; }, 30);
    EXPECT_TRUE(announced.isEmpty()) << "no scan starts by itself";

    central->startScanning();
    ASSERT_TRUE(waitFor([&] { return announced.size() >= 3; }));
    for (const auto &[peripheral, rssi] : announced) {
        EXPECT_EQ(peripheral, bridge->peripheral());
        EXPECT_LT(rssi, -50);
    }
    central->stopScanning();
    settle();
    announced.clear();
    emit bridge->peripheralDiscovered(bridge->peripheral(), -60);
    EXPECT_TRUE(announced.isEmpty()) << "a late report is not announced";
}

TEST_F(LinkTest, RadioStatesSetTheStatus)
{
    const std::pair<BleBackend::State, QString> expected[] = {
        {BleBackend::State::unsupported, "Bluetooth not supported"},
        {BleBackend::State::unauthorized, "Bluetooth access denied"},
        {BleBackend::State::resetting, "Bluetooth unavailable"},
    };
    for (const auto &[state, status] : expected) {
        bridge->setRadioState(state);
        settle();
        EXPECT_EQ(central->statusMessage(), status);
    }
}

TEST(QtBluetoothBackendTest, ReportsTheRadioHonestlyWithoutAnAdapter)
{
    if (!QBluetoothLocalDevice::allDevices().isEmpty())
        GTEST_SKIP() << "this machine has a Bluetooth adapter";
    EspBleCentral central(std::make_unique<QtBluetoothBackend>());
    QTest::qWait(50);
    EXPECT_EQ(central.statusMessage(), "Bluetooth not supported");
    central.startScanning();
    EXPECT_EQ(central.statusMessage(), "Bluetooth not supported");
    central.connect(BlePeripheral("00:11:22:33:44:55", QStringLiteral("bridge")));
    QTest::qWait(50);
    EXPECT_EQ(central.statusMessage(), "Connection failed: The device is not known to the adapter.");
}

TEST(BleBackendTest, ProcessChoosesTheSimulatorOnRequest)
{
    BleBackend::setUseSimulator(true);
    EXPECT_NE(dynamic_cast<BridgeSimulator *>(BleBackend::createForProcess().get()), nullptr);
    BleBackend::setUseSimulator(false);
    qputenv("TAVOREN_BRIDGE", "simulator");
    EXPECT_NE(dynamic_cast<BridgeSimulator *>(BleBackend::createForProcess().get()), nullptr);
    qunsetenv("TAVOREN_BRIDGE");
    EXPECT_NE(dynamic_cast<QtBluetoothBackend *>(BleBackend::createForProcess().get()), nullptr);
}
