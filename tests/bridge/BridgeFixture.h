#pragma once

#include "bridge/BridgeSimulator.h"
#include "bridge/EspBleCentral.h"
#include "common/Clock.h"
#include "support/ConsoleCapture.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

// A central on a fast simulated bridge, with the clock fixed at 12:34.
class BridgeFixture : public ::testing::Test
{
protected:
    BridgeFixture();
    ~BridgeFixture() override;

    // Scans, connects to the simulated bridge and waits for "Ready for measurements".
    void connectBridge();
    // Spins the main loop until the condition holds; false after the time-out.
    static bool waitFor(const std::function<bool()> &condition, int timeoutMs = 2000);
    // Lets every queued callback run.
    static void settle();
    // What the central wrote to one characteristic of the bridge, in order.
    QList<BridgeSimulator::Write> writesTo(const QBluetoothUuid &uuid) const;

    std::shared_ptr<ManualClock> clock =
        std::make_shared<ManualClock>(QDateTime(QDate(2026, 12, 6), QTime(12, 34)));
    ConsoleCapture console;
    BridgeSimulator *bridge = nullptr;
    std::unique_ptr<EspBleCentral> central;
    QStringList statuses;
    QList<std::pair<BlePeripheral, int>> announced;
};
