#include "bridge/EspBleCentral.h"

#include "bridge/SpacelabsErrorCatalogSwift.h"
#include "common/Clock.h"
#include "common/Console.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QtEndian>

const QBluetoothUuid EspBleCentral::espButtonService{QStringLiteral("f0debc9a-7856-3412-efbe-fecadeadbef0")};
const QBluetoothUuid EspBleCentral::espCommandService{QStringLiteral("f0debc9a-7856-3412-efbe-fecadeadbea0")};
const QBluetoothUuid EspBleCentral::pulseCharUUID{QStringLiteral("f0debc9a-7856-3412-efbe-fecadeadbef1")};
const QBluetoothUuid EspBleCentral::displayCharUUID{QStringLiteral("f0debc9a-7856-3412-efbe-fecadeadbef2")};
const QBluetoothUuid EspBleCentral::vitalsCharUUID{QStringLiteral("f0debc9a-7856-3412-efbe-fecadeadbef3")};
const QBluetoothUuid EspBleCentral::sysU32UUID{QStringLiteral("f0debc9a-7856-3412-efbe-fecadeadbef4")};
const QBluetoothUuid EspBleCentral::diaU32UUID{QStringLiteral("f0debc9a-7856-3412-efbe-fecadeadbef5")};
const QBluetoothUuid EspBleCentral::hrU32UUID{QStringLiteral("f0debc9a-7856-3412-efbe-fecadeadbef6")};
const QBluetoothUuid EspBleCentral::cmdCharUUID{QStringLiteral("f0debc9a-7856-3412-efbe-fecadeadbea1")};

namespace {

const QString genericErrorAdvice = QStringLiteral(
    "There was an error. Check cuff fit and device status. Make sure that the participant is still and that the "
    "hose is attached correctly. Retry.");

template<typename T>
bool assign(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

QString uuidText(const QBluetoothUuid &uuid)
{
    return uuid.toString(QUuid::WithoutBraces);
}

QString nameOr(const BlePeripheral &peripheral, const QString &fallback)
{
    return peripheral.name().value_or(fallback);
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// Invalid UTF-8 reads as the empty text.
QString utf8Text(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    return decoder.hasError() ? QString() : text;
}

QString propertyWords(quint8 properties)
{
    static const std::pair<BleCharacteristic::Property, const char *> words[] = {
        {BleCharacteristic::Read, "read"},
        {BleCharacteristic::Write, "write"},
        {BleCharacteristic::WriteWithoutResponse, "writeNoResp"},
        {BleCharacteristic::Notify, "notify"},
        {BleCharacteristic::Indicate, "indicate"},
    };
    QStringList present;
    for (const auto &[bit, word] : words)
        if (properties & bit)
            present << QString::fromLatin1(word);
    return present.join(QStringLiteral(", "));
}

// Optional sign and ASCII digits only; none otherwise or on overflow.
std::optional<qint64> signedDecimal(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("\\A[+-]?[0-9]+\\z"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

void logU32(const BleCharacteristic &characteristic, const QString &label, const QString &unit,
            const QString &shortName)
{
    const QByteArray &value = characteristic.value;
    if (value.size() > 3)
        Console::line(QStringLiteral("DEBUG: %1 (binary): %2 %3")
                          .arg(label)
                          .arg(qFromLittleEndian<quint32>(value.constData()))
                          .arg(unit));
    else
        Console::line(QStringLiteral("DEBUG: %1 data too short (%2 bytes)").arg(shortName).arg(value.size()));
}

} // namespace

EspBleCentral::EspBleCentral(std::unique_ptr<BleBackend> backend, QObject *parent)
    : QObject(parent), m_central(std::move(backend))
{
    BleBackend *central = m_central.get();
    QObject::connect(central, &BleBackend::stateUpdated, this, &EspBleCentral::centralManagerDidUpdateState);
    QObject::connect(central, &BleBackend::peripheralDiscovered, this, &EspBleCentral::didDiscoverPeripheral);
    QObject::connect(central, &BleBackend::peripheralConnected, this, &EspBleCentral::didConnectPeripheral);
    QObject::connect(central, &BleBackend::peripheralFailedToConnect, this,
                     &EspBleCentral::didFailToConnectPeripheral);
    QObject::connect(central, &BleBackend::servicesDiscovered, this, &EspBleCentral::didDiscoverServices);
    QObject::connect(central, &BleBackend::characteristicsDiscovered, this,
                     [this](const BlePeripheral &peripheral, const QBluetoothUuid &,
                            const QList<BleCharacteristic> &characteristics, const std::optional<BleError> &error) {
                         didDiscoverCharacteristics(peripheral, characteristics, error);
                     });
    QObject::connect(central, &BleBackend::valueUpdated, this,
                     [this](const BlePeripheral &, const BleCharacteristic &characteristic,
                            const std::optional<BleError> &error) { didUpdateValue(characteristic, error); });
    QObject::connect(central, &BleBackend::valueWritten, this,
                     [this](const BlePeripheral &, const BleCharacteristic &characteristic,
                            const std::optional<BleError> &error) { didWriteValue(characteristic, error); });
    QObject::connect(central, &BleBackend::peripheralDisconnected, this, &EspBleCentral::didDisconnectPeripheral);
}

void EspBleCentral::later(std::function<void()> work)
{
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

// --- fields --------------------------------------------------------------

void EspBleCentral::setConnectedPeripheral(std::optional<BlePeripheral> peripheral)
{
    const bool changed = m_connectedPeripheral.has_value() != peripheral.has_value() ||
                         (peripheral && !(*peripheral == *m_connectedPeripheral));
    m_connectedPeripheral = std::move(peripheral);
    if (changed)
        emit connectedPeripheralChanged();
}

void EspBleCentral::clearConnectedPeripheral()
{
    setConnectedPeripheral(std::nullopt);
}

void EspBleCentral::setIsConnected(bool connected)
{
    if (assign(m_isConnected, connected))
        emit isConnectedChanged();
}

void EspBleCentral::setStatusMessage(const QString &message)
{
    if (assign(m_statusMessage, message))
        emit statusMessageChanged();
}

void EspBleCentral::setDisplayText(const QString &text)
{
    if (assign(m_displayText, text))
        emit displayTextChanged();
}

void EspBleCentral::setLastMeasurement(const QString &text)
{
    if (assign(m_lastMeasurement, text))
        emit lastMeasurementChanged();
}

void EspBleCentral::setSelectedDeviceName(const QString &name)
{
    if (assign(m_selectedDeviceName, name))
        emit selectedDeviceNameChanged();
}

void EspBleCentral::setIsMeasuring(bool measuring)
{
    if (assign(m_isMeasuring, measuring))
        emit isMeasuringChanged();
}

void EspBleCentral::setErrorOccured(bool occured)
{
    if (assign(m_errorOccured, occured))
        emit errorOccuredChanged();
}

// --- operations ----------------------------------------------------------

void EspBleCentral::startScanning()
{
    if (m_central->state() != BleBackend::State::poweredOn)
        return;
    m_sendPeriphFoundNotif = true;
    setStatusMessage(QStringLiteral("Searching for devices..."));
    m_central->scanForPeripherals({espButtonService, espCommandService}, true);
}

void EspBleCentral::stopScanning()
{
    m_central->stopScan();
    m_sendPeriphFoundNotif = false;
}

void EspBleCentral::connect(const BlePeripheral &peripheral)
{
    setConnectedPeripheral(peripheral);
    setSelectedDeviceName(nameOr(peripheral, QStringLiteral("Blood Pressure Monitor")));
    setStatusMessage(QStringLiteral("Connecting to ") + m_selectedDeviceName + QStringLiteral("..."));
    m_central->connectPeripheral(peripheral);
}

void EspBleCentral::cancelPeripheralConnection()
{
    if (m_connectedPeripheral)
        m_central->cancelPeripheralConnection(*m_connectedPeripheral);
}

void EspBleCentral::resetLinkState()
{
    stopKeepAlive();
    stopScanning();
    setIsMeasuring(false);
    setDisplayText(QString());
    setLastMeasurement(QString());
    m_pulseChar.reset();
    m_displayChar.reset();
    m_cmdChar.reset();
}

// --- central callbacks ---------------------------------------------------

void EspBleCentral::centralManagerDidUpdateState(BleBackend::State state)
{
    switch (state) {
    case BleBackend::State::unsupported:
        setStatusMessage(QStringLiteral("Bluetooth not supported"));
        break;
    case BleBackend::State::unauthorized:
        setStatusMessage(QStringLiteral("Bluetooth access denied"));
        break;
    case BleBackend::State::poweredOff:
        setStatusMessage(QStringLiteral("Bluetooth is turned off"));
        setIsConnected(false);
        break;
    case BleBackend::State::poweredOn:
        Console::line(QStringLiteral("Bluetooth is powered on and ready"));
        break;
    default:
        setStatusMessage(QStringLiteral("Bluetooth unavailable"));
        break;
    }
}

void EspBleCentral::didDiscoverPeripheral(const BlePeripheral &peripheral, int rssi)
{
    if (m_sendPeriphFoundNotif)
        emit bleDeviceDiscovered(peripheral, rssi);
    else
        m_central->stopScan();
}

void EspBleCentral::didConnectPeripheral(const BlePeripheral &peripheral)
{
    setIsConnected(true);
    m_central->stopScan();
    setStatusMessage(QStringLiteral("Connected, discovering services..."));
    Console::line(QStringLiteral("DEBUG: Connected to peripheral, discovering services..."));
    m_central->discoverServices(peripheral);
}

void EspBleCentral::didFailToConnectPeripheral(const BlePeripheral &peripheral,
                                               const std::optional<BleError> &error)
{
    setIsConnected(false);
    const QString errorText = error ? error->description : QStringLiteral("Unknown error");
    setStatusMessage(QStringLiteral("Connection failed: ") + errorText);
    Console::line(QStringLiteral("Failed to connect to ") + nameOr(peripheral, QStringLiteral("device")) +
                  QStringLiteral(": ") + errorText);
    setConnectedPeripheral(std::nullopt);
    m_pulseChar.reset();
}

void EspBleCentral::didDiscoverServices(const BlePeripheral &peripheral, const QList<QBluetoothUuid> &services,
                                        const std::optional<BleError> &error)
{
    if (error) {
        Console::line(QStringLiteral("DEBUG ERROR: Service discovery failed: ") + error->description);
        setStatusMessage(QStringLiteral("Service discovery failed"));
        return;
    }
    for (const QBluetoothUuid &service : services) {
        Console::line(QStringLiteral("DEBUG: Discovered service: ") + uuidText(service));
        m_central->discoverCharacteristics(peripheral, service);
    }
}

void EspBleCentral::didDiscoverCharacteristics(const BlePeripheral &peripheral,
                                               const QList<BleCharacteristic> &characteristics,
                                               const std::optional<BleError> &error)
{
    if (error) {
        Console::line(QStringLiteral("DEBUG ERROR: Characteristic discovery failed: ") + error->description);
        return;
    }
    for (const BleCharacteristic &characteristic : characteristics)
        handleCharacteristic(peripheral, characteristic);
}

void EspBleCentral::handleCharacteristic(const BlePeripheral &peripheral, const BleCharacteristic &characteristic)
{
    const QString uuid = uuidText(characteristic.uuid);
    const QString words = propertyWords(characteristic.properties);
    Console::line(QStringLiteral("DEBUG: Characteristic ") + uuid + QStringLiteral(" - properties: [") + words +
                  QStringLiteral("]"));
    const auto subscribe = [&] { m_central->setNotifyValue(peripheral, characteristic, true); };

    if (characteristic.uuid == pulseCharUUID) {
        m_pulseChar = characteristic;
        Console::line(QStringLiteral("DEBUG: ✓ Found PULSE characteristic! Properties: [") + words +
                      QStringLiteral("]"));
        later([this] {
            setStatusMessage(QStringLiteral("Ready for measurements"));
            startKeepAlive();
        });
    } else if (characteristic.uuid == displayCharUUID) {
        m_displayChar = characteristic;
        subscribe();
        Console::line(QStringLiteral("DEBUG: ✓ Found DISPLAY characteristic"));
    } else if (characteristic.uuid == vitalsCharUUID) {
        subscribe();
        Console::line(QStringLiteral("DEBUG: ✓ Found VITALS characteristic"));
    } else if (characteristic.uuid == sysU32UUID || characteristic.uuid == diaU32UUID ||
               characteristic.uuid == hrU32UUID) {
        subscribe();
        Console::line(QStringLiteral("DEBUG: ✓ Found U32 characteristic: ") + uuid);
    } else if (characteristic.uuid == cmdCharUUID) {
        m_cmdChar = characteristic;
        Console::line(QStringLiteral("DEBUG: ✓ Found CMD characteristic"));
    } else {
        Console::line(QStringLiteral("DEBUG: Unknown characteristic: ") + uuid);
        if (characteristic.has(BleCharacteristic::Notify) || characteristic.has(BleCharacteristic::Indicate)) {
            Console::line(QStringLiteral("DEBUG: Enabling notifications for unknown characteristic"));
            subscribe();
        }
    }
}

void EspBleCentral::didDisconnectPeripheral(const BlePeripheral &peripheral, const std::optional<BleError> &error)
{
    stopKeepAlive();
    setIsConnected(false);
    setConnectedPeripheral(std::nullopt);
    m_pulseChar.reset();
    if (error) {
        setStatusMessage(QStringLiteral("Connection lost: ") + error->description);
        Console::line(QStringLiteral("Unexpected disconnection from ") + nameOr(peripheral, QStringLiteral("device")) +
                      QStringLiteral(": ") + error->printed());
    } else {
        setStatusMessage(QStringLiteral("Disconnected"));
        setIsMeasuring(false);
    }
    setDisplayText(QString());
    setSelectedDeviceName(QString());
}

// --- keep-alive ----------------------------------------------------------

void EspBleCentral::startKeepAlive()
{
    if (m_keepAliveTimer) {
        Console::line(QStringLiteral("DEBUG: Keep-alive already running"));
        return;
    }
    Console::line(QStringLiteral("DEBUG: Starting keep-alive timer (0.5s interval, write-based)"));
    m_keepAliveTimer = new QTimer(this);
    m_keepAliveTimer->setTimerType(Qt::PreciseTimer);
    m_keepAliveTimer->setInterval(m_keepAlivePeriod);
    QObject::connect(m_keepAliveTimer, &QTimer::timeout, this, &EspBleCentral::keepAliveTick);
    m_keepAliveTimer->start();
}

void EspBleCentral::stopKeepAlive()
{
    if (!m_keepAliveTimer)
        return;
    m_keepAliveTimer->stop();
    m_keepAliveTimer->deleteLater();
    m_keepAliveTimer = nullptr;
    Console::line(QStringLiteral("DEBUG: Keep-alive timer stopped"));
}

void EspBleCentral::keepAliveTick()
{
    if (!m_connectedPeripheral) {
        Console::line(QStringLiteral("DEBUG: Keep-alive - no peripheral"));
    } else if (m_cmdChar) {
        m_central->writeValue(*m_connectedPeripheral, QByteArray(1, '\0'), *m_cmdChar,
                              BleBackend::WriteType::withoutResponse);
        Console::line(QStringLiteral("DEBUG: Keep-alive write sent"));
    } else if (m_displayChar) {
        Console::line(QStringLiteral("DEBUG: Keep-alive read (fallback)..."));
        m_central->readValue(*m_connectedPeripheral, *m_displayChar);
    } else {
        Console::line(QStringLiteral("DEBUG: Keep-alive - no characteristic available"));
    }
}

// --- button pulse --------------------------------------------------------

QByteArray EspBleCentral::pulsePayload(int length)
{
    const quint16 clamped = quint16(std::clamp(length, 10, 10000));
    QByteArray payload(2, '\0');
    qToLittleEndian(clamped, payload.data());
    return payload;
}

void EspBleCentral::sendPulse(int length)
{
    if (!m_connectedPeripheral) {
        Console::line(QStringLiteral("DEBUG ERROR: Cannot send pulse - no peripheral connected"));
        setStatusMessage(QStringLiteral("Not connected"));
        return;
    }
    if (!m_pulseChar) {
        Console::line(QStringLiteral("DEBUG ERROR: Cannot send pulse - pulse characteristic not discovered!"));
        Console::line(QStringLiteral("DEBUG: This means the device doesn't have the expected pulse characteristic UUID"));
        setStatusMessage(QStringLiteral("Device not ready - pulse char missing"));
        return;
    }
    const QByteArray payload = pulsePayload(length);
    if (m_pulseChar->has(BleCharacteristic::WriteWithoutResponse)) {
        m_central->writeValue(*m_connectedPeripheral, payload, *m_pulseChar, BleBackend::WriteType::withoutResponse);
        later([this] { setStatusMessage(QStringLiteral("Measurement in progress...")); });
    } else if (m_pulseChar->has(BleCharacteristic::Write)) {
        m_central->writeValue(*m_connectedPeripheral, payload, *m_pulseChar, BleBackend::WriteType::withResponse);
    } else {
        Console::line(QStringLiteral("DEBUG ERROR: Characteristic doesn't support any write type!"));
        setStatusMessage(QStringLiteral("Cannot write to device"));
        return;
    }
    startKeepAlive();
}

void EspBleCentral::didWriteValue(const BleCharacteristic &characteristic, const std::optional<BleError> &error)
{
    if (characteristic.uuid != pulseCharUUID)
        return;
    if (error) {
        Console::line(QStringLiteral("Failed to send pulse command: ") + error->description);
        later([this] { setStatusMessage(QStringLiteral("Failed to start measurement")); });
        return;
    }
    Console::line(QStringLiteral("Pulse command sent successfully"));
    later([this] {
        setStatusMessage(m_isMeasuring ? QStringLiteral("Stopping the measurement...")
                                       : QStringLiteral("Starting the measurement..."));
    });
}

// --- display and vitals --------------------------------------------------

void EspBleCentral::didUpdateValue(const BleCharacteristic &characteristic, const std::optional<BleError> &error)
{
    if (error) {
        Console::line(QStringLiteral("DEBUG ERROR: Error receiving data: ") + error->description);
        return;
    }
    if (characteristic.value.isNull()) {
        Console::line(QStringLiteral("DEBUG: Received nil data from characteristic ") + uuidText(characteristic.uuid));
        return;
    }
    const QBluetoothUuid &uuid = characteristic.uuid;
    const QString text = utf8Text(characteristic.value);
    if (uuid == vitalsCharUUID) {
        Console::line(QStringLiteral("DEBUG: Vitals text: '") + text + QStringLiteral("'"));
        stopKeepAlive();
        setIsMeasuring(false);
        parseVitals(text);
    } else if (uuid == displayCharUUID) {
        Console::line(QStringLiteral("DEBUG: Display text: '") + text + QStringLiteral("'"));
        later([this, text] { handleDisplayText(text); });
    } else if (uuid == sysU32UUID) {
        logU32(characteristic, QStringLiteral("Systolic"), QStringLiteral("mmHg"), QStringLiteral("SYS"));
    } else if (uuid == diaU32UUID) {
        logU32(characteristic, QStringLiteral("Diastolic"), QStringLiteral("mmHg"), QStringLiteral("DIA"));
    } else if (uuid == hrU32UUID) {
        logU32(characteristic, QStringLiteral("Heart rate"), QStringLiteral("bpm"), QStringLiteral("HR"));
    } else if (uuid == cmdCharUUID) {
        Console::line(QStringLiteral("DEBUG: Command response: '") + text + QStringLiteral("'"));
    } else if (!text.isEmpty()) {
        Console::line(QStringLiteral("DEBUG: Unknown characteristic text: '") + text + QStringLiteral("'"));
    } else {
        Console::line(QStringLiteral("DEBUG: Unknown characteristic binary data"));
    }
}

std::optional<qint64> EspBleCentral::extractInteger(const QString &text, const QString &pattern)
{
    const QRegularExpression expression(pattern);
    if (!expression.isValid()) {
        Console::line(QStringLiteral("Invalid regex pattern: ") + pattern);
        return std::nullopt;
    }
    const QRegularExpressionMatch match = expression.match(text);
    if (!match.hasMatch() || expression.captureCount() < 1)
        return std::nullopt;
    return signedDecimal(match.captured(1));
}

void EspBleCentral::parseVitals(const QString &text)
{
    const std::optional<qint64> systolic = extractInteger(text, QStringLiteral("SYS=(\\d+)"));
    const std::optional<qint64> diastolic = extractInteger(text, QStringLiteral("DIA=(\\d+)"));
    const std::optional<qint64> heartRate = extractInteger(text, QStringLiteral("HR=(\\d+)"));
    qint64 twiceDiastolic = 0;
    qint64 sum = 0;
    // Numbers whose mean arterial pressure cannot be computed are refused like unreadable ones.
    if (!systolic || !diastolic || __builtin_mul_overflow(*diastolic, qint64(2), &twiceDiastolic) ||
        __builtin_add_overflow(*systolic, twiceDiastolic, &sum)) {
        Console::line(QStringLiteral("Failed to parse vitals from text: ") + text);
        return;
    }
    const qint64 meanArterialPressure = sum / 3;
    const QString rate = heartRate ? QString::number(*heartRate) : QStringLiteral("-");
    const QString result = QStringLiteral("SYS=%1 DIA=%2 MAP=%3 HR=%4")
                               .arg(*systolic)
                               .arg(*diastolic)
                               .arg(meanArterialPressure)
                               .arg(rate);
    const QString status = QStringLiteral("BP: %1/%2 mmHg, HR: %3 bpm").arg(*systolic).arg(*diastolic).arg(rate);
    later([this, result, status] {
        setLastMeasurement(result);
        setStatusMessage(status);
    });
}

void EspBleCentral::handleDisplayText(const QString &text)
{
    setDisplayText(text);

    if (text.startsWith(QLatin1String("EC")) || text == QLatin1String("LLL") || text == QLatin1String("Lbb")) {
        const std::optional<ErrorStatusSwift> entry = SpacelabsErrorCatalogSwift::lookup(text);
        if (entry) {
            const QStringList pieces = entry->description.split(QLatin1Char('|'), Qt::SkipEmptyParts);
            if (pieces.size() > 1) {
                setStatusMessage(pieces.at(1));
                setLastMeasurement(pieces.at(0));
            } else {
                // An entry without an advice shows its description as the
                // advice, under a headline made like the others' ("Kinked
                // hose EC82."), so the advice still reaches the label file
                // at the next normal display.
                setStatusMessage(entry->description);
                setLastMeasurement(entry->title + QLatin1Char(' ') + entry->code + QLatin1Char('.'));
            }
        } else {
            setStatusMessage(genericErrorAdvice);
            setLastMeasurement(QStringLiteral("Unknown error."));
        }
        setErrorOccured(true);
        // The monitor has given the measurement up: the next press starts one.
        setIsMeasuring(false);
        stopKeepAlive();
        return;
    }

    if (m_errorOccured) {
        setLastMeasurement(m_statusMessage);
        setErrorOccured(false);
        return;
    }

    bool clockRead = false;
    const int clockValue = Clock::current().now().toString(QStringLiteral("HHmm")).toInt(&clockRead);
    const qint64 now = clockRead ? clockValue : -1;
    Console::line(QStringLiteral("DEBUG: Checking display - time=%1, display='%2', isMeasuring=%3")
                      .arg(now)
                      .arg(text, yesNo(m_isMeasuring)));
    const qint64 shown = signedDecimal(text).value_or(0);
    if (!m_isMeasuring) {
        qint64 difference = 0;
        const bool fits = !__builtin_sub_overflow(shown, now, &difference);
        if (fits && difference > -2 && difference < 2) {
            setStatusMessage(QStringLiteral("Ready for measurement..."));
            return;
        }
        setIsMeasuring(true);
    }
    setStatusMessage(QStringLiteral("Measurement in progress..."));
    startKeepAlive();
    Console::line(QStringLiteral("DEBUG: ✓ Auto-detected measurement start! isMeasuring now = ") + yesNo(m_isMeasuring));
}
