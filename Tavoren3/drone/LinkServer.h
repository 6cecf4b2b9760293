#pragma once

#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QSslServer>
#include <QSslSocket>

// The listening end of the link. A link that comes in waits until its
// hello; while too many wait, in all or from its address, a new one is
// closed before any encryption starts.
class LinkServer : public QSslServer
{
    Q_OBJECT

public:
    explicit LinkServer(QObject *parent = nullptr);

    // The socket's peer said hello: it no longer waits.
    void greeted(const QSslSocket *socket);
    int waiting();

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Waiting
    {
        QPointer<QSslSocket> socket;
        QHostAddress address;
    };
    void prune();

    QList<Waiting> m_waiting;
    QHostAddress m_incoming;
};
