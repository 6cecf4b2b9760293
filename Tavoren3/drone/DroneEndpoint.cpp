#include "drone/DroneEndpoint.h"

#include "common/Console.h"
#include "drone/MultipeerSession.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QTimer>

#include <algorithm>

DroneEndpoint::DroneEndpoint(const QString &displayName, QObject *parent)
    : QObject(parent), m_transport(displayName, QString::fromLatin1(MultipeerSession::serviceType),
                                   PairedDevices::inConfigFolder(PairedDevices::timekeepersFile))
{
    m_transport.setTakesPairing(true);
    connect(&m_transport, &PeerTransport::pairingChanged, this, &DroneEndpoint::pairingChanged);
    connect(&m_transport, &PeerTransport::dataReceived, this,
            [this](const QByteArray &data, const PeerId &) { handleMessage(data); });
    connect(&m_transport, &PeerTransport::peerStateChanged, this,
            [this](const PeerId &peer, PeerTransport::PeerState state) {
                if (state == PeerTransport::PeerState::connected) {
                    // A timekeeper started anew counts from 1 again.
                    m_newestSequence = -1;
                    Console::line(QStringLiteral("Connected to ") + peer.description());
                } else if (state == PeerTransport::PeerState::notConnected) {
                    Console::line(QStringLiteral("Not connected to ") + peer.description());
                    m_transport.startAdvertising();
                }
                emit connectedChanged();
            });
    connect(&m_transport, &PeerTransport::peerFound, this, [this](const PeerId &peer) {
        if (m_inviteFound && m_transport.connectedPeers().isEmpty() && m_transport.pairedDevices().contains(peer.key))
            m_transport.invitePeer(peer, MultipeerSession::invitationTimeoutMs);
    });
    connect(&m_transport, &PeerTransport::peerMisbehaved, this, [](const PeerId &peer, const QString &what) {
        Console::line(QStringLiteral("Peer ") + peer.description() + QLatin1Char(' ') + what);
    });
}

void DroneEndpoint::start()
{
    m_transport.startAdvertising();
    if (m_inviteFound)
        m_transport.startBrowsing();
}

int DroneEndpoint::forgetTimekeepers()
{
    disconnectAll();
    return m_transport.pairedDevices().removeAll();
}

void DroneEndpoint::handleMessage(const QByteArray &data)
{
    static const QRegularExpression header(QStringLiteral("^@State: seq:([0-9]+)\\|"));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(data);
    if (decoder.hasError())
        return;
    const QRegularExpressionMatch match = header.match(text);
    bool ok = false;
    const qint64 sequence = match.hasMatch() ? match.captured(1).toLongLong(&ok) : 0;
    if (!ok) {
        Console::line(QStringLiteral("Ignoring a message that is not a state: ") + text);
        return;
    }
    acknowledge(sequence);
    const QString payload = text.mid(match.capturedLength());
    // States arrive in the order they were sent, so one numbered no higher
    // than the newest is a resend that came late: it is not shown.
    const bool repeat = sequence <= m_newestSequence;
    m_newestSequence = std::max(m_newestSequence, sequence);
    emit stateReceived(sequence, payload, repeat);
    if (repeat)
        return;
    if (m_payload != payload) {
        m_payload = payload;
        emit payloadChanged();
    }
}

void DroneEndpoint::acknowledge(qint64 sequence)
{
    if (m_acksToDrop != 0) {
        if (m_acksToDrop > 0)
            --m_acksToDrop;
        return;
    }
    const QByteArray ack = QByteArrayLiteral("@Ack: ") + QByteArray::number(sequence);
    const int copies = m_duplicateAcks ? 2 : 1;
    const auto send = [this, ack, copies] {
        for (int i = 0; i < copies; ++i)
            sendRaw(ack);
    };
    if (m_ackDelayMs > 0)
        QTimer::singleShot(m_ackDelayMs, this, send);
    else
        send();
}

void DroneEndpoint::sendSlider(int value)
{
    sendRaw(QByteArrayLiteral("@Slider value is: ") + QByteArray::number(value));
}

bool DroneEndpoint::sendRaw(const QByteArray &bytes)
{
    QString error;
    return m_transport.send(bytes, &error);
}

void DroneEndpoint::disconnectAll()
{
    const QList<PeerId> peers = m_transport.connectedPeers();
    for (const PeerId &peer : peers)
        m_transport.cancelConnectPeer(peer);
}
