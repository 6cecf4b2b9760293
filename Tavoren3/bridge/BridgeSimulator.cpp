#include "bridge/BridgeSimulator.h"

#include "bridge/EspBleCentral.h"
#include "common/Clock.h"

#include <QtEndian>
#include <cstdlib>

namespace {

struct Offered
{
    QBluetoothUuid service;
    QBluetoothUuid uuid;
    quint8 properties;
};

// Both services and their characteristics, with the bits the firmware sets.
QList<Offered> offered(quint8 pulseProperties)
{
    using C = BleCharacteristic;
    const quint8 notifying = C::Read | C::Notify;
    return {
        {EspBleCentral::espButtonService, EspBleCentral::pulseCharUUID, pulseProperties},
        {EspBleCentral::espButtonService, EspBleCentral::displayCharUUID, notifying},
        {EspBleCentral::espButtonService, EspBleCentral::vitalsCharUUID, notifying},
        {EspBleCentral::espButtonService, EspBleCentral::sysU32UUID, notifying},
        {EspBleCentral::espButtonService, EspBleCentral::diaU32UUID, notifying},
        {EspBleCentral::espButtonService, EspBleCentral::hrU32UUID, notifying},
        {EspBleCentral::espCommandService, EspBleCentral::cmdCharUUID,
         quint8(C::Read | C::Write | C::WriteWithoutResponse | C::Notify)},
    };
}

QByteArray u32(int value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(quint32(value), bytes.data());
    return bytes;
}

BleError linkError(int code, const QString &description)
{
    return {QStringLiteral("BridgeSimulator"), code, description};
}

} // namespace

BridgeSimulator::BridgeSimulator(Timing timing, QObject *parent)
    : BleBackend(parent),
      m_timing(timing),
      m_peripheral(QStringLiteral("5E1D0B7A-3C42-4F8E-9A61-0B2C7D4E9F13"), QStringLiteral("ESP32-BP-Bridge")),
      m_pulseProperties(BleCharacteristic::Read | BleCharacteristic::Write | BleCharacteristic::WriteWithoutResponse)
{
    m_advertiseTimer.setInterval(m_timing.advertiseMs);
    connect(&m_advertiseTimer, &QTimer::timeout, this, &BridgeSimulator::advertise);
    m_scriptTimer.setSingleShot(true);
    connect(&m_scriptTimer, &QTimer::timeout, this, [this] {
        if (auto step = std::exchange(m_pendingStep, {}))
            step();
        runScript();
    });
    m_clockTimer.setInterval(m_timing.clockCheckMs);
    connect(&m_clockTimer, &QTimer::timeout, this, &BridgeSimulator::followClock);
    post([this] { emit stateUpdated(m_state); });
}

QString BridgeSimulator::clockText()
{
    return Clock::current().now().toString(QStringLiteral("HHmm"));
}

void BridgeSimulator::post(std::function<void()> callback)
{
    if (m_timing.latencyMs <= 0)
        deliver(std::move(callback));
    else
        QTimer::singleShot(m_timing.latencyMs, Qt::PreciseTimer, this, std::move(callback));
}

BleCharacteristic BridgeSimulator::characteristic(const QBluetoothUuid &uuid, const QByteArray &value) const
{
    for (const Offered &o : offered(m_pulseProperties))
        if (o.uuid == uuid)
            return {uuid, o.properties, value};
    return {uuid, 0, value};
}

// --- requests ------------------------------------------------------------

void BridgeSimulator::setRadioState(State state)
{
    m_state = state;
    if (state != State::poweredOn) {
        m_advertiseTimer.stop();
        if (m_connected)
            endLink(linkError(6, QStringLiteral("The connection has timed out unexpectedly.")));
    }
    post([this, state] { emit stateUpdated(state); });
}

void BridgeSimulator::setNextResult(int systolic, int diastolic, int heartRate)
{
    m_systolic = systolic;
    m_diastolic = diastolic;
    m_heartRate = heartRate;
}

void BridgeSimulator::showDisplay(const QString &text)
{
    endWith(text);
}

void BridgeSimulator::dropLink(const QString &description)
{
    if (m_connected)
        endLink(linkError(7, description));
}

// --- central operations --------------------------------------------------

void BridgeSimulator::scanForPeripherals(const QList<QBluetoothUuid> &services, bool allowDuplicates)
{
    if (m_state != State::poweredOn || !(services.contains(EspBleCentral::espButtonService) ||
                                         services.contains(EspBleCentral::espCommandService)))
        return;
    m_allowDuplicates = allowDuplicates;
    m_advertiseTimer.start();
}

void BridgeSimulator::stopScan()
{
    m_advertiseTimer.stop();
}

void BridgeSimulator::advertise()
{
    // The signal strength wanders a little around -55 dBm.
    m_rssi = -55 + (std::rand() % 7) - 3;
    const int rssi = m_rssi;
    post([this, rssi] { emit peripheralDiscovered(m_peripheral, rssi); });
    if (!m_allowDuplicates)
        m_advertiseTimer.stop();
}

void BridgeSimulator::connectPeripheral(const BlePeripheral &peripheral)
{
    if (!(peripheral == m_peripheral) || m_state != State::poweredOn) {
        post([this, peripheral] {
            emit peripheralFailedToConnect(peripheral, linkError(0, QStringLiteral("Peripheral not found")));
        });
        return;
    }
    if (m_connectionFailure) {
        const BleError error = linkError(14, *std::exchange(m_connectionFailure, std::nullopt));
        post([this, error] { emit peripheralFailedToConnect(m_peripheral, error); });
        return;
    }
    m_connected = true;
    m_display = clockText();
    m_clockTimer.start();
    post([this] { emit peripheralConnected(m_peripheral); });
}

void BridgeSimulator::cancelPeripheralConnection(const BlePeripheral &peripheral)
{
    if (m_connected && peripheral == m_peripheral)
        endLink(std::nullopt);
}

void BridgeSimulator::endLink(const std::optional<BleError> &error)
{
    m_connected = false;
    m_measuring = false;
    m_script.clear();
    m_scriptTimer.stop();
    m_clockTimer.stop();
    m_subscribed.clear();
    post([this, error] { emit peripheralDisconnected(m_peripheral, error); });
}

void BridgeSimulator::discoverServices(const BlePeripheral &peripheral)
{
    if (!m_connected || !(peripheral == m_peripheral))
        return;
    const QList<QBluetoothUuid> services{EspBleCentral::espButtonService, EspBleCentral::espCommandService};
    post([this, services] { emit servicesDiscovered(m_peripheral, services, std::nullopt); });
}

void BridgeSimulator::discoverCharacteristics(const BlePeripheral &peripheral, const QBluetoothUuid &service)
{
    if (!m_connected || !(peripheral == m_peripheral))
        return;
    QList<BleCharacteristic> found;
    for (const Offered &o : offered(m_pulseProperties))
        if (o.service == service)
            found.append({o.uuid, o.properties, {}});
    post([this, service, found] { emit characteristicsDiscovered(m_peripheral, service, found, std::nullopt); });
}

void BridgeSimulator::setNotifyValue(const BlePeripheral &, const BleCharacteristic &characteristic, bool enabled)
{
    if (!m_connected)
        return;
    if (!enabled) {
        m_subscribed.remove(characteristic.uuid);
        return;
    }
    m_subscribed.insert(characteristic.uuid);
    if (characteristic.uuid == EspBleCentral::displayCharUUID)
        notify(EspBleCentral::displayCharUUID, m_display.toUtf8());
}

void BridgeSimulator::writeValue(const BlePeripheral &, const QByteArray &value,
                                 const BleCharacteristic &characteristic, WriteType type)
{
    if (!m_connected)
        return;
    m_writes.append({characteristic.uuid, value, type});
    if (characteristic.uuid != EspBleCentral::pulseCharUUID)
        return;
    const std::optional<QString> failure = std::exchange(m_pulseWriteFailure, std::nullopt);
    if (type == WriteType::withResponse) {
        const BleCharacteristic written = this->characteristic(characteristic.uuid, value);
        const std::optional<BleError> error =
            failure ? std::optional<BleError>(linkError(3, *failure)) : std::nullopt;
        post([this, written, error] { emit valueWritten(m_peripheral, written, error); });
    }
    if (!failure && value.size() == 2)
        pressButton();
}

void BridgeSimulator::readValue(const BlePeripheral &, const BleCharacteristic &characteristic)
{
    if (!m_connected || characteristic.uuid != EspBleCentral::displayCharUUID)
        return;
    ++m_displayReads;
    const BleCharacteristic read = this->characteristic(characteristic.uuid, m_display.toUtf8());
    post([this, read] { emit valueUpdated(m_peripheral, read, std::nullopt); });
}

void BridgeSimulator::notify(const QBluetoothUuid &uuid, const QByteArray &value)
{
    if (!m_connected || !m_subscribed.contains(uuid))
        return;
    const BleCharacteristic changed = characteristic(uuid, value);
    post([this, changed] { emit valueUpdated(m_peripheral, changed, std::nullopt); });
}

// --- the monitor ---------------------------------------------------------

void BridgeSimulator::setDisplay(const QString &text)
{
    m_display = text;
    notify(EspBleCentral::displayCharUUID, text.toUtf8());
}

void BridgeSimulator::followClock()
{
    const QString clock = clockText();
    if (m_script.isEmpty() && !m_scriptTimer.isActive() && m_display != clock)
        setDisplay(clock);
}

void BridgeSimulator::pressButton()
{
    if (m_measuring)
        endWith(QStringLiteral("EC03"));
    else
        startMeasurement();
}

void BridgeSimulator::startMeasurement()
{
    m_measuring = true;
    m_script.clear();
    bool awayFromClock = false;
    const int clock = clockText().toInt();
    QList<int> pressures;
    for (int p = 20; p <= 160; p += 20)
        pressures << p;
    for (int p = 150; p >= 60; p -= 10)
        pressures << p;
    for (const int pressure : pressures) {
        // The first reading must not look like the clock.
        awayFromClock = awayFromClock || std::abs(pressure - clock) >= 2;
        if (awayFromClock)
            m_script.append({m_timing.measurementStepMs, [this, pressure] { setDisplay(QString::number(pressure)); }});
    }
    m_script.append({m_timing.measurementStepMs, [this] { finishMeasurement(); }});
    runScript();
}

void BridgeSimulator::finishMeasurement()
{
    if (m_nextFailure) {
        endWith(*std::exchange(m_nextFailure, std::nullopt));
        return;
    }
    m_measuring = false;
    notify(EspBleCentral::vitalsCharUUID,
           QStringLiteral("SYS=%1 DIA=%2 HR=%3").arg(m_systolic).arg(m_diastolic).arg(m_heartRate).toUtf8());
    notify(EspBleCentral::sysU32UUID, u32(m_systolic));
    notify(EspBleCentral::diaU32UUID, u32(m_diastolic));
    notify(EspBleCentral::hrU32UUID, u32(m_heartRate));
    m_script = {{m_timing.resultHoldMs, [this] { setDisplay(clockText()); }}};
    runScript();
}

// Shows the text, stops any measurement, then the clock after the hold time.
void BridgeSimulator::endWith(const QString &text)
{
    m_measuring = false;
    m_script = {{m_timing.resultHoldMs, [this] { setDisplay(clockText()); }}};
    m_scriptTimer.stop();
    setDisplay(text);
    runScript();
}

void BridgeSimulator::runScript()
{
    if (m_scriptTimer.isActive() || m_script.isEmpty())
        return;
    auto [delayMs, step] = m_script.takeFirst();
    m_pendingStep = std::move(step);
    m_scriptTimer.start(delayMs);
}
