#include "web/WebDroneServer.h"

#include "common/Console.h"
#include "common/MediaName.h"
#include "drone/DroneVideo.h"
#include "drone/MultipeerSession.h"
#include "web/WebDroneName.h"
#include "web/WebStateMessage.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QJSEngine>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QSettings>
#include <QSslCertificate>
#include <QSslKey>
#include <QTcpServer>
#include <QTimer>
#include <QUrlQuery>

namespace {

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// The machine's address as a tablet on the same network reaches it.
QString reachableHost(const QHostAddress &listening)
{
    if (listening != QHostAddress::Any && listening != QHostAddress::AnyIPv4 && listening != QHostAddress::AnyIPv6)
        return listening.protocol() == QAbstractSocket::IPv6Protocol ? QLatin1Char('[') + listening.toString() + QLatin1Char(']')
                                                                     : listening.toString();
    for (const QHostAddress &address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback() && !address.isLinkLocal())
            return address.toString();
    return QStringLiteral("127.0.0.1");
}

QSslKey readKey(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return QSslKey();
    const QByteArray pem = in.readAll();
    for (QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec})
        if (QSslKey key(pem, algorithm); !key.isNull())
            return key;
    return QSslKey();
}

} // namespace

QHostAddress WebDroneServer::defaultAddress()
{
    return qgetenv("TAVOREN_DISCOVERY") == "loopback" ? QHostAddress(QHostAddress::LocalHost)
                                                      : QHostAddress(QHostAddress::Any);
}

WebDroneServer::WebDroneServer(MultipeerSession *session, Options options, QObject *parent)
    : DroneChannel(parent), m_session(session), m_options(std::move(options))
{
    if (!m_session)
        return;
    m_session->addLink(*this);
    // One drone at a time: the drone program, once linked, takes the place of the page.
    connect(&m_session->transport(), &PeerTransport::peerStateChanged, this,
            [this](const PeerId &, PeerTransport::PeerState state) {
                if (state == PeerTransport::PeerState::connected)
                    disconnectPeers();
            });
    if (QSettings().value(QString::fromLatin1(enabledKey)).toBool())
        setEnabled(true);
}

WebDroneServer::~WebDroneServer()
{
    if (s_instance == this)
        s_instance = nullptr;
    // The servers close their links as they go: those last signals must not reach this half-gone server.
    for (QWebSocket *socket : findChildren<QWebSocket *>(Qt::FindDirectChildrenOnly))
        socket->disconnect(this);
}

WebDroneServer *WebDroneServer::create(QQmlEngine *, QJSEngine *)
{
    if (!s_instance)
        return new WebDroneServer(nullptr, {});
    QJSEngine::setObjectOwnership(s_instance, QJSEngine::CppOwnership);
    return s_instance;
}

void WebDroneServer::setEnabled(bool enabled)
{
    if (!available() || enabled == this->enabled())
        return;
    QSettings().setValue(QString::fromLatin1(enabledKey), enabled);
    if (enabled) {
        if (listen()) {
            m_pairing.newPairingSecret();
            Console::line(QStringLiteral("Web drone page at ") + address());
        }
    } else {
        disconnectPeers();
        m_http.reset();
        m_sockets.reset();
        m_port = 0;
        m_pairing.cancelPending();
    }
    emit changed();
}

bool WebDroneServer::listen()
{
    m_http = std::make_unique<WebHttpServer>([this](const QHttpServerRequest &request) { return respond(request); });
    m_sockets = std::make_unique<QWebSocketServer>(QStringLiteral("tavoren"), secure() ? QWebSocketServer::SecureMode
                                                                                       : QWebSocketServer::NonSecureMode);
    m_sockets->setMaxPendingConnections(maximumWaiting);
    m_problem.clear();
    const auto fail = [this](const QString &problem) {
        m_problem = problem;
        m_http.reset();
        m_sockets.reset();
        return false;
    };
    if (secure()) {
        const QList<QSslCertificate> chain = QSslCertificate::fromPath(m_options.certificateFile);
        const QSslKey key = readKey(m_options.keyFile);
        if (chain.isEmpty() || key.isNull())
            return fail(QStringLiteral("Cannot read the web certificate or its key"));
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificateChain(chain);
        configuration.setPrivateKey(key);
        m_http->sslSetup(configuration);
        m_sockets->setSslConfiguration(configuration);
    }
    connect(m_sockets.get(), &QWebSocketServer::newConnection, this, &WebDroneServer::acceptSocket);
    m_port = m_http->listen(m_options.address, m_options.port);
    const quint16 next = m_options.port == 0 || m_options.port == 65535 ? 0 : m_options.port + 1;
    if (m_port == 0 || !m_sockets->listen(m_options.address, next)) {
        m_port = 0;
        return fail(QStringLiteral("Cannot listen on ") + m_options.address.toString() + QLatin1Char(':')
                    + QString::number(m_options.port));
    }
    return true;
}

QHttpServerResponse WebDroneServer::respond(const QHttpServerRequest &request) const
{
    static const struct
    {
        const char *path;
        const char *file;
    } pages[] = {{"/", ":/web/index.html"}, {"/drone.js", ":/web/drone.js"}, {"/drone.css", ":/web/drone.css"}};
    const QString path = request.url().path(QUrl::FullyDecoded);
    if (request.method() != QHttpServerRequest::Method::Get)
        return QHttpServerResponse(QHttpServerResponder::StatusCode::MethodNotAllowed);
    for (const auto &page : pages)
        if (path == QLatin1String(page.path))
            return QHttpServerResponse::fromFile(QString::fromLatin1(page.file));
    if (path == QLatin1String("/link"))
        return QHttpServerResponse(QJsonObject{{QStringLiteral("port"), linkPort()}});
    const QLatin1String media("/media/");
    if (!path.startsWith(media))
        return QHttpServerResponse(QHttpServerResponder::StatusCode::NotFound);
    // Only by name from the drone's media folders, and only for the paired page.
    const QString name = path.mid(media.size());
    const QString key = QUrlQuery(request.url()).queryItemValue(QStringLiteral("k"), QUrl::FullyDecoded);
    const QUrl found = mediaAllowed(key) && MediaName::isPlainName(name) ? DroneVideo::locate(name) : QUrl();
    if (found.isEmpty())
        return QHttpServerResponse(QHttpServerResponder::StatusCode::NotFound);
    return QHttpServerResponse::fromFile(found.isLocalFile() ? found.toLocalFile() : QLatin1Char(':') + found.path());
}

bool WebDroneServer::mediaAllowed(const QString &key) const
{
    return m_pairing.knows(key);
}

QString WebDroneServer::address() const
{
    if (!enabled())
        return QString();
    return (secure() ? QStringLiteral("https://") : QStringLiteral("http://")) + reachableHost(m_options.address)
           + QLatin1Char(':') + QString::number(m_port) + QLatin1Char('/');
}

QString WebDroneServer::pairingAddress() const
{
    if (!enabled() || !m_pairing.pairingSecretValid())
        return QString();
    return address() + QStringLiteral("#pair=") + m_pairing.pairingSecret();
}

void WebDroneServer::renewPairing()
{
    if (!enabled())
        return;
    m_pairing.newPairingSecret();
    emit changed();
}

void WebDroneServer::acceptSocket()
{
    while (m_sockets && m_sockets->hasPendingConnections()) {
        QWebSocket *socket = m_sockets->nextPendingConnection();
        socket->setParent(this);
        socket->setMaxAllowedIncomingMessageSize(maximumMessageSize);
        m_waiting.removeAll(nullptr);
        if (m_waiting.size() >= maximumWaiting) {
            drop(socket, "busy");
            continue;
        }
        m_waiting.append(socket);
        connect(socket, &QWebSocket::textMessageReceived, this, [this, socket](const QString &text) {
            if (socket == m_socket)
                emit dataReceived(text.toUtf8(), m_peer);
            else if (m_waiting.contains(socket))
                greet(socket, text);
        });
        connect(socket, &QWebSocket::binaryMessageReceived, this, [this, socket] { drop(socket, "unexpected"); });
        connect(socket, &QWebSocket::disconnected, this, [this, socket] { linkClosed(socket); });
        QTimer::singleShot(helloTimeoutMs, socket, [this, socket] {
            if (m_waiting.contains(socket))
                drop(socket, "silent");
        });
    }
}

void WebDroneServer::greet(QWebSocket *socket, const QString &text)
{
    const QJsonObject hello = QJsonDocument::fromJson(text.toUtf8()).object();
    const QString name = WebDroneName::of(hello.value(QStringLiteral("name")).toString(),
                                          hello.value(QStringLiteral("agent")).toString());
    if (const QString secret = hello.value(QStringLiteral("secret")).toString(); m_pairing.knows(secret)) {
        m_waiting.removeAll(socket);
        adopt(socket, secret, name);
        return;
    }
    const std::optional<QString> code = m_pairing.startPairing(hello.value(QStringLiteral("pair")).toString());
    if (!code) {
        drop(socket, "unpaired");
        return;
    }
    m_waiting.removeAll(socket);
    if (m_pairingSocket)
        drop(m_pairingSocket, "unpaired");
    m_pairingSocket = socket;
    m_pairingName = name;
    Console::line(QStringLiteral("Web drone pairing code ") + *code + QStringLiteral(" for ") + name);
    socket->sendTextMessage(QString::fromUtf8(json({{QStringLiteral("code"), *code}})));
    emit changed();
}

void WebDroneServer::confirmPairing()
{
    if (!m_pairingSocket)
        return;
    const std::optional<QString> secret = m_pairing.confirm();
    QWebSocket *socket = m_pairingSocket;
    m_pairingSocket = nullptr;
    if (!secret)
        return;
    socket->sendTextMessage(QString::fromUtf8(json({{QStringLiteral("paired"), *secret}})));
    adopt(socket, *secret, m_pairingName);
    emit changed();
}

void WebDroneServer::adopt(QWebSocket *socket, const QString &secret, const QString &name)
{
    if (m_session && !m_session->transport().connectedPeers().isEmpty()) {
        drop(socket, "busy");
        return;
    }
    // A reload comes in before the old page's link has gone: the new one takes its place.
    if (m_socket && m_socket != socket)
        drop(m_socket, "replaced");
    const QByteArray id = QCryptographicHash::hash(secret.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    m_peer = PeerId{QStringLiteral("web-") + QString::fromLatin1(id), name};
    m_socket = socket;
    socket->sendTextMessage(QString::fromUtf8(json({{QStringLiteral("linked"), name}})));
    Console::line(QStringLiteral("Web drone linked: ") + m_peer.description());
    emit peerStateChanged(m_peer, PeerTransport::PeerState::connected);
    emit changed();
}

void WebDroneServer::drop(QWebSocket *socket, const char *reason)
{
    socket->sendTextMessage(QString::fromUtf8(json({{QStringLiteral("closed"), QString::fromLatin1(reason)}})));
    socket->close();
    if (socket != m_socket)
        socket->deleteLater();
}

void WebDroneServer::linkClosed(QWebSocket *socket)
{
    m_waiting.removeAll(socket);
    if (socket == m_pairingSocket) {
        m_pairingSocket = nullptr;
        m_pairing.cancelPending();
        emit changed();
    }
    if (socket == m_socket) {
        m_socket = nullptr;
        Console::line(QStringLiteral("Web drone gone: ") + m_peer.description());
        emit peerStateChanged(m_peer, PeerTransport::PeerState::notConnected);
        emit changed();
    }
    socket->deleteLater();
}

void WebDroneServer::forgetDrone()
{
    m_pairing.forget();
    if (m_socket)
        drop(m_socket, "forgotten");
    emit changed();
}

QList<PeerId> WebDroneServer::connectedPeers() const
{
    return m_socket ? QList<PeerId>{m_peer} : QList<PeerId>{};
}

bool WebDroneServer::send(const QByteArray &message, QString *error)
{
    if (!m_socket) {
        if (error)
            *error = QStringLiteral("no web drone is linked");
        return false;
    }
    m_socket->sendTextMessage(QString::fromUtf8(WebStateMessage::frame(QString::fromUtf8(message))));
    return true;
}

void WebDroneServer::disconnectPeers()
{
    if (m_socket)
        drop(m_socket, "dropped");
}
