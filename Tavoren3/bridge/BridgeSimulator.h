#pragma once

#include "bridge/BleBackend.h"

#include <QList>
#include <QSet>
#include <QTimer>
#include <functional>
#include <optional>

// A scripted ESP bridge wired to a Spacelabs-style monitor. It advertises
// both bridge services, offers the bridge's characteristics, shows the
// clock ("HHmm") while idle, counts the cuff pressure while a measurement
// runs after a pulse, and ends it with a vitals text or an error code.
// Errors, battery codes and link losses happen on request.
class BridgeSimulator : public BleBackend
{
    Q_OBJECT

public:
    struct Timing
    {
        int latencyMs;          // delay of every callback
        int advertiseMs;        // between advertisements while scanning
        int measurementStepMs;  // between two pressure readings
        int resultHoldMs;       // a result or error stays before the clock returns
        int clockCheckMs;       // how often the idle display follows the clock

        static Timing realTime() { return {30, 1000, 1500, 8000, 1000}; }
        static Timing fast() { return {0, 2, 2, 10, 5}; }
    };

    struct Write
    {
        QBluetoothUuid uuid;
        QByteArray value;
        WriteType type;
    };

    explicit BridgeSimulator(Timing timing = Timing::realTime(), QObject *parent = nullptr);

    BlePeripheral peripheral() const { return m_peripheral; }
    QString display() const { return m_display; }
    bool measuring() const { return m_measuring; }
    const QList<Write> &writes() const { return m_writes; }
    int displayReads() const { return m_displayReads; }

    // Requests.
    void setRadioState(State state);
    void setPulseProperties(quint8 properties) { m_pulseProperties = properties; }
    void setNextResult(int systolic, int diastolic, int heartRate);
    void failNextMeasurement(const QString &code) { m_nextFailure = code; }
    void failNextConnection(const QString &description) { m_connectionFailure = description; }
    void failNextPulseWrite(const QString &description) { m_pulseWriteFailure = description; }
    // Shows a text on the monitor now, e.g. "LLL", "Lbb" or an error code;
    // the clock returns after the hold time.
    void showDisplay(const QString &text);
    void dropLink(const QString &description);

    State state() const override { return m_state; }
    void scanForPeripherals(const QList<QBluetoothUuid> &services, bool allowDuplicates) override;
    void stopScan() override;
    void connectPeripheral(const BlePeripheral &peripheral) override;
    void cancelPeripheralConnection(const BlePeripheral &peripheral) override;
    void discoverServices(const BlePeripheral &peripheral) override;
    void discoverCharacteristics(const BlePeripheral &peripheral, const QBluetoothUuid &service) override;
    void setNotifyValue(const BlePeripheral &peripheral, const BleCharacteristic &characteristic,
                        bool enabled) override;
    void writeValue(const BlePeripheral &peripheral, const QByteArray &value, const BleCharacteristic &characteristic,
                    WriteType type) override;
    void readValue(const BlePeripheral &peripheral, const BleCharacteristic &characteristic) override;

private:
    void post(std::function<void()> callback);
    void advertise();
    void pressButton();
    void startMeasurement();
    void finishMeasurement();
    void endWith(const QString &text);
    void setDisplay(const QString &text);
    void followClock();
    void runScript();
    void endLink(const std::optional<BleError> &error);
    void notify(const QBluetoothUuid &uuid, const QByteArray &value);
    BleCharacteristic characteristic(const QBluetoothUuid &uuid, const QByteArray &value = {}) const;
    static QString clockText();

    Timing m_timing;
    State m_state = State::poweredOn;
    BlePeripheral m_peripheral;
    bool m_connected = false;
    bool m_measuring = false;
    bool m_allowDuplicates = false;
    QString m_display;
    quint8 m_pulseProperties;
    int m_systolic = 120;
    int m_diastolic = 80;
    int m_heartRate = 60;
    int m_rssi = -55;
    int m_displayReads = 0;
    std::optional<QString> m_nextFailure;
    std::optional<QString> m_connectionFailure;
    std::optional<QString> m_pulseWriteFailure;
    QSet<QBluetoothUuid> m_subscribed;
    QList<Write> m_writes;
    QList<std::pair<int, std::function<void()>>> m_script;
    std::function<void()> m_pendingStep;
    QTimer m_advertiseTimer;
    QTimer m_scriptTimer;
    QTimer m_clockTimer;
};
