#include "BridgeFixture.h"

#include <QCoreApplication>
#include <QTest>

BridgeFixture::BridgeFixture()
{
    Clock::install(clock);
    auto simulator = std::make_unique<BridgeSimulator>(BridgeSimulator::Timing::fast());
    bridge = simulator.get();
    central = std::make_unique<EspBleCentral>(std::move(simulator));
    central->setKeepAlivePeriod(std::chrono::milliseconds(5));
    QObject::connect(central.get(), &EspBleCentral::statusMessageChanged,
                     [this] { statuses.append(central->statusMessage()); });
    QObject::connect(central.get(), &EspBleCentral::bleDeviceDiscovered,
                     [this](const BlePeripheral &peripheral, int rssi) { announced.append({peripheral, rssi}); });
    settle();
}

BridgeFixture::~BridgeFixture()
{
    central.reset();
    Clock::install(nullptr);
}

bool BridgeFixture::waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

void BridgeFixture::settle()
{
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
}

void BridgeFixture::connectBridge()
{
    central->startScanning();
    ASSERT_TRUE(waitFor([&] { return !announced.isEmpty(); }));
    central->stopScanning();
    central->connect(announced.first().first);
    ASSERT_TRUE(waitFor([&] { return statuses.contains("Ready for measurements"); }));
    ASSERT_TRUE(waitFor([&] { return central->displayText() == bridge->display(); }));
}

QList<BridgeSimulator::Write> BridgeFixture::writesTo(const QBluetoothUuid &uuid) const
{
    QList<BridgeSimulator::Write> writes;
    for (const auto &write : bridge->writes())
        if (write.uuid == uuid)
            writes.append(write);
    return writes;
}
