#include "bridge/BleBackend.h"

#include "bridge/BridgeSimulator.h"
#include "bridge/QtBluetoothBackend.h"

namespace {
bool &simulatorRequested()
{
    static bool requested = false;
    return requested;
}

std::function<std::unique_ptr<BleBackend>()> &processFactory()
{
    static std::function<std::unique_ptr<BleBackend>()> factory;
    return factory;
}
}

BleBackend::BleBackend(QObject *parent) : QObject(parent) {}

void BleBackend::deliver(std::function<void()> callback)
{
    QMetaObject::invokeMethod(this, std::move(callback), Qt::QueuedConnection);
}

void BleBackend::setUseSimulator(bool useSimulator)
{
    simulatorRequested() = useSimulator;
}

void BleBackend::setProcessFactory(std::function<std::unique_ptr<BleBackend>()> factory)
{
    processFactory() = std::move(factory);
}

std::unique_ptr<BleBackend> BleBackend::createForProcess()
{
    if (processFactory())
        return processFactory()();
    if (simulatorRequested() || qEnvironmentVariable("TAVOREN_BRIDGE") == QLatin1String("simulator"))
        return std::make_unique<BridgeSimulator>();
    return std::make_unique<QtBluetoothBackend>();
}
