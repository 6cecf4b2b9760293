#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class MultipeerSession;

// The sheet in which the operator picks exactly one drone: among the
// drones found nearby, or by typing the address of one the discovery
// cannot see.
class PeerBrowserView2 : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(PeerBrowserView2Model)
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(QStringList foundPeers READ foundPeers NOTIFY changed)
    Q_PROPERTY(QString connectedPeer READ connectedPeer NOTIFY changed)
    Q_PROPERTY(QString invitedPeer READ invitedPeer NOTIFY changed)
    Q_PROPERTY(QString addressText READ addressText WRITE setAddressText NOTIFY changed)
    Q_PROPERTY(QString addressError READ addressError NOTIFY changed)
    Q_PROPERTY(bool doneEnabled READ doneEnabled NOTIFY changed)

public:
    explicit PeerBrowserView2(MultipeerSession &session, QObject *parent = nullptr);

    QStringList foundPeers() const;
    // The drone now linked, or empty.
    QString connectedPeer() const;
    QString invitedPeer() const { return m_invitedPeer; }
    QString addressText() const { return m_addressText; }
    void setAddressText(const QString &text);
    QString addressError() const { return m_addressError; }
    bool doneEnabled() const { return !connectedPeer().isEmpty(); }

    // One drone at a time: a new choice drops the links made before.
    Q_INVOKABLE void invite(const QString &displayName);
    Q_INVOKABLE void inviteTypedAddress();
    Q_INVOKABLE void done();
    Q_INVOKABLE void cancel();

signals:
    void changed();
    void dismissed();

private:
    MultipeerSession &m_session;
    QString m_invitedPeer;
    QString m_addressText;
    QString m_addressError;
};
