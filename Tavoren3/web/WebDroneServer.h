#pragma once

#include "drone/DroneChannel.h"
#include "web/WebHttpServer.h"
#include "web/WebPairing.h"

#include <QHostAddress>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QList>
#include <QPointer>
#include <QWebSocket>
#include <QWebSocketServer>
#include <QtQml/qqmlregistration.h>
#include <memory>

class MultipeerSession;
class QJSEngine;
class QQmlEngine;

// The page that makes a tablet's browser a drone, and its link: the page
// and the media it names over HTTP (HTTPS with a certificate), states and
// acknowledgements over a WebSocket on the next port (GET /link names
// it). Off until the operator switches it
// on; only a browser paired through the code on both screens is linked,
// one at a time, and never beside a drone program.
class WebDroneServer : public DroneChannel
{
    Q_OBJECT
    QML_NAMED_ELEMENT(WebDrone)
    QML_SINGLETON
    Q_PROPERTY(bool available READ available CONSTANT)
    Q_PROPERTY(bool enabled READ enabled WRITE setEnabled NOTIFY changed)
    Q_PROPERTY(QString address READ address NOTIFY changed)
    Q_PROPERTY(QString pairingAddress READ pairingAddress NOTIFY changed)
    Q_PROPERTY(QString pairingCode READ pairingCode NOTIFY changed)
    Q_PROPERTY(bool paired READ paired NOTIFY changed)
    Q_PROPERTY(QString droneName READ droneName NOTIFY changed)
    Q_PROPERTY(QString problem READ problem NOTIFY changed)

public:
    static constexpr const char *enabledKey = "UseTabletBrowser";
    static constexpr quint16 defaultPort = 8480;
    static constexpr int helloTimeoutMs = 5000;
    static constexpr int maximumWaiting = 4;
    static constexpr qint64 maximumMessageSize = 64 * 1024;

    struct Options
    {
        QHostAddress address;
        quint16 port = defaultPort;
        QString certificateFile;
        QString keyFile;
    };
    // All interfaces, or loopback only with TAVOREN_DISCOVERY=loopback.
    static QHostAddress defaultAddress();

    WebDroneServer(MultipeerSession *session, Options options, QObject *parent = nullptr);
    ~WebDroneServer() override;

    // The screens' instance: the one the application made, else one that is not available.
    static WebDroneServer *create(QQmlEngine *, QJSEngine *);
    static void setInstance(WebDroneServer *server) { s_instance = server; }

    bool available() const { return m_session != nullptr; }
    bool enabled() const { return m_port != 0; }
    void setEnabled(bool enabled);
    bool secure() const { return !m_options.certificateFile.isEmpty(); }
    quint16 port() const { return m_port; }
    quint16 linkPort() const { return m_sockets ? m_sockets->serverPort() : 0; }
    QString address() const;
    QString pairingAddress() const;
    QString pairingCode() const { return m_pairing.pendingCode(); }
    bool paired() const { return m_pairing.hasPairedDrone(); }
    QString droneName() const { return m_socket ? m_peer.displayName : QString(); }
    QString problem() const { return m_problem; }

    Q_INVOKABLE void confirmPairing();
    Q_INVOKABLE void forgetDrone();
    // A new one-time address for the code (the one before is void).
    Q_INVOKABLE void renewPairing();

    QList<PeerId> connectedPeers() const override;
    bool send(const QByteArray &message, QString *error) override;
    void disconnectPeers() override;

signals:
    void changed();

private:
    bool listen();
    QHttpServerResponse respond(const QHttpServerRequest &request) const;
    void acceptSocket();
    void greet(QWebSocket *socket, const QString &text);
    void adopt(QWebSocket *socket, const QString &secret, const QString &name);
    void drop(QWebSocket *socket, const char *reason);
    void linkClosed(QWebSocket *socket);
    bool mediaAllowed(const QString &key) const;

    static inline WebDroneServer *s_instance = nullptr;

    MultipeerSession *m_session;
    Options m_options;
    std::unique_ptr<WebHttpServer> m_http;
    std::unique_ptr<QWebSocketServer> m_sockets;
    quint16 m_port = 0;
    QString m_problem;
    WebPairing m_pairing;
    QList<QPointer<QWebSocket>> m_waiting;
    QPointer<QWebSocket> m_pairingSocket;
    QString m_pairingName;
    QPointer<QWebSocket> m_socket;
    PeerId m_peer;
};
