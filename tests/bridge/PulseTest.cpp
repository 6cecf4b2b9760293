#include "BridgeFixture.h"

using Write = BleBackend::WriteType;

namespace {
class PulseTest : public BridgeFixture
{
protected:
    QList<BridgeSimulator::Write> pulseWrites() const { return writesTo(EspBleCentral::pulseCharUUID); }
};
}

TEST_F(PulseTest, PayloadIsTheClampedLengthLittleEndian)
{
    EXPECT_EQ(EspBleCentral::pulsePayload(5), QByteArray::fromHex("0a00"));
    EXPECT_EQ(EspBleCentral::pulsePayload(-3), QByteArray::fromHex("0a00"));
    EXPECT_EQ(EspBleCentral::pulsePayload(20000), QByteArray::fromHex("1027"));
    EXPECT_EQ(EspBleCentral::pulsePayload(500), QByteArray::fromHex("f401"));
    EXPECT_EQ(EspBleCentral::pulsePayload(10000), QByteArray::fromHex("1027"));
}

TEST_F(PulseTest, BothWriteTypesOfferedWritesWithoutResponse)
{
    connectBridge();
    statuses.clear();
    central->sendPulse(500);
    ASSERT_EQ(pulseWrites().size(), 1);
    EXPECT_EQ(pulseWrites()[0].value, QByteArray::fromHex("f401"));
    EXPECT_EQ(pulseWrites()[0].type, Write::withoutResponse);
    EXPECT_NE(central->statusMessage(), "Measurement in progress...") << "the status is queued";
    EXPECT_TRUE(central->keepAliveRunning());
    ASSERT_TRUE(waitFor([&] { return !statuses.isEmpty(); }));
    EXPECT_EQ(statuses.first(), "Measurement in progress...");
    EXPECT_FALSE(console.contains("Pulse command sent successfully")) << "no write result follows";
}

TEST_F(PulseTest, WriteWithResponseStatusFollowsTheBelief)
{
    bridge->setPulseProperties(BleCharacteristic::Read | BleCharacteristic::Write);
    connectBridge();
    statuses.clear();
    central->sendPulse(500);
    ASSERT_EQ(pulseWrites().size(), 1);
    EXPECT_EQ(pulseWrites()[0].type, Write::withResponse);
    ASSERT_TRUE(waitFor([&] { return central->isMeasuring(); }));
    EXPECT_TRUE(console.contains("Pulse command sent successfully"));
    EXPECT_EQ(statuses.first(), "Starting the measurement...");

    statuses.clear();
    central->sendPulse(500);
    ASSERT_TRUE(waitFor([&] { return statuses.contains("Stopping the measurement..."); }));
}

TEST_F(PulseTest, FailedWriteWithResponse)
{
    bridge->setPulseProperties(BleCharacteristic::Write);
    connectBridge();
    bridge->failNextPulseWrite("The operation was rejected.");
    central->sendPulse(500);
    ASSERT_TRUE(waitFor([&] { return central->statusMessage() == "Failed to start measurement"; }));
    EXPECT_TRUE(console.contains("Failed to send pulse command: The operation was rejected."));
    EXPECT_FALSE(bridge->measuring());
}

TEST_F(PulseTest, NotWritableCharacteristicIsRefusedWithoutKeepAlive)
{
    bridge->setPulseProperties(BleCharacteristic::Read | BleCharacteristic::Notify);
    connectBridge();
    central->stopKeepAlive();
    central->sendPulse(500);
    EXPECT_EQ(central->statusMessage(), "Cannot write to device");
    EXPECT_TRUE(console.contains("DEBUG ERROR: Characteristic doesn't support any write type!"));
    EXPECT_TRUE(pulseWrites().isEmpty());
    EXPECT_FALSE(central->keepAliveRunning());
}

TEST_F(PulseTest, RefusedWithoutPeripheralOrPulseCharacteristic)
{
    central->sendPulse(500);
    EXPECT_EQ(central->statusMessage(), "Not connected");
    EXPECT_TRUE(console.contains("DEBUG ERROR: Cannot send pulse - no peripheral connected"));
    EXPECT_FALSE(central->keepAliveRunning());

    connectBridge();
    central->resetLinkState();
    central->sendPulse(500);
    EXPECT_EQ(central->statusMessage(), "Device not ready - pulse char missing");
    EXPECT_TRUE(console.contains("DEBUG ERROR: Cannot send pulse - pulse characteristic not discovered!"));
    EXPECT_TRUE(console.contains("DEBUG: This means the device doesn't have the expected pulse characteristic UUID"));
    EXPECT_FALSE(central->keepAliveRunning());
    EXPECT_TRUE(pulseWrites().isEmpty());
}
