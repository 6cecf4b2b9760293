// Texts on the drone link, read at both ends: the drone's reading of a
// state message and the timekeeper's reading of acknowledgements, slider
// ratings and free messages.

#include "FuzzApplication.h"
#include "drone/DroneEndpoint.h"
#include "drone/MultipeerSession.h"

#include <cstdint>
#include <cstdlib>

namespace {
DroneEndpoint *drone;
MultipeerSession *session;
QString lastText;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzApplication::ensure();
    drone = new DroneEndpoint(QStringLiteral("fuzz-drone"));
    session = new MultipeerSession(QStringLiteral("fuzz-timekeeper"));
    // A state the drone takes is the text after the header's bar, under the header's number.
    QObject::connect(drone, &DroneEndpoint::stateReceived, [](qint64 sequence, const QString &payload, bool) {
        const QString header = QStringLiteral("@State: seq:");
        const qsizetype bar = lastText.indexOf(QLatin1Char('|'));
        if (!lastText.startsWith(header) || bar < 0 || lastText.mid(bar + 1) != payload
            || lastText.mid(header.size(), bar - header.size()).toLongLong() != sequence)
            std::abort();
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    lastText = QString::fromUtf8(bytes);
    drone->handleMessage(bytes);

    const qint64 ackedBefore = session->lastAckedSequence();
    const QString receivedBefore = session->receivedMessage();
    session->handleReceivedData(bytes);
    if (session->lastAckedSequence() < ackedBefore)
        std::abort();
    if (bytes.startsWith("@Ack: ") || bytes.startsWith("@State")) {
        if (session->receivedMessage() != receivedBefore)
            std::abort();
    }
    FuzzApplication::settle();
    return 0;
}
