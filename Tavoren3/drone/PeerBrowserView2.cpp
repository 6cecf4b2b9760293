#include "drone/PeerBrowserView2.h"

#include "common/ChangeForwarding.h"
#include "common/Console.h"
#include "drone/MultipeerSession.h"

#include <algorithm>


PeerBrowserView2::PeerBrowserView2(MultipeerSession &session, QObject *parent)
    : QObject(parent), m_session(session),
      m_browser(QString::fromLatin1(MultipeerSession::serviceType), session.transport().localPeer().id)
{
    forwardChanges(m_session, *this);
    connect(&m_browser, &PeerBrowser::foundPeersChanged, this, &PeerBrowserView2::updateChoices);
    connect(&m_session, &MultipeerSession::connectedPeersChanged, this, &PeerBrowserView2::updateChoices);
    connect(&m_session, &MultipeerSession::stateChanged, this, &PeerBrowserView2::updateChoices);
    connect(&m_session, &MultipeerSession::pairingChanged, this, &PeerBrowserView2::updateChoices);
}

void PeerBrowserView2::setPresented(bool presented)
{
    if (!presented) {
        m_browser.stop();
        return;
    }
    QString error;
    if (!m_browser.start(&error))
        Console::line(QStringLiteral("Browser failed: ") + error);
}

void PeerBrowserView2::updateChoices()
{
    const QList<PeerBrowser::Found> found = m_browser.foundPeers();
    const QList<PeerId> connected = m_session.connectedPeers();
    QList<PeerChoiceList::Choice> choices;
    for (const PeerBrowser::Found &peer : found) {
        const auto sameName = std::count_if(found.cbegin(), found.cend(), [&](const PeerBrowser::Found &other) {
            return other.peer.displayName == peer.peer.displayName;
        });
        const bool paired = m_session.isPaired(peer.peer);
        QString status;
        if (connected.contains(peer.peer))
            status = QStringLiteral("connected");
        else if (m_session.isPairing() && m_session.transport().pairingPeer().id == peer.peer.id)
            status = QStringLiteral("pairing");
        else if (peer.peer.id == m_invitedPeerId && m_session.state() == MultipeerSessionState::connecting)
            status = QStringLiteral("connecting");
        else if (!paired)
            status = QStringLiteral("not paired");
        choices.append({peer.peer.id,
                        sameName > 1 ? peer.peer.displayName + QStringLiteral(" (") + peer.where() + QLatin1Char(')')
                                     : peer.peer.displayName,
                        status, paired});
    }
    m_peers.setChoices(choices);
}

bool PeerBrowserView2::doneEnabled() const
{
    return !m_session.connectedPeers().isEmpty();
}

bool PeerBrowserView2::pairing() const
{
    return m_session.isPairing();
}

QString PeerBrowserView2::pairingTitle() const
{
    return pairing() ? QStringLiteral("Pairing with ") + m_session.pairingPeerName() : QString();
}

QString PeerBrowserView2::pairingCode() const
{
    return m_session.pairingCode();
}

QString PeerBrowserView2::pairingHint() const
{
    if (!pairing())
        return {};
    return m_session.pairingConfirmedHere()
        ? QStringLiteral("Waiting for Pair on the drone...")
        : QStringLiteral("Check that the drone shows the same code, then press Pair here and on the drone.");
}

bool PeerBrowserView2::pairEnabled() const
{
    return pairing() && !m_session.pairingConfirmedHere();
}

void PeerBrowserView2::confirmPairing()
{
    Console::line(QStringLiteral("Browser: User tapped Pair"));
    m_session.confirmPairing();
}

void PeerBrowserView2::cancelPairing()
{
    m_session.cancelPairing();
}

void PeerBrowserView2::forget(const QString &peerId)
{
    if (const std::optional<PeerBrowser::Found> found = m_browser.find(peerId)) {
        m_session.forgetDrone(found->peer);
        updateChoices();
    }
}

void PeerBrowserView2::setAddressText(const QString &text)
{
    if (m_addressText == text)
        return;
    m_addressText = text;
    m_addressError.clear();
    emit changed();
}

void PeerBrowserView2::invite(const QString &peerId)
{
    const std::optional<PeerBrowser::Found> found = m_browser.find(peerId);
    if (!found || m_session.connectedPeers().contains(found->peer))
        return;
    m_session.cancelAllConnections();
    m_session.cancelPairing();
    m_invitedPeerId = peerId;
    m_session.invitePeer(*found);
    updateChoices();
}

void PeerBrowserView2::inviteTypedAddress()
{
    m_session.cancelAllConnections();
    m_session.cancelPairing();
    if (m_session.inviteAddress(m_addressText)) {
        m_invitedPeerId.clear();
        m_addressError.clear();
    } else {
        m_addressError = QStringLiteral("Type the drone's address as host:port, for example 192.168.1.20:52000");
    }
    emit changed();
}

void PeerBrowserView2::done()
{
    Console::line(QStringLiteral("Browser: User tapped Done"));
    emit dismissed();
}

void PeerBrowserView2::cancel()
{
    Console::line(QStringLiteral("Browser: User tapped Cancel"));
    emit dismissed();
}
