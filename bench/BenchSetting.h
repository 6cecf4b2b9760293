#pragma once

#include "bridge/BleBackend.h"
#include "common/Console.h"
#include "common/DocumentsFolder.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QTemporaryDir>

// A benchmark's surroundings: console on standard error, the drone link on
// loopback with a discovery port of its own, documents in `documents`, the
// simulated bridge.
inline void useBenchSetting(const QTemporaryDir &documents)
{
    Console::useStandardError();
    qputenv("TAVOREN_DISCOVERY", "loopback");
    qputenv("TAVOREN_DISCOVERY_PORT", QByteArray::number(40000 + QCoreApplication::applicationPid() % 10000));
    DocumentsFolder::setOverride(documents.path());
    BleBackend::setUseSimulator(true);
}
