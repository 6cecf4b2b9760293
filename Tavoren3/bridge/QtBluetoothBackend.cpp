#include "bridge/QtBluetoothBackend.h"

namespace {

BleCharacteristic toBle(const QLowEnergyCharacteristic &characteristic, const QByteArray &value)
{
    return {characteristic.uuid(), quint8(characteristic.properties().toInt()), value};
}

BleError serviceError(QLowEnergyService::ServiceError error, const QString &description)
{
    return {QStringLiteral("QLowEnergyService"), int(error), description};
}

} // namespace

QtBluetoothBackend::QtBluetoothBackend(QObject *parent) : BleBackend(parent)
{
    connect(&m_localDevice, &QBluetoothLocalDevice::hostModeStateChanged, this, &QtBluetoothBackend::updateState);
    m_state = currentState();
    const State initial = m_state;
    deliver([this, initial] { emit stateUpdated(initial); });
}

BleBackend::State QtBluetoothBackend::currentState() const
{
    if (QBluetoothLocalDevice::allDevices().isEmpty() || !m_localDevice.isValid())
        return State::unsupported;
    return m_localDevice.hostMode() == QBluetoothLocalDevice::HostPoweredOff ? State::poweredOff : State::poweredOn;
}

void QtBluetoothBackend::updateState()
{
    const State state = currentState();
    if (state == m_state)
        return;
    m_state = state;
    deliver([this, state] { emit stateUpdated(state); });
}

BlePeripheral QtBluetoothBackend::peripheralOf(const QBluetoothDeviceInfo &info)
{
    const QString identifier =
        info.address().isNull() ? info.deviceUuid().toString(QUuid::WithoutBraces) : info.address().toString();
    return BlePeripheral(identifier, info.name());
}

BleError QtBluetoothBackend::controllerError() const
{
    const QString text = m_controller ? m_controller->errorString() : QString();
    return {QStringLiteral("QLowEnergyController"), m_controller ? int(m_controller->error()) : 0,
            text.isEmpty() ? QStringLiteral("The connection was lost.") : text};
}

// --- scanning ------------------------------------------------------------

void QtBluetoothBackend::scanForPeripherals(const QList<QBluetoothUuid> &services, bool allowDuplicates)
{
    if (m_state != State::poweredOn)
        return;
    m_scanServices = services;
    m_allowDuplicates = allowDuplicates;
    if (!m_agent) {
        m_agent = new QBluetoothDeviceDiscoveryAgent(this);
        m_agent->setLowEnergyDiscoveryTimeout(0);
        connect(m_agent, &QBluetoothDeviceDiscoveryAgent::deviceDiscovered, this,
                [this](const QBluetoothDeviceInfo &info) { onDeviceSeen(info, false); });
        connect(m_agent, &QBluetoothDeviceDiscoveryAgent::deviceUpdated, this,
                [this](const QBluetoothDeviceInfo &info, QBluetoothDeviceInfo::Fields fields) {
                    if (fields & QBluetoothDeviceInfo::Field::RSSI)
                        onDeviceSeen(info, true);
                });
    }
    if (!m_agent->isActive())
        m_agent->start(QBluetoothDeviceDiscoveryAgent::LowEnergyMethod);
}

void QtBluetoothBackend::stopScan()
{
    if (m_agent && m_agent->isActive())
        m_agent->stop();
}

void QtBluetoothBackend::onDeviceSeen(const QBluetoothDeviceInfo &info, bool update)
{
    if (!(info.coreConfigurations() & QBluetoothDeviceInfo::LowEnergyCoreConfiguration))
        return;
    const QList<QBluetoothUuid> advertised = info.serviceUuids();
    const bool wanted = std::any_of(m_scanServices.cbegin(), m_scanServices.cend(),
                                    [&](const QBluetoothUuid &uuid) { return advertised.contains(uuid); });
    if (!wanted || (update && !m_allowDuplicates))
        return;
    const BlePeripheral peripheral = peripheralOf(info);
    m_seen.insert(peripheral.identifier(), info);
    const int rssi = info.rssi();
    deliver([this, peripheral, rssi] { emit peripheralDiscovered(peripheral, rssi); });
}

// --- the link ------------------------------------------------------------

void QtBluetoothBackend::dropController()
{
    if (m_controller)
        m_controller->deleteLater();
    m_controller = nullptr;
    m_serviceObjects.clear();
    m_services.clear();
    m_linkUp = false;
    m_discoveringServices = false;
    m_cancelRequested = false;
}

void QtBluetoothBackend::connectPeripheral(const BlePeripheral &peripheral)
{
    const auto seen = m_seen.constFind(peripheral.identifier());
    if (seen == m_seen.constEnd() || m_state != State::poweredOn) {
        deliver([this, peripheral] {
            emit peripheralFailedToConnect(
                peripheral, BleError{QStringLiteral("QLowEnergyController"), int(QLowEnergyController::UnknownRemoteDeviceError),
                                     QStringLiteral("The device is not known to the adapter.")});
        });
        return;
    }
    dropController();
    m_peripheral = peripheral;
    m_controller = QLowEnergyController::createCentral(*seen, this);
    connect(m_controller, &QLowEnergyController::connected, this, [this] {
        m_linkUp = true;
        deliver([this] { emit peripheralConnected(m_peripheral); });
    });
    connect(m_controller, &QLowEnergyController::errorOccurred, this, &QtBluetoothBackend::onControllerError);
    connect(m_controller, &QLowEnergyController::disconnected, this, [this] {
        if (!m_linkUp)
            return;
        const std::optional<BleError> error = m_cancelRequested ? std::nullopt : std::optional(controllerError());
        const BlePeripheral peripheral = m_peripheral;
        dropController();
        deliver([this, peripheral, error] { emit peripheralDisconnected(peripheral, error); });
    });
    connect(m_controller, &QLowEnergyController::serviceDiscovered, this,
            [this](const QBluetoothUuid &service) { m_services.append(service); });
    connect(m_controller, &QLowEnergyController::discoveryFinished, this, [this] {
        m_discoveringServices = false;
        const QList<QBluetoothUuid> services = m_services;
        deliver([this, services] { emit servicesDiscovered(m_peripheral, services, std::nullopt); });
    });
    m_controller->connectToDevice();
}

void QtBluetoothBackend::onControllerError(QLowEnergyController::Error)
{
    const BleError error = controllerError();
    const BlePeripheral peripheral = m_peripheral;
    if (!m_linkUp) {
        dropController();
        deliver([this, peripheral, error] { emit peripheralFailedToConnect(peripheral, error); });
    } else if (m_discoveringServices) {
        m_discoveringServices = false;
        deliver([this, peripheral, error] { emit servicesDiscovered(peripheral, {}, error); });
    }
}

void QtBluetoothBackend::cancelPeripheralConnection(const BlePeripheral &peripheral)
{
    if (!m_controller || !(peripheral == m_peripheral))
        return;
    if (!m_linkUp) {
        // A pending connection ends at once, as a requested disconnection.
        dropController();
        deliver([this, peripheral] { emit peripheralDisconnected(peripheral, std::nullopt); });
        return;
    }
    m_cancelRequested = true;
    m_controller->disconnectFromDevice();
}

void QtBluetoothBackend::discoverServices(const BlePeripheral &peripheral)
{
    if (!m_controller || !m_linkUp || !(peripheral == m_peripheral))
        return;
    m_services.clear();
    m_discoveringServices = true;
    m_controller->discoverServices();
}

void QtBluetoothBackend::discoverCharacteristics(const BlePeripheral &peripheral, const QBluetoothUuid &uuid)
{
    if (!m_controller || !m_linkUp || !(peripheral == m_peripheral))
        return;
    QLowEnergyService *service = m_serviceObjects.value(uuid);
    if (!service) {
        service = m_controller->createServiceObject(uuid, m_controller);
        if (!service)
            return;
        m_serviceObjects.insert(uuid, service);
        connect(service, &QLowEnergyService::stateChanged, this,
                [this, service](QLowEnergyService::ServiceState state) { onServiceState(service, state); });
        connect(service, &QLowEnergyService::errorOccurred, this,
                [this, uuid](QLowEnergyService::ServiceError error) { onServiceError(uuid, error); });
        const auto changed = [this](const QLowEnergyCharacteristic &c, const QByteArray &value) {
            const BleCharacteristic updated = toBle(c, value);
            deliver([this, updated] { emit valueUpdated(m_peripheral, updated, std::nullopt); });
        };
        connect(service, &QLowEnergyService::characteristicChanged, this, changed);
        connect(service, &QLowEnergyService::characteristicRead, this, changed);
        connect(service, &QLowEnergyService::characteristicWritten, this,
                [this](const QLowEnergyCharacteristic &c, const QByteArray &value) {
                    const BleCharacteristic written = toBle(c, value);
                    deliver([this, written] { emit valueWritten(m_peripheral, written, std::nullopt); });
                });
    }
    service->discoverDetails();
}

void QtBluetoothBackend::onServiceState(QLowEnergyService *service, QLowEnergyService::ServiceState state)
{
    if (state != QLowEnergyService::RemoteServiceDiscovered)
        return;
    QList<BleCharacteristic> found;
    for (const QLowEnergyCharacteristic &c : service->characteristics())
        found.append(toBle(c, c.value()));
    const QBluetoothUuid uuid = service->serviceUuid();
    deliver([this, uuid, found] { emit characteristicsDiscovered(m_peripheral, uuid, found, std::nullopt); });
}

void QtBluetoothBackend::onServiceError(const QBluetoothUuid &service, QLowEnergyService::ServiceError error)
{
    switch (error) {
    case QLowEnergyService::CharacteristicReadError: {
        const BleCharacteristic read{m_lastRead, 0, {}};
        const BleError e = serviceError(error, QStringLiteral("Reading the characteristic failed."));
        deliver([this, read, e] { emit valueUpdated(m_peripheral, read, e); });
        break;
    }
    case QLowEnergyService::CharacteristicWriteError: {
        const BleCharacteristic written{m_lastWrite, 0, {}};
        const BleError e = serviceError(error, QStringLiteral("Writing the characteristic failed."));
        deliver([this, written, e] { emit valueWritten(m_peripheral, written, e); });
        break;
    }
    case QLowEnergyService::UnknownError: {
        const BleError e = serviceError(error, QStringLiteral("Characteristic discovery failed."));
        deliver([this, service, e] { emit characteristicsDiscovered(m_peripheral, service, {}, e); });
        break;
    }
    default:
        break;
    }
}

// --- characteristics -----------------------------------------------------

QLowEnergyService *QtBluetoothBackend::serviceWith(const QBluetoothUuid &characteristic) const
{
    for (QLowEnergyService *service : m_serviceObjects)
        if (service->characteristic(characteristic).isValid())
            return service;
    return nullptr;
}

void QtBluetoothBackend::setNotifyValue(const BlePeripheral &, const BleCharacteristic &characteristic, bool enabled)
{
    QLowEnergyService *service = serviceWith(characteristic.uuid);
    if (!service)
        return;
    const QLowEnergyCharacteristic c = service->characteristic(characteristic.uuid);
    const QLowEnergyDescriptor configuration = c.clientCharacteristicConfiguration();
    if (!configuration.isValid())
        return;
    // Client characteristic configuration: 0x0001 notify, 0x0002 indicate, little-endian.
    const QByteArray value = !enabled                                      ? QByteArray::fromHex("0000")
                             : characteristic.has(BleCharacteristic::Notify) ? QByteArray::fromHex("0100")
                                                                             : QByteArray::fromHex("0200");
    service->writeDescriptor(configuration, value);
}

void QtBluetoothBackend::writeValue(const BlePeripheral &, const QByteArray &value,
                                    const BleCharacteristic &characteristic, WriteType type)
{
    QLowEnergyService *service = serviceWith(characteristic.uuid);
    if (!service)
        return;
    m_lastWrite = characteristic.uuid;
    service->writeCharacteristic(service->characteristic(characteristic.uuid), value,
                                 type == WriteType::withResponse ? QLowEnergyService::WriteWithResponse
                                                                 : QLowEnergyService::WriteWithoutResponse);
}

void QtBluetoothBackend::readValue(const BlePeripheral &, const BleCharacteristic &characteristic)
{
    QLowEnergyService *service = serviceWith(characteristic.uuid);
    if (!service)
        return;
    m_lastRead = characteristic.uuid;
    service->readCharacteristic(service->characteristic(characteristic.uuid));
}
