#include "drone/PeerBrowserView2.h"

#include "common/ChangeForwarding.h"
#include "common/Console.h"
#include "drone/MultipeerSession.h"

PeerBrowserView2::PeerBrowserView2(MultipeerSession &session, QObject *parent) : QObject(parent), m_session(session)
{
    forwardChanges(m_session, *this);
}

QStringList PeerBrowserView2::foundPeers() const
{
    return m_session.foundPeerNames();
}

QString PeerBrowserView2::connectedPeer() const
{
    const QStringList peers = m_session.connectedPeerNames();
    return peers.isEmpty() ? QString() : peers.first();
}

void PeerBrowserView2::setAddressText(const QString &text)
{
    if (m_addressText == text)
        return;
    m_addressText = text;
    m_addressError.clear();
    emit changed();
}

void PeerBrowserView2::invite(const QString &displayName)
{
    m_session.cancelAllConnections();
    if (m_session.invitePeerNamed(displayName))
        m_invitedPeer = displayName;
    emit changed();
}

void PeerBrowserView2::inviteTypedAddress()
{
    m_session.cancelAllConnections();
    if (m_session.inviteAddress(m_addressText)) {
        m_invitedPeer = m_addressText.trimmed();
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
