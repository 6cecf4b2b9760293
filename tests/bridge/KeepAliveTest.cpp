#include "BridgeFixture.h"

namespace {
class KeepAliveTest : public BridgeFixture
{
protected:
    int linesOf(const QString &line) const { return int(console.lines().count(line)); }
    QList<BridgeSimulator::Write> commandWrites() const { return writesTo(EspBleCentral::cmdCharUUID); }
};
}

TEST_F(KeepAliveTest, WritesOneZeroByteToTheCommandCharacteristic)
{
    connectBridge();
    ASSERT_TRUE(waitFor([&] { return commandWrites().size() >= 3; }));
    for (const auto &write : commandWrites()) {
        EXPECT_EQ(write.value, QByteArray(1, '\0'));
        EXPECT_EQ(write.type, BleBackend::WriteType::withoutResponse);
    }
    EXPECT_GE(linesOf("DEBUG: Keep-alive write sent"), 3);
    EXPECT_EQ(bridge->displayReads(), 0);
}

TEST_F(KeepAliveTest, StartsOnceWhenThePulseCharacteristicIsFoundAgain)
{
    connectBridge();
    EXPECT_EQ(linesOf("DEBUG: Starting keep-alive timer (0.5s interval, write-based)"), 1);
    emit bridge->characteristicsDiscovered(
        bridge->peripheral(), EspBleCentral::espButtonService,
        {BleCharacteristic{EspBleCentral::pulseCharUUID, BleCharacteristic::Write, {}}}, std::nullopt);
    ASSERT_TRUE(waitFor([&] { return console.contains("DEBUG: Keep-alive already running"); }));
    EXPECT_EQ(linesOf("DEBUG: Starting keep-alive timer (0.5s interval, write-based)"), 1);
}

TEST_F(KeepAliveTest, ReadsTheDisplayWhenNoCommandCharacteristicIsKnown)
{
    connectBridge();
    central->resetLinkState();
    EXPECT_TRUE(console.contains("DEBUG: Keep-alive timer stopped"));
    central->startKeepAlive();
    ASSERT_TRUE(waitFor([&] { return console.contains("DEBUG: Keep-alive - no characteristic available"); }));

    emit bridge->characteristicsDiscovered(
        bridge->peripheral(), EspBleCentral::espButtonService,
        {BleCharacteristic{EspBleCentral::displayCharUUID, BleCharacteristic::Read | BleCharacteristic::Notify, {}}},
        std::nullopt);
    const qsizetype writesBefore = commandWrites().size();
    ASSERT_TRUE(waitFor([&] { return bridge->displayReads() >= 2; }));
    EXPECT_TRUE(console.contains("DEBUG: Keep-alive read (fallback)..."));
    EXPECT_EQ(commandWrites().size(), writesBefore);
    ASSERT_TRUE(waitFor([&] { return central->displayText() == "1234"; })) << "the read value is handled as display";
}

TEST_F(KeepAliveTest, KeepsTickingWithoutPeripheralUntilStopped)
{
    central->startKeepAlive();
    ASSERT_TRUE(waitFor([&] { return linesOf("DEBUG: Keep-alive - no peripheral") >= 2; }));
    central->stopKeepAlive();
    EXPECT_FALSE(central->keepAliveRunning());
    console.clear();
    central->stopKeepAlive();
    EXPECT_TRUE(console.lines().isEmpty()) << "stopping a stopped timer writes nothing";
}
