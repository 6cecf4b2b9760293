#include "bridge/BleBackend.h"

#include "bridge/BridgeSimulator.h"
#include "bridge/QtBluetoothBackend.h"

namespace {
bool &simulatorRequested()
{
    static bool requested = false;
    return requested;
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

std::unique_ptr<BleBackend> BleBackend::createForProcess()
{
    if (simulatorRequested() || qEnvironmentVariable("TAVOREN_BRIDGE") == QLatin1String("simulator"))
        return std::make_unique<BridgeSimulator>();
    return std::make_unique<QtBluetoothBackend>();
}
