#pragma once

#include "bridge/BlePeripheral.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <optional>

class EspBleCentral;

// The sheet in which the operator picks the bridge among the peripherals
// the scan finds, with each one's latest signal strength.
class BLEDeviceBrowserView : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(BLEDeviceBrowserViewModel)
    QML_UNCREATABLE("Made by BloodPersureView.")
    Q_PROPERTY(bool isPresented READ isPresented WRITE setIsPresented NOTIFY isPresentedChanged)
    Q_PROPERTY(bool searching READ searching NOTIFY devicesChanged)
    // One map per row: "name", "rssiText" (empty when unknown), "icon", "iconColor", "selected".
    Q_PROPERTY(QVariantList rows READ rows NOTIFY devicesChanged)
    Q_PROPERTY(bool connectEnabled READ connectEnabled NOTIFY devicesChanged)

public:
    struct SignalIndicator
    {
        QString icon;
        QString color;
    };

    explicit BLEDeviceBrowserView(EspBleCentral &bleManager, QObject *parent = nullptr);

    bool isPresented() const { return m_isPresented; }
    // Showing starts a fresh scan; going away, however it happens, stops it.
    void setIsPresented(bool presented);
    const QList<BlePeripheral> &discoveredDevices() const { return m_discoveredDevices; }
    std::optional<int> rssi(const BlePeripheral &peripheral) const;
    const std::optional<BlePeripheral> &selectedDevice() const { return m_selectedDevice; }
    bool searching() const { return m_discoveredDevices.isEmpty(); }
    QVariantList rows() const;
    bool connectEnabled() const { return m_selectedDevice.has_value(); }

    static SignalIndicator signalIndicator(int rssi);

    Q_INVOKABLE void select(int row);
    Q_INVOKABLE void cancel();
    Q_INVOKABLE void connectSelected();

signals:
    void isPresentedChanged();
    void devicesChanged();

private:
    void deviceDiscovered(const BlePeripheral &peripheral, int rssi);

    bool m_isPresented = false;
    EspBleCentral &m_bleManager;
    QList<BlePeripheral> m_discoveredDevices;
    QHash<QString, int> m_rssiValues;
    std::optional<BlePeripheral> m_selectedDevice;
};
