#include "BridgeFixture.h"

namespace {
class VitalsTest : public BridgeFixture
{
protected:
    void receive(const QBluetoothUuid &uuid, const QByteArray &value, std::optional<BleError> error = std::nullopt)
    {
        emit bridge->valueUpdated(bridge->peripheral(), BleCharacteristic{uuid, BleCharacteristic::Notify, value},
                                  error);
    }
};
}

TEST_F(VitalsTest, ResultAndStatusLinesAreSetInALaterTurn)
{
    central->parseVitals("SYS=120 DIA=80 HR=60");
    EXPECT_EQ(central->lastMeasurement(), "");
    settle();
    EXPECT_EQ(central->lastMeasurement(), "SYS=120 DIA=80 MAP=93 HR=60");
    EXPECT_EQ(central->statusMessage(), "BP: 120/80 mmHg, HR: 60 bpm");

    central->parseVitals("DIA=80;SYS=121");
    settle();
    EXPECT_EQ(central->lastMeasurement(), "SYS=121 DIA=80 MAP=93 HR=-");
    EXPECT_EQ(central->statusMessage(), "BP: 121/80 mmHg, HR: - bpm");
}

TEST_F(VitalsTest, UnreadableVitalsChangeNothing)
{
    central->parseVitals("SYS=120 DIA=80 HR=60");
    settle();
    for (const QString text : {"sys=120 dia=80", "SYS=120", "SYS= 120 DIA=80", "SYS=99999999999999999999 DIA=80"}) {
        central->parseVitals(text);
        settle();
        EXPECT_TRUE(console.contains("Failed to parse vitals from text: " + text)) << text.toStdString();
        EXPECT_EQ(central->lastMeasurement(), "SYS=120 DIA=80 MAP=93 HR=60");
    }
}

TEST_F(VitalsTest, NumbersWhoseMeanPressureOverflowsAreRefused)
{
    for (const QString text : {"SYS=9223372036854775807 DIA=1", "SYS=1 DIA=4611686018427387904"}) {
        central->parseVitals(text);
        settle();
        EXPECT_TRUE(console.contains("Failed to parse vitals from text: " + text)) << text.toStdString();
        EXPECT_EQ(central->lastMeasurement(), "");
    }
    central->parseVitals("SYS=3000000000 DIA=3000000000");
    settle();
    EXPECT_EQ(central->lastMeasurement(), "SYS=3000000000 DIA=3000000000 MAP=3000000000 HR=-");
}

TEST_F(VitalsTest, ExtractIntegerTakesTheFirstMatch)
{
    EXPECT_EQ(EspBleCentral::extractInteger("HR=61 x HR=62", "HR=(\\d+)"), 61);
    EXPECT_EQ(EspBleCentral::extractInteger("T=-5", "T=([-0-9]+)"), -5);
    EXPECT_FALSE(EspBleCentral::extractInteger("HR=61", "HR=\\d+")) << "no capture group";
    EXPECT_FALSE(EspBleCentral::extractInteger("HR=61", "HR=("));
    EXPECT_TRUE(console.contains("Invalid regex pattern: HR=("));
}

TEST_F(VitalsTest, ValueUpdatesAreDispatchedByCharacteristic)
{
    connectBridge();
    central->handleDisplayText("150");
    ASSERT_TRUE(central->isMeasuring());

    receive(EspBleCentral::sysU32UUID, QByteArray::fromHex("780000"));
    receive(EspBleCentral::diaU32UUID, QByteArray::fromHex("50000000ff"));
    receive(EspBleCentral::hrU32UUID, QByteArray::fromHex("3c010000"));
    receive(EspBleCentral::cmdCharUUID, "OK");
    receive(QBluetoothUuid(QStringLiteral("0000abcd-0000-1000-8000-00805f9b34fb")), "hello");
    receive(QBluetoothUuid(QStringLiteral("0000abcd-0000-1000-8000-00805f9b34fb")), QByteArray::fromHex("ff"));
    receive(EspBleCentral::displayCharUUID, QByteArray());
    receive(EspBleCentral::displayCharUUID, "1234", BleError{"BridgeSimulator", 14, "Unlikely error."});
    settle();
    EXPECT_TRUE(console.contains("DEBUG: SYS data too short (3 bytes)"));
    EXPECT_TRUE(console.contains("DEBUG: Diastolic (binary): 80 mmHg"));
    EXPECT_TRUE(console.contains("DEBUG: Heart rate (binary): 316 bpm"));
    EXPECT_TRUE(console.contains("DEBUG: Command response: 'OK'"));
    EXPECT_TRUE(console.contains("DEBUG: Unknown characteristic text: 'hello'"));
    EXPECT_TRUE(console.contains("DEBUG: Unknown characteristic binary data")) << "invalid UTF-8 reads as empty";
    EXPECT_TRUE(console.contains("DEBUG: Received nil data from characteristic f0debc9a-7856-3412-efbe-fecadeadbef2"));
    EXPECT_TRUE(console.contains("DEBUG ERROR: Error receiving data: Unlikely error."));
    EXPECT_EQ(central->displayText(), "150");

    receive(EspBleCentral::vitalsCharUUID, "SYS=118 DIA=79 HR=64");
    settle();
    EXPECT_TRUE(console.contains("DEBUG: Vitals text: 'SYS=118 DIA=79 HR=64'"));
    EXPECT_FALSE(central->isMeasuring());
    EXPECT_FALSE(central->keepAliveRunning());
    EXPECT_EQ(central->lastMeasurement(), "SYS=118 DIA=79 MAP=92 HR=64");
}

TEST_F(VitalsTest, DisplayUpdatesAreHandledInArrivalOrder)
{
    connectBridge();
    receive(EspBleCentral::displayCharUUID, "EC02");
    receive(EspBleCentral::displayCharUUID, "1234");
    EXPECT_FALSE(central->errorOccured()) << "the display is handled in a later turn";
    settle();
    EXPECT_EQ(central->displayText(), "1234");
    EXPECT_FALSE(central->errorOccured());
    EXPECT_EQ(central->lastMeasurement(),
              " There was over/under pressure. Check cuff attachment/fit and tubing, and retry.");
}
