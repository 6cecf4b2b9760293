#include "drone/MultipeerSession.h"

#include "common/Console.h"
#include "run/LabelFileWriter.h"

#include <QPointer>
#include <QRegularExpression>
#include <QSettings>
#include <QStringDecoder>
#include <QTimer>

MultipeerSession::MultipeerSession(const QString &displayName, QObject *parent)
    : QObject(parent),
      m_transport(displayName, QString::fromLatin1(serviceType), PairedDevices::inConfigFolder(PairedDevices::dronesFile))
{
    connect(&m_transport, &PeerTransport::pairingChanged, this, &MultipeerSession::pairingChanged);
    connect(&m_transport, &PeerTransport::peerFound, this, &MultipeerSession::peerFound);
    connect(&m_transport, &PeerTransport::peerLost, this, [] { Console::line(QStringLiteral("we lost our peer :(")); });
    connect(&m_transport, &PeerTransport::peerStateChanged, this, &MultipeerSession::peerStateChanged);
    connect(&m_transport, &PeerTransport::dataReceived, this,
            [this](const QByteArray &data, const PeerId &) { handleReceivedData(data); });
    connect(&m_transport, &PeerTransport::advertisingFailed, this,
            [](const QString &error) { Console::line(QStringLiteral("Advertiser failed: ") + error); });
    connect(&m_transport, &PeerTransport::browsingFailed, this,
            [](const QString &error) { Console::line(QStringLiteral("Browser failed: ") + error); });
    connect(&m_transport, &PeerTransport::peerMisbehaved, this, [](const PeerId &peer, const QString &what) {
        const QString line = QStringLiteral("Peer ") + peer.description() + QLatin1Char(' ') + what;
        Console::line(line);
        LabelFileWriter::writeEventLog(line);
    });
}

void MultipeerSession::addLink(DroneChannel &link)
{
    m_links.append(&link);
    connect(&link, &DroneChannel::peerStateChanged, this, &MultipeerSession::peerStateChanged);
    connect(&link, &DroneChannel::dataReceived, this,
            [this](const QByteArray &data, const PeerId &) { handleReceivedData(data); });
}

QList<PeerId> MultipeerSession::linkedPeers() const
{
    QList<PeerId> peers = m_transport.connectedPeers();
    for (const DroneChannel *link : m_links)
        peers += link->connectedPeers();
    return peers;
}

QStringList MultipeerSession::connectedPeerNames() const
{
    QStringList names;
    for (const PeerId &peer : m_connectedPeers)
        names.append(peer.displayName);
    return names;
}

void MultipeerSession::setReceivedMessage(const QString &message)
{
    if (m_receivedMessage == message)
        return;
    m_receivedMessage = message;
    emit receivedMessageChanged();
}

void MultipeerSession::setAutoInvite(bool autoInvite)
{
    if (m_autoInvite == autoInvite)
        return;
    m_autoInvite = autoInvite;
    emit autoInviteChanged();
}

void MultipeerSession::setState(MultipeerSessionState state)
{
    if (m_state == state)
        return;
    m_state = state;
    // The event log has a line for each change, not for each attempt.
    static const char *const logged[] = {"Not Connected", "Connecting", "Connected", "Unknown Connection state"};
    LabelFileWriter::writeEventLog(QString::fromLatin1(logged[int(state)]));
    emit stateChanged();
}

void MultipeerSession::peerFound(const PeerId &peer)
{
    Console::line(QStringLiteral("FOUND A PEER"));
    const QVariant stored = QSettings().value(QString::fromLatin1(lastConnectedDroneKey));
    const QString storedText = stored.isValid() ? stored.toString() : QStringLiteral("nil");
    if (!m_autoInvite) {
        Console::line(QStringLiteral("auto invite is false, last drone name : ") + storedText);
        return;
    }
    const QString rememberedKey = QSettings().value(QString::fromLatin1(lastConnectedDroneFingerprintKey)).toString();
    if (isPaired(peer) && (rememberedKey.isEmpty() || rememberedKey == peer.key)) {
        Console::line(QStringLiteral("Found paired drone '") + peer.displayName + QStringLiteral("', auto\u2011inviting it"));
        m_transport.invitePeer(peer, invitationTimeoutMs);
    } else if (isPaired(peer)) {
        Console::line(QStringLiteral("Found other drone '") + peer.displayName
                      + QStringLiteral("', ignoring for auto\u2011reconnect"));
    } else if (m_transport.pairsByItself()) {
        m_transport.invitePeer(peer, invitationTimeoutMs, true);
    } else if (stored.isValid() && stored.toString() == peer.displayName
               && !m_transport.pairedDevices().anyNamed(peer.displayName)) {
        Console::line(QStringLiteral("Found last connected drone '") + storedText
                      + QStringLiteral("', remembered from before pairing: asking it to pair"));
        m_transport.invitePeer(peer, invitationTimeoutMs, true);
    } else {
        Console::line(QStringLiteral("Found drone '") + peer.displayName
                      + QStringLiteral("', not paired: ignoring for auto\u2011reconnect"));
    }
}

void MultipeerSession::forgetDrone(const PeerId &peer)
{
    m_transport.pairedDevices().remove(peer.key);
    QSettings settings;
    if (settings.value(QString::fromLatin1(lastConnectedDroneFingerprintKey)).toString() == peer.key) {
        settings.remove(QString::fromLatin1(lastConnectedDroneFingerprintKey));
        settings.remove(QString::fromLatin1(lastConnectedDroneKey));
    }
    Console::line(QStringLiteral("Forgot the drone ") + peer.description());
    for (const PeerId &linked : m_transport.connectedPeers()) {
        if (linked.key == peer.key)
            m_transport.cancelConnectPeer(linked);
    }
}

void MultipeerSession::peerStateChanged(const PeerId &peer, PeerTransport::PeerState state)
{
    static const char *const printed[] = {"notConnected", "connecting", "connected"};
    Console::line(QStringLiteral("Session state with the peer ") + peer.description() + QStringLiteral(" hasd changed to: ")
                  + QString::fromLatin1(printed[int(state)]));
    switch (state) {
    case PeerTransport::PeerState::connected:
        Console::line(QStringLiteral("Connected"));
        setState(MultipeerSessionState::connected);
        m_transport.stopAdvertising();
        m_transport.stopBrowsing();
        QSettings().setValue(QString::fromLatin1(lastConnectedDroneKey), peer.displayName);
        QSettings().setValue(QString::fromLatin1(lastConnectedDroneFingerprintKey), peer.key);
        break;
    case PeerTransport::PeerState::connecting:
        Console::line(QStringLiteral("Connecting"));
        setState(MultipeerSessionState::connecting);
        break;
    case PeerTransport::PeerState::notConnected:
        Console::line(QStringLiteral("Not Connected"));
        setState(MultipeerSessionState::notConnected);
        m_transport.startAdvertising();
        m_transport.stopBrowsing();
        m_transport.startBrowsing();
        break;
    }
    QTimer::singleShot(0, this, &MultipeerSession::refreshConnectedPeers);
}

void MultipeerSession::refreshConnectedPeers()
{
    const QList<PeerId> peers = linkedPeers();
    if (peers == m_connectedPeers)
        return;
    m_connectedPeers = peers;
    emit connectedPeersChanged();
}

void MultipeerSession::cancelAllConnections()
{
    for (const PeerId &peer : m_connectedPeers)
        m_transport.cancelConnectPeer(peer);
    for (DroneChannel *link : std::as_const(m_links))
        link->disconnectPeers();
}

void MultipeerSession::invitePeer(const PeerBrowser::Found &found)
{
    m_transport.invitePeer(found, invitationTimeoutMs, true);
}

bool MultipeerSession::inviteAddress(const QString &address)
{
    const QString text = address.trimmed();
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const uint port = colon > 0 ? text.mid(colon + 1).toUInt(&ok) : 0;
    if (!ok || port == 0 || port > 65535)
        return false;
    QString host = text.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    m_transport.inviteAddress(host, quint16(port), invitationTimeoutMs, true);
    return true;
}

void MultipeerSession::sendState(const QString &payload)
{
    ++m_stateSequence;
    emit stateSequenceChanged();
    const qint64 sequence = m_stateSequence;
    const QString message = QStringLiteral("@State: seq:") + QString::number(sequence) + QLatin1Char('|') + payload;
    Console::line(QStringLiteral("Sending state ") + QString::number(sequence) + QStringLiteral(": ") + message);
    emit stateQueued(payload);
    sendMessage(message);
    QPointer<MultipeerSession> self(this);
    QTimer::singleShot(ackDelayMs, this, [self, sequence, message] {
        if (!self || self->m_lastAckedSequence >= sequence)
            return;
        Console::line(QStringLiteral("No ACK for state seq ") + QString::number(sequence)
                      + QStringLiteral(" after 0.7s, resending once"));
        self->sendMessage(message);
    });
}

void MultipeerSession::sendMessage(const QString &text)
{
    Console::line(QStringLiteral("Sending message: '") + text + QStringLiteral("' to ")
                  + QString::number(linkedPeers().size()) + QStringLiteral(" peer(s)"));
    if (text.startsWith(QLatin1String("@State")) && m_lastMessage != text) {
        m_lastMessage = text;
        emit lastMessageChanged();
    }
    QTimer::singleShot(0, this, [this, text] {
        if (linkedPeers().isEmpty()) {
            Console::line(QStringLiteral("No connected peers to send message to"));
            return;
        }
        QString error;
        bool sent = m_transport.connectedPeers().isEmpty() || m_transport.send(text.toUtf8(), &error);
        for (DroneChannel *link : std::as_const(m_links))
            sent = (link->connectedPeers().isEmpty() || link->send(text.toUtf8(), &error)) && sent;
        if (!sent)
            Console::line(QStringLiteral("Sending a message to the drone has failed: ") + error);
        else
            Console::line(QStringLiteral("Message sent to the drone successfully: '") + text + QLatin1Char('\''));
    });
}

void MultipeerSession::handleReceivedData(const QByteArray &data)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(data);
    if (decoder.hasError())
        return;
    Console::line(QStringLiteral("Received message: ") + text);
    if (text.startsWith(QLatin1String("@Ack: "))) {
        static const QRegularExpression number(QStringLiteral("\\A[+-]?[0-9]+\\z"));
        QString rest = QString(text).remove(QStringLiteral("@Ack: "));
        qsizetype start = 0, end = rest.size();
        while (start < end && (rest[start] == QLatin1Char(' ') || rest[start] == QLatin1Char('\t')))
            ++start;
        while (end > start && (rest[end - 1] == QLatin1Char(' ') || rest[end - 1] == QLatin1Char('\t')))
            --end;
        rest = rest.mid(start, end - start);
        bool ok = false;
        const qint64 n = number.match(rest).hasMatch() ? rest.toLongLong(&ok) : 0;
        if (!ok) {
            Console::line(QStringLiteral("WARNING: Invalid ACK sequence '") + rest + QLatin1Char('\''));
            return;
        }
        if (n < 1 || n > m_stateSequence) {
            Console::line(QStringLiteral("WARNING: ACK for state seq %1, which was never sent").arg(n));
            return;
        }
        Console::line(QStringLiteral("Received ACK for state seq ") + QString::number(n));
        if (m_lastAckedSequence < n) {
            m_lastAckedSequence = n;
            emit lastAckedSequenceChanged();
        }
    } else if (text.startsWith(QLatin1String("@State"))) {
        Console::line(QStringLiteral("Received control message from drone: ") + text);
    } else {
        const QString message = text.startsWith(QLatin1String("@Slider")) ? QString(text).remove(QLatin1Char('@')) : text;
        emit messageReceived(message);
        setReceivedMessage(message);
    }
}
