// Texts from the blood-pressure bridge: a run of display and vitals
// notifications, as the simulated bridge would deliver them. Records are
// separated by a zero byte; a record whose first byte is odd is a vitals
// text, otherwise a display text (the first byte is not part of the text).

#include "FuzzApplication.h"
#include "bridge/BridgeSimulator.h"
#include "bridge/EspBleCentral.h"

#include <cstdint>
#include <cstdlib>

namespace {
BridgeSimulator *bridge;
EspBleCentral *central;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzApplication::ensure();
    auto backend = std::make_unique<BridgeSimulator>(BridgeSimulator::Timing::fast());
    bridge = backend.get();
    central = new EspBleCentral(std::move(backend));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QByteArray &record : bytes.split('\0')) {
        if (record.isEmpty())
            continue;
        const QBluetoothUuid &uuid =
            (quint8(record[0]) & 1) ? EspBleCentral::vitalsCharUUID : EspBleCentral::displayCharUUID;
        emit bridge->valueUpdated(bridge->peripheral(),
                                  BleCharacteristic{uuid, BleCharacteristic::Notify, record.mid(1)}, std::nullopt);
        FuzzApplication::settle();
        // A vitals text ends the measurement, whatever it holds.
        if (uuid == EspBleCentral::vitalsCharUUID && (central->isMeasuring() || central->keepAliveRunning()))
            std::abort();
    }
    return 0;
}
