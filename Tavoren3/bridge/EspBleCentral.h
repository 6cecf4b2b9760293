#pragma once

#include "bridge/BleBackend.h"

#include <QBluetoothUuid>
#include <QObject>
#include <QTimer>
#include <QtQml/qqmlregistration.h>
#include <chrono>
#include <memory>
#include <optional>

// The Bluetooth LE central for the blood-pressure bridge: scan, connect,
// discovery, keep-alive, the button pulse and the monitor's display and
// vitals. All of it runs on the main loop.
class EspBleCentral : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The application's one bridge link, given to the screens.")
    Q_PROPERTY(BlePeripheral connectedPeripheral READ connectedPeripheralOrNone NOTIFY connectedPeripheralChanged)
    Q_PROPERTY(bool isConnected READ isConnected WRITE setIsConnected NOTIFY isConnectedChanged)
    Q_PROPERTY(QString statusMessage READ statusMessage WRITE setStatusMessage NOTIFY statusMessageChanged)
    Q_PROPERTY(QString displayText READ displayText NOTIFY displayTextChanged)
    Q_PROPERTY(QString lastMeasurement READ lastMeasurement NOTIFY lastMeasurementChanged)
    Q_PROPERTY(QString selectedDeviceName READ selectedDeviceName WRITE setSelectedDeviceName NOTIFY
                   selectedDeviceNameChanged)
    Q_PROPERTY(bool isMeasuring READ isMeasuring NOTIFY isMeasuringChanged)
    Q_PROPERTY(bool errorOccured READ errorOccured NOTIFY errorOccuredChanged)

public:
    static const QBluetoothUuid espButtonService;
    static const QBluetoothUuid espCommandService;
    static const QBluetoothUuid pulseCharUUID;
    static const QBluetoothUuid displayCharUUID;
    static const QBluetoothUuid vitalsCharUUID;
    static const QBluetoothUuid sysU32UUID;
    static const QBluetoothUuid diaU32UUID;
    static const QBluetoothUuid hrU32UUID;
    static const QBluetoothUuid cmdCharUUID;

    static constexpr std::chrono::milliseconds keepAliveInterval{500};

    explicit EspBleCentral(std::unique_ptr<BleBackend> backend, QObject *parent = nullptr);

    const std::optional<BlePeripheral> &connectedPeripheral() const { return m_connectedPeripheral; }
    BlePeripheral connectedPeripheralOrNone() const { return m_connectedPeripheral.value_or(BlePeripheral()); }
    Q_INVOKABLE void clearConnectedPeripheral();
    bool sendPeriphFoundNotif() const { return m_sendPeriphFoundNotif; }
    bool isConnected() const { return m_isConnected; }
    void setIsConnected(bool connected);
    QString statusMessage() const { return m_statusMessage; }
    void setStatusMessage(const QString &message);
    QString displayText() const { return m_displayText; }
    QString lastMeasurement() const { return m_lastMeasurement; }
    QString selectedDeviceName() const { return m_selectedDeviceName; }
    void setSelectedDeviceName(const QString &name);
    bool isMeasuring() const { return m_isMeasuring; }
    bool errorOccured() const { return m_errorOccured; }
    bool keepAliveRunning() const { return m_keepAliveTimer != nullptr; }

    Q_INVOKABLE void startScanning();
    Q_INVOKABLE void stopScanning();
    Q_INVOKABLE void connect(const BlePeripheral &peripheral);
    // Asks the platform to drop the link to the connected peripheral.
    Q_INVOKABLE void cancelPeripheralConnection();
    Q_INVOKABLE void resetLinkState();
    Q_INVOKABLE void sendPulse(int length);

    void startKeepAlive();
    void stopKeepAlive();
    void handleDisplayText(const QString &text);
    void parseVitals(const QString &text);

    // The first capture group of the first match of pattern, read as a signed integer.
    static std::optional<qint64> extractInteger(const QString &text, const QString &pattern);
    // The clamped pulse length as two bytes, little-endian.
    static QByteArray pulsePayload(int length);

    // Tests shorten the keep-alive period.
    void setKeepAlivePeriod(std::chrono::milliseconds period) { m_keepAlivePeriod = period; }

signals:
    void bleDeviceDiscovered(const BlePeripheral &peripheral, int rssi);
    void connectedPeripheralChanged();
    void isConnectedChanged();
    void statusMessageChanged();
    void displayTextChanged();
    void lastMeasurementChanged();
    void selectedDeviceNameChanged();
    void isMeasuringChanged();
    void errorOccuredChanged();

private:
    void centralManagerDidUpdateState(BleBackend::State state);
    void didDiscoverPeripheral(const BlePeripheral &peripheral, int rssi);
    void didConnectPeripheral(const BlePeripheral &peripheral);
    void didFailToConnectPeripheral(const BlePeripheral &peripheral, const std::optional<BleError> &error);
    void didDiscoverServices(const BlePeripheral &peripheral, const QList<QBluetoothUuid> &services,
                             const std::optional<BleError> &error);
    void didDiscoverCharacteristics(const BlePeripheral &peripheral,
                                    const QList<BleCharacteristic> &characteristics,
                                    const std::optional<BleError> &error);
    void didUpdateValue(const BleCharacteristic &characteristic, const std::optional<BleError> &error);
    void didWriteValue(const BleCharacteristic &characteristic, const std::optional<BleError> &error);
    void didDisconnectPeripheral(const BlePeripheral &peripheral, const std::optional<BleError> &error);

    void handleCharacteristic(const BlePeripheral &peripheral, const BleCharacteristic &characteristic);
    void keepAliveTick();
    void setConnectedPeripheral(std::optional<BlePeripheral> peripheral);
    void setDisplayText(const QString &text);
    void setLastMeasurement(const QString &text);
    void setIsMeasuring(bool measuring);
    void setErrorOccured(bool occured);
    void later(std::function<void()> work);

    std::unique_ptr<BleBackend> m_central;
    std::optional<BlePeripheral> m_connectedPeripheral;
    bool m_sendPeriphFoundNotif = false;
    bool m_isConnected = false;
    QString m_statusMessage = QStringLiteral("No device selected");
    QString m_displayText;
    QString m_lastMeasurement;
    QString m_selectedDeviceName;
    std::optional<BleCharacteristic> m_pulseChar;
    std::optional<BleCharacteristic> m_displayChar;
    std::optional<BleCharacteristic> m_cmdChar;
    QTimer *m_keepAliveTimer = nullptr;
    bool m_isMeasuring = false;
    bool m_errorOccured = false;
    std::chrono::milliseconds m_keepAlivePeriod = keepAliveInterval;
};
