#pragma once

#include "bridge/BleBackend.h"

#include <QBluetoothDeviceDiscoveryAgent>
#include <QBluetoothDeviceInfo>
#include <QBluetoothLocalDevice>
#include <QHash>
#include <QLowEnergyController>
#include <QLowEnergyService>
#include <QPointer>

// Real bridges through Qt Bluetooth (BlueZ on Linux). Without an adapter
// the radio state reads unsupported.
class QtBluetoothBackend : public BleBackend
{
    Q_OBJECT

public:
    explicit QtBluetoothBackend(QObject *parent = nullptr);

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
    State currentState() const;
    void updateState();
    void onDeviceSeen(const QBluetoothDeviceInfo &info, bool update);
    void onControllerError(QLowEnergyController::Error error);
    void onServiceError(const QBluetoothUuid &service, QLowEnergyService::ServiceError error);
    void onServiceState(QLowEnergyService *service, QLowEnergyService::ServiceState state);
    void dropController();
    QLowEnergyService *serviceWith(const QBluetoothUuid &characteristic) const;
    BleError controllerError() const;
    static BlePeripheral peripheralOf(const QBluetoothDeviceInfo &info);

    QBluetoothLocalDevice m_localDevice;
    State m_state = State::unknown;
    QPointer<QBluetoothDeviceDiscoveryAgent> m_agent;
    QList<QBluetoothUuid> m_scanServices;
    bool m_allowDuplicates = false;
    QHash<QString, QBluetoothDeviceInfo> m_seen;
    QPointer<QLowEnergyController> m_controller;
    BlePeripheral m_peripheral;
    bool m_linkUp = false;
    bool m_discoveringServices = false;
    bool m_cancelRequested = false;
    QList<QBluetoothUuid> m_services;
    QHash<QBluetoothUuid, QLowEnergyService *> m_serviceObjects;
    QBluetoothUuid m_lastRead;
    QBluetoothUuid m_lastWrite;
};
