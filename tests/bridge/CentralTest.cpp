#include "bridge/BridgeSimulator.h"
#include "bridge/EspBleCentral.h"
#include "bridge/QtBluetoothBackend.h"
#include "bridge/SpacelabsErrorCatalogSwift.h"
#include "common/Clock.h"
#include "support/ConsoleCapture.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

using Write = BleBackend::WriteType;
using C = BleCharacteristic;
constexpr int deadlineMs = 10000;
const QString overPressureAdvice = " There was over/under pressure. Check cuff attachment/fit and tubing, and retry.";

bool waitFor(const std::function<bool()> &condition) { return QTest::qWaitFor(condition, deadlineMs); }
// Lets every queued callback run.
void settle()
{
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
}

// A central on a fast simulated bridge, with the clock at 12:34.
class Central : public ::testing::Test
{
protected:
    Central()
    {
        Clock::install(clock);
        central->setKeepAlivePeriod(std::chrono::milliseconds(5));
        QObject::connect(central.get(), &EspBleCentral::statusMessageChanged,
                         [this] { statuses << central->statusMessage(); });
        QObject::connect(central.get(), &EspBleCentral::bleDeviceDiscovered,
                         [this](const BlePeripheral &peripheral, int) { announced << peripheral; });
        settle();
    }
    ~Central() override { central.reset(); Clock::install(nullptr); }

    void connectBridge()
    {
        const qsizetype ready = statuses.count("Ready for measurements");
        central->startScanning();
        ASSERT_TRUE(waitFor([&] { return !announced.isEmpty(); }));
        central->stopScanning();
        central->connect(announced.first());
        ASSERT_TRUE(waitFor([&] { return statuses.count("Ready for measurements") > ready; }));
        ASSERT_TRUE(waitFor([&] { return central->displayText() == bridge->display(); }));
    }

    // Each write to the characteristic: its value in hex and whether it asks for an answer.
    QStringList writesTo(const QBluetoothUuid &uuid) const
    {
        QStringList writes;
        for (const BridgeSimulator::Write &write : bridge->writes())
            if (write.uuid == uuid)
                writes << write.value.toHex() + (write.type == Write::withResponse ? " answered" : " unanswered");
        return writes;
    }

    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(QDateTime(QDate(2026, 12, 6), QTime(12, 34)));
    ConsoleCapture console;
    BridgeSimulator *bridge = new BridgeSimulator(BridgeSimulator::Timing::fast());
    std::unique_ptr<EspBleCentral> central = std::make_unique<EspBleCentral>(std::unique_ptr<BleBackend>(bridge));
    QStringList statuses;
    QList<BlePeripheral> announced;
};

// The pulse characteristic's properties, the pulse written, the first status.
using PulseRow = std::tuple<quint8, QString, QString>;
class PulseWrite : public Central, public ::testing::WithParamInterface<PulseRow> {};

} // namespace

TEST(ErrorCatalog, UmbrellaThenTheRecoveredPatternThenMainThenDisplayCodesOnATrimmedUpperCasedKey)
{
    // The key, then the entry's code and title.
    const std::pair<QString, QString> found[] = {
        {"EC03", "EC03 Measurement cancelled manually (umbrella)"}, // also in the main table
        {"EC09", "EC09 Not enough time/corrupted measuremt (umbrella)"},
        {"EC14", "EC14 Recovered corrupted BP result"}, // also in the main table
        {"EC94", "EC94 Recovered corrupted BP result"},
        {"EC05", "EC05 BP result corrupted (not recoverable)"},
        {"EC13", "EC13 Office Check Mode reinstated"},
        {" \tEc02\n", "EC02 Cuff pressure / attachment problem (umbrella)"},
        {"lll", "LLL Low main battery"},
        {"lbb", "Lbb Low backup battery"}};
    for (const auto &[key, entry] : found) {
        const ErrorStatusSwift status = SpacelabsErrorCatalogSwift::lookup(key).value_or(ErrorStatusSwift{});
        EXPECT_EQ(status.code + " " + status.title, entry) << key.toStdString();
    }
    for (const QString code : {"EC77", "EC", "", "EC104"})
        EXPECT_FALSE(SpacelabsErrorCatalogSwift::lookup(code)) << code.toStdString();
}

TEST_F(Central, TheDisplayTellsIdleMeasuringOrAnErrorWithItsAdvice)
{
    const QString ready = "Ready for measurement...", measuring = "Measurement in progress...";
    const QString generic = "There was an error. Check cuff fit and device status. Make sure that the participant is "
                            "still and that the hose is attached correctly. Retry.";
    // The clock, the display texts in turn, then status, last measurement, measuring and error.
    using Row = std::tuple<QTime, QStringList, QString, QString, bool, bool>;
    const Row rows[] = {
        {{12, 34}, {"1233"}, ready, "", false, false}, // the clock, give or take a minute
        {{12, 34}, {"1236"}, measuring, "", true, false},
        {{12, 34}, {"1236", "1234"}, measuring, "", true, false}, // a measuring monitor stays measuring
        {{10, 0}, {"0959"}, measuring, "", true, false},          // plain numbers: 959 against 1000
        {{0, 0}, {""}, ready, "", false, false},
        {{0, 0}, {"ec02"}, ready, "", false, false}, // error codes are case-sensitive; this reads as 0
        // An error ends the measurement: the monitor has given it up.
        {{12, 34}, {"150", "EC02"}, overPressureAdvice,
         "Umbrella event code EC02 (+ EC12, EC22, EC32, EC42, EC52, EC62).", false, true},
        // The advice moves into the last measurement; then the monitor's clock is idle again.
        {{12, 34}, {"150", "EC02", "1234"}, overPressureAdvice, overPressureAdvice, false, false},
        {{12, 34}, {"150", "EC02", "1234", "1234"}, ready, overPressureAdvice, false, false},
        {{12, 34}, {"EC77"}, generic, "Unknown error.", false, true},
        {{12, 34}, {"EC82"}, "Unkink/inspect hose.", "Kinked hose EC82.", false, true}, // an entry without advice
    };
    for (const auto &[time, displays, status, last, measuring, error] : rows) {
        EspBleCentral fresh(std::make_unique<BridgeSimulator>(BridgeSimulator::Timing::fast()));
        clock->set(QDateTime(QDate(2026, 12, 6), time));
        for (const QString &text : displays)
            fresh.handleDisplayText(text);
        // The keep-alive runs exactly while the monitor measures.
        EXPECT_EQ(std::tuple(fresh.displayText(), fresh.statusMessage(), fresh.lastMeasurement(), fresh.isMeasuring(),
                             fresh.keepAliveRunning(), fresh.errorOccured()),
                  std::tuple(displays.last(), status, last, measuring, measuring, error))
            << displays.join(" > ").toStdString();
    }
}

TEST_F(Central, VitalsAreTakenInALaterTurnOrRefusedWhole)
{
    const QString before = "SYS=100 DIA=70 MAP=80 HR=50";
    std::vector<std::tuple<QString, QString, QString>> rows{
        {"SYS=120 DIA=80 HR=60", "SYS=120 DIA=80 MAP=93 HR=60", "BP: 120/80 mmHg, HR: 60 bpm"},
        {"HR=61 DIA=80;SYS=121 HR=62", "SYS=121 DIA=80 MAP=93 HR=61", "BP: 121/80 mmHg, HR: 61 bpm"},
        {"SYS=3000000000 DIA=3000000000", "SYS=3000000000 DIA=3000000000 MAP=3000000000 HR=-",
         "BP: 3000000000/3000000000 mmHg, HR: - bpm"}};
    // Refused whole: unreadable, or a mean pressure that would overflow.
    for (const QString text : {"sys=120 dia=80", "SYS=120", "SYS= 120 DIA=80", "SYS=99999999999999999999 DIA=80",
                               "SYS=9223372036854775807 DIA=1", "SYS=1 DIA=4611686018427387904"})
        rows.emplace_back(text, before, "BP: 100/70 mmHg, HR: 50 bpm");
    for (const auto &[text, last, status] : rows) {
        central->parseVitals("SYS=100 DIA=70 HR=50");
        settle();
        central->parseVitals(text);
        EXPECT_EQ(central->lastMeasurement(), before);
        settle();
        EXPECT_EQ(central->lastMeasurement(), last) << text.toStdString();
        EXPECT_EQ(central->statusMessage(), status) << text.toStdString();
        EXPECT_EQ(console.contains("Failed to parse vitals from text: " + text), last == before) << text.toStdString();
    }
}

TEST_F(Central, ValuesAreDispatchedByCharacteristicAndTheDisplayInArrivalOrder)
{
    connectBridge();
    central->handleDisplayText("150");
    const auto receive = [&](const QBluetoothUuid &uuid, const QByteArray &value, std::optional<BleError> error = {}) {
        emit bridge->valueUpdated(bridge->peripheral(), C{uuid, C::Notify, value}, error);
    };
    const std::tuple<QBluetoothUuid, QByteArray, QString> rows[] = {
        {EspBleCentral::sysU32UUID, QByteArray::fromHex("780000"), "DEBUG: SYS data too short (3 bytes)"},
        {EspBleCentral::hrU32UUID, QByteArray::fromHex("3c010000ff"), "DEBUG: Heart rate (binary): 316 bpm"},
        {QBluetoothUuid(QStringLiteral("0000abcd-0000-1000-8000-00805f9b34fb")), QByteArray::fromHex("ff"),
         "DEBUG: Unknown characteristic binary data"}, // invalid UTF-8 reads as empty
        {EspBleCentral::displayCharUUID, QByteArray(),
         "DEBUG: Received nil data from characteristic f0debc9a-7856-3412-efbe-fecadeadbef2"}};
    for (const auto &[uuid, value, line] : rows) {
        receive(uuid, value);
        EXPECT_TRUE(console.contains(line)) << line.toStdString();
    }
    receive(EspBleCentral::displayCharUUID, "1234", BleError{"BridgeSimulator", 14, "Unlikely error."});
    settle();
    EXPECT_EQ(central->displayText(), "150") << "a value with an error is dropped";

    receive(EspBleCentral::displayCharUUID, "EC02");
    EXPECT_FALSE(central->errorOccured()) << "the display is handled in a later turn";
    settle();
    EXPECT_TRUE(central->errorOccured());
    EXPECT_FALSE(central->isMeasuring()) << "an error ends the measurement";

    receive(EspBleCentral::vitalsCharUUID, "SYS=118 DIA=79 HR=64");
    EXPECT_FALSE(central->isMeasuring());
    EXPECT_FALSE(central->keepAliveRunning());
    settle();
    EXPECT_EQ(central->lastMeasurement(), "SYS=118 DIA=79 MAP=92 HR=64");
}

TEST_P(PulseWrite, TheCharacteristicsPropertiesChooseTheWriteType)
{
    const auto &[properties, pulse, status] = GetParam();
    bridge->setPulseProperties(properties);
    connectBridge();
    central->stopKeepAlive();
    statuses.clear();
    central->sendPulse(500);
    EXPECT_EQ(writesTo(EspBleCentral::pulseCharUUID), pulse.isEmpty() ? QStringList() : QStringList{pulse});
    EXPECT_EQ(central->keepAliveRunning(), !pulse.isEmpty());
    ASSERT_TRUE(waitFor([&] { return !statuses.isEmpty(); }));
    EXPECT_EQ(statuses.first(), status);
}

INSTANTIATE_TEST_SUITE_P(Properties, PulseWrite, ::testing::Values(
    PulseRow{C::Read | C::Write | C::WriteWithoutResponse, "f401 unanswered", "Measurement in progress..."},
    PulseRow{C::Read | C::Write, "f401 answered", "Starting the measurement..."},
    PulseRow{C::Read | C::Notify, "", "Cannot write to device"}));

TEST_F(Central, APulseNeedsTheLinkAndItsCharacteristicAndAnAnswerThatAgrees)
{
    EXPECT_EQ(EspBleCentral::pulsePayload(5), QByteArray::fromHex("0a00"));
    EXPECT_EQ(EspBleCentral::pulsePayload(20000), QByteArray::fromHex("1027"));
    central->sendPulse(500);
    EXPECT_EQ(central->statusMessage(), "Not connected");
    EXPECT_FALSE(central->keepAliveRunning());

    bridge->setPulseProperties(C::Write);
    connectBridge();
    bridge->failNextPulseWrite("The operation was rejected.");
    central->sendPulse(500);
    ASSERT_TRUE(waitFor([&] { return central->statusMessage() == "Failed to start measurement"; }));
    EXPECT_TRUE(console.contains("Failed to send pulse command: The operation was rejected."));
    EXPECT_FALSE(bridge->measuring());
    central->sendPulse(500);
    ASSERT_TRUE(waitFor([&] { return central->isMeasuring(); }));
    central->sendPulse(500);
    ASSERT_TRUE(waitFor([&] { return statuses.contains("Stopping the measurement..."); }));

    central->resetLinkState();
    const qsizetype pulses = writesTo(EspBleCentral::pulseCharUUID).size();
    central->sendPulse(500);
    EXPECT_EQ(central->statusMessage(), "Device not ready - pulse char missing");
    EXPECT_FALSE(central->keepAliveRunning());
    EXPECT_EQ(writesTo(EspBleCentral::pulseCharUUID).size(), pulses);
}

TEST_F(Central, KeepAliveWritesAZeroByteOrFallsBackToReadingTheDisplay)
{
    central->startKeepAlive();
    ASSERT_TRUE(waitFor([&] { return console.lines().count("DEBUG: Keep-alive - no peripheral") >= 2; }));
    central->stopKeepAlive();
    EXPECT_FALSE(central->keepAliveRunning());
    console.clear();

    connectBridge();
    ASSERT_TRUE(waitFor([&] { return writesTo(EspBleCentral::cmdCharUUID).size() >= 3; }));
    const QStringList keepAlives = writesTo(EspBleCentral::cmdCharUUID);
    EXPECT_EQ(keepAlives, QStringList(keepAlives.size(), "00 unanswered"));
    EXPECT_EQ(bridge->displayReads(), 0);
    emit bridge->characteristicsDiscovered(bridge->peripheral(), EspBleCentral::espButtonService,
                                           {C{EspBleCentral::pulseCharUUID, C::Write, {}}}, std::nullopt);
    ASSERT_TRUE(waitFor([&] { return console.contains("DEBUG: Keep-alive already running"); }));
    EXPECT_EQ(console.lines().count("DEBUG: Starting keep-alive timer (0.5s interval, write-based)"), 1);

    central->resetLinkState();
    central->startKeepAlive();
    ASSERT_TRUE(waitFor([&] { return console.contains("DEBUG: Keep-alive - no characteristic available"); }));
    emit bridge->characteristicsDiscovered(bridge->peripheral(), EspBleCentral::espButtonService,
                                           {C{EspBleCentral::displayCharUUID, C::Read | C::Notify, {}}}, std::nullopt);
    const qsizetype writes = writesTo(EspBleCentral::cmdCharUUID).size();
    ASSERT_TRUE(waitFor([&] { return bridge->displayReads() >= 2; }));
    EXPECT_EQ(writesTo(EspBleCentral::cmdCharUUID).size(), writes);
    EXPECT_TRUE(waitFor([&] { return central->displayText() == "1234"; })) << "the read value is handled as display";
}

TEST_F(Central, ScansOnlyWhenAskedOnThePoweredOnRadioThenConnects)
{
    const std::pair<BleBackend::State, QString> radio[] = {{BleBackend::State::unauthorized, "Bluetooth access denied"},
                                                           {BleBackend::State::poweredOff, "Bluetooth is turned off"}};
    for (const auto &[state, status] : radio) {
        bridge->setRadioState(state);
        ASSERT_TRUE(waitFor([&] { return central->statusMessage() == status; })) << status.toStdString();
        central->startScanning();
        EXPECT_EQ(central->statusMessage(), status);
        EXPECT_FALSE(central->sendPeriphFoundNotif());
    }
    bridge->setRadioState(BleBackend::State::poweredOn);
    ASSERT_TRUE(waitFor([&] { return console.contains("Bluetooth is powered on and ready"); }));
    // Scanning is what sets the flag and the status; powering on does neither.
    EXPECT_FALSE(central->sendPeriphFoundNotif());
    EXPECT_EQ(central->statusMessage(), "Bluetooth is turned off");

    statuses.clear();
    central->startScanning();
    ASSERT_TRUE(waitFor([&] { return announced.size() >= 3; })) << "duplicates are announced";
    connectBridge();
    EXPECT_EQ(central->selectedDeviceName(), "ESP32-BP-Bridge");
    announced.clear();
    emit bridge->peripheralDiscovered(bridge->peripheral(), -60);
    EXPECT_TRUE(announced.isEmpty()) << "a report after the scan stopped is not announced";
}

TEST_F(Central, ADisconnectEndsTheBeliefALostLinkKeepsIt)
{
    for (const bool lost : {false, true}) {
        connectBridge();
        central->sendPulse(500);
        ASSERT_TRUE(waitFor([&] { return central->isMeasuring(); }));
        if (lost)
            bridge->dropLink("The connection has timed out unexpectedly.");
        else
            central->cancelPeripheralConnection();
        ASSERT_TRUE(waitFor([&] { return !central->isConnected(); }));
        EXPECT_EQ(std::tuple(central->statusMessage(), central->isMeasuring(), central->keepAliveRunning(),
                             central->connectedPeripheral().has_value(), central->displayText(),
                             central->selectedDeviceName()),
                  std::tuple(QString(lost ? "Connection lost: The connection has timed out unexpectedly." : "Disconnected"),
                             lost, false, false, QString(), QString()));
    }
    central->sendPulse(500);
    EXPECT_EQ(central->statusMessage(), "Not connected");
}

TEST_F(Central, ConnectionFailures)
{
    bridge->failNextConnection("Peer removed pairing information");
    central->connect(bridge->peripheral());
    ASSERT_TRUE(waitFor([&] { return central->statusMessage().startsWith("Connection failed"); }));
    EXPECT_EQ(central->statusMessage(), "Connection failed: Peer removed pairing information");
    EXPECT_TRUE(console.contains("Failed to connect to ESP32-BP-Bridge: Peer removed pairing information"));
    EXPECT_EQ(std::pair(central->connectedPeripheral().has_value(), central->isConnected()), std::pair(false, false));

    central->connect(BlePeripheral("0A1B2C3D-0000-4000-8000-000000000000", std::nullopt));
    EXPECT_EQ(central->statusMessage(), "Connecting to Blood Pressure Monitor...");
    ASSERT_TRUE(waitFor([&] { return central->statusMessage() == "Connection failed: Peripheral not found"; }));
    EXPECT_FALSE(central->connectedPeripheral());

    emit bridge->servicesDiscovered(bridge->peripheral(), {}, BleError{"BridgeSimulator", 0, "Timed out."});
    EXPECT_EQ(central->statusMessage(), "Service discovery failed");
}

// Without a request the process gets the real radio, which says honestly what this machine lacks.
TEST(BleBackend, TheProcessTakesTheSimulatorOnlyOnRequest)
{
    BleBackend::setUseSimulator(true);
    EXPECT_NE(dynamic_cast<BridgeSimulator *>(BleBackend::createForProcess().get()), nullptr);
    BleBackend::setUseSimulator(false);
    qputenv("TAVOREN_BRIDGE", "simulator");
    EXPECT_NE(dynamic_cast<BridgeSimulator *>(BleBackend::createForProcess().get()), nullptr);
    qunsetenv("TAVOREN_BRIDGE");
    std::unique_ptr<BleBackend> radio = BleBackend::createForProcess();
    ASSERT_NE(dynamic_cast<QtBluetoothBackend *>(radio.get()), nullptr);
    if (!QBluetoothLocalDevice::allDevices().isEmpty())
        GTEST_SKIP() << "this machine has a Bluetooth adapter";
    EspBleCentral central(std::move(radio));
    ASSERT_TRUE(waitFor([&] { return central.statusMessage() == "Bluetooth not supported"; }));
    central.startScanning();
    EXPECT_EQ(central.statusMessage(), "Bluetooth not supported");
    central.connect(BlePeripheral("00:11:22:33:44:55", QStringLiteral("bridge")));
    EXPECT_TRUE(waitFor([&] { return central.statusMessage().startsWith("Connection failed"); }));
    EXPECT_EQ(central.statusMessage(), "Connection failed: The device is not known to the adapter.");
}
