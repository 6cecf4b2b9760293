#include "bridge/BLEDeviceBrowserView.h"

#include "bridge/EspBleCentral.h"

#include <QVariantMap>

BLEDeviceBrowserView::BLEDeviceBrowserView(EspBleCentral &bleManager, QObject *parent)
    : QObject(parent), m_bleManager(bleManager)
{
    connect(&m_bleManager, &EspBleCentral::bleDeviceDiscovered, this, &BLEDeviceBrowserView::deviceDiscovered);
}

void BLEDeviceBrowserView::setIsPresented(bool presented)
{
    if (m_isPresented == presented)
        return;
    m_isPresented = presented;
    if (presented) {
        m_discoveredDevices.clear();
        m_rssiValues.clear();
        m_selectedDevice.reset();
        emit devicesChanged();
        m_bleManager.startScanning();
    } else {
        m_bleManager.stopScanning();
    }
    emit isPresentedChanged();
}

std::optional<int> BLEDeviceBrowserView::rssi(const BlePeripheral &peripheral) const
{
    const auto found = m_rssiValues.constFind(peripheral.identifier());
    return found == m_rssiValues.constEnd() ? std::nullopt : std::optional<int>(*found);
}

BLEDeviceBrowserView::SignalIndicator BLEDeviceBrowserView::signalIndicator(int rssi)
{
    if (rssi > 0 || rssi < -80)
        return {QStringLiteral("wifi.slash"), QStringLiteral("red")};
    if (rssi >= -50)
        return {QStringLiteral("wifi.exclamationmark"), QStringLiteral("green")};
    if (rssi >= -70)
        return {QStringLiteral("wifi"), QStringLiteral("yellow")};
    return {QStringLiteral("wifi"), QStringLiteral("red")};
}

QVariantList BLEDeviceBrowserView::rows() const
{
    QVariantList rows;
    for (const BlePeripheral &peripheral : m_discoveredDevices) {
        QVariantMap row;
        row[QStringLiteral("name")] = peripheral.name().value_or(QStringLiteral("Unknown Device"));
        const std::optional<int> strength = rssi(peripheral);
        const SignalIndicator indicator = strength ? signalIndicator(*strength) : SignalIndicator();
        row[QStringLiteral("rssiText")] = strength ? QString::number(*strength) + QStringLiteral(" dBm") : QString();
        row[QStringLiteral("icon")] = indicator.icon;
        row[QStringLiteral("iconColor")] = indicator.color;
        row[QStringLiteral("selected")] = m_selectedDevice == peripheral;
        rows.append(row);
    }
    return rows;
}

void BLEDeviceBrowserView::deviceDiscovered(const BlePeripheral &peripheral, int rssi)
{
    if (!peripheral.isValid())
        return;
    if (!m_discoveredDevices.contains(peripheral))
        m_discoveredDevices.append(peripheral);
    m_rssiValues.insert(peripheral.identifier(), rssi);
    emit devicesChanged();
}

void BLEDeviceBrowserView::select(int row)
{
    if (row < 0 || row >= m_discoveredDevices.size())
        return;
    m_selectedDevice = m_discoveredDevices.at(row);
    emit devicesChanged();
}

void BLEDeviceBrowserView::cancel()
{
    setIsPresented(false);
}

void BLEDeviceBrowserView::connectSelected()
{
    if (!m_selectedDevice)
        return;
    m_bleManager.connect(*m_selectedDevice);
    setIsPresented(false);
}
