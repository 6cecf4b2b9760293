#pragma once

#include "bridge/BleCharacteristic.h"
#include "bridge/BleError.h"
#include "bridge/BlePeripheral.h"

#include <QBluetoothUuid>
#include <QList>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

// The central-manager operations and callbacks the bridge link needs.
// Every signal is delivered on the main loop in a later turn than the call
// that caused it, never inside it.
class BleBackend : public QObject
{
    Q_OBJECT

public:
    // Radio states, numbered as the central manager numbers them.
    enum class State { unknown = 0, resetting = 1, unsupported = 2, unauthorized = 3, poweredOff = 4, poweredOn = 5 };
    Q_ENUM(State)

    enum class WriteType { withResponse = 0, withoutResponse = 1 };

    explicit BleBackend(QObject *parent = nullptr);

    virtual State state() const = 0;
    virtual void scanForPeripherals(const QList<QBluetoothUuid> &services, bool allowDuplicates) = 0;
    virtual void stopScan() = 0;
    virtual void connectPeripheral(const BlePeripheral &peripheral) = 0;
    virtual void cancelPeripheralConnection(const BlePeripheral &peripheral) = 0;
    virtual void discoverServices(const BlePeripheral &peripheral) = 0;
    virtual void discoverCharacteristics(const BlePeripheral &peripheral, const QBluetoothUuid &service) = 0;
    virtual void setNotifyValue(const BlePeripheral &peripheral, const BleCharacteristic &characteristic,
                                bool enabled) = 0;
    virtual void writeValue(const BlePeripheral &peripheral, const QByteArray &value,
                            const BleCharacteristic &characteristic, WriteType type) = 0;
    virtual void readValue(const BlePeripheral &peripheral, const BleCharacteristic &characteristic) = 0;

    // The bridge simulator when the process asked for it (setUseSimulator or
    // TAVOREN_BRIDGE=simulator), otherwise the Qt Bluetooth backend.
    static std::unique_ptr<BleBackend> createForProcess();
    static void setUseSimulator(bool useSimulator);
    // A factory that takes precedence over both; an empty one restores them.
    static void setProcessFactory(std::function<std::unique_ptr<BleBackend>()> factory);

signals:
    void stateUpdated(BleBackend::State state);
    void peripheralDiscovered(const BlePeripheral &peripheral, int rssi);
    void peripheralConnected(const BlePeripheral &peripheral);
    void peripheralFailedToConnect(const BlePeripheral &peripheral, const std::optional<BleError> &error);
    void servicesDiscovered(const BlePeripheral &peripheral, const QList<QBluetoothUuid> &services,
                            const std::optional<BleError> &error);
    void characteristicsDiscovered(const BlePeripheral &peripheral, const QBluetoothUuid &service,
                                   const QList<BleCharacteristic> &characteristics,
                                   const std::optional<BleError> &error);
    void valueUpdated(const BlePeripheral &peripheral, const BleCharacteristic &characteristic,
                      const std::optional<BleError> &error);
    void valueWritten(const BlePeripheral &peripheral, const BleCharacteristic &characteristic,
                      const std::optional<BleError> &error);
    void peripheralDisconnected(const BlePeripheral &peripheral, const std::optional<BleError> &error);

protected:
    // Runs the callback in a later turn of the main loop.
    void deliver(std::function<void()> callback);
};
