#pragma once

#include "drone/PeerBrowser.h"
#include "drone/PeerChoiceList.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class MultipeerSession;

// The sheet in which the operator picks exactly one drone: among the
// drones that can be seen now, or by typing the address of one the
// discovery cannot see. While shown it browses by itself, so the list
// does not depend on whether the session is browsing. Picking a drone that
// is not paired (by its key) starts pairing: the code shows here and on the
// drone, and the pairing holds once Pair is pressed on both.
class PeerBrowserView2 : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(PeerBrowserView2Model)
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(PeerChoiceList *peers READ peers CONSTANT)
    Q_PROPERTY(QString addressText READ addressText WRITE setAddressText NOTIFY changed)
    Q_PROPERTY(QString addressError READ addressError NOTIFY changed)
    Q_PROPERTY(bool doneEnabled READ doneEnabled NOTIFY changed)
    Q_PROPERTY(bool pairing READ pairing NOTIFY changed)
    Q_PROPERTY(QString pairingTitle READ pairingTitle NOTIFY changed)
    Q_PROPERTY(QString pairingCode READ pairingCode NOTIFY changed)
    Q_PROPERTY(QString pairingHint READ pairingHint NOTIFY changed)
    Q_PROPERTY(bool pairEnabled READ pairEnabled NOTIFY changed)

public:
    explicit PeerBrowserView2(MultipeerSession &session, QObject *parent = nullptr);

    PeerChoiceList *peers() { return &m_peers; }
    QString addressText() const { return m_addressText; }
    void setAddressText(const QString &text);
    QString addressError() const { return m_addressError; }
    bool doneEnabled() const;
    bool pairing() const;
    QString pairingTitle() const;
    QString pairingCode() const;
    QString pairingHint() const;
    bool pairEnabled() const;

    // Browses while the sheet is shown.
    void setPresented(bool presented);
    // One drone at a time: a new choice drops the links made before.
    Q_INVOKABLE void invite(const QString &peerId);
    Q_INVOKABLE void inviteTypedAddress();
    // "Pair" and "Cancel" of the pairing panel.
    Q_INVOKABLE void confirmPairing();
    Q_INVOKABLE void cancelPairing();
    // "Forget this drone": undoes its pairing.
    Q_INVOKABLE void forget(const QString &peerId);
    Q_INVOKABLE void done();
    Q_INVOKABLE void cancel();

signals:
    void changed();
    void dismissed();

private:
    void updateChoices();

    MultipeerSession &m_session;
    PeerBrowser m_browser;
    PeerChoiceList m_peers;
    QString m_invitedPeerId;
    QString m_addressText;
    QString m_addressError;
};
