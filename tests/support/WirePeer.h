#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTest>
#include <QStringList>
#include <QUdpSocket>
#include <QtEndian>

// An outsider on the drone link, written from the wire protocol alone: TLS
// with any certificate or none, 4-byte big-endian lengths, a JSON hello first.
class WirePeer
{
public:
    static QByteArray frame(const QByteArray &payload, quint32 announcedSize = 0)
    {
        QByteArray bytes(4, Qt::Uninitialized);
        qToBigEndian(announcedSize ? announcedSize : quint32(payload.size()), bytes.data());
        return bytes + payload;
    }
    static QByteArray hello(const QString &name, const QString &id)
    {
        return QJsonDocument(QJsonObject{{"service", "swift-mc-demo"}, {"name", name}, {"id", id}}).toJson(QJsonDocument::Compact);
    }

    // Connects and encrypts, showing the certificate of `tls` when it has
    // one; false when the other side did not let it.
    bool open(quint16 port, int timeoutMs = 5000, const QSslConfiguration &tls = QSslConfiguration::defaultConfiguration())
    {
        socket.setSslConfiguration(tls);
        QObject::connect(&socket, &QSslSocket::sslErrors, [this] { socket.ignoreSslErrors(); });
        QObject::connect(&socket, &QSslSocket::readyRead, [this] { m_unread += socket.readAll(); });
        socket.connectToHostEncrypted("127.0.0.1", port);
        // The other side may be in this process: the event loop runs meanwhile.
        return QTest::qWaitFor([this] { return socket.isEncrypted() || closed(); }, timeoutMs) && socket.isEncrypted();
    }
    void send(const QByteArray &payload) { socket.write(frame(payload)); }
    // The texts of the whole frames that came so far.
    QStringList frames()
    {
        while (m_unread.size() >= 4) {
            const quint32 size = qFromBigEndian<quint32>(m_unread.constData());
            if (m_unread.size() < qsizetype(size) + 4)
                break;
            m_frames << QString::fromUtf8(m_unread.mid(4, size));
            m_unread.remove(0, qsizetype(size) + 4);
        }
        return m_frames;
    }
    bool closed() const { return socket.state() == QAbstractSocket::UnconnectedState; }

    QSslSocket socket;

private:
    QByteArray m_unread;
    QStringList m_frames;
};

// The link port that the one program of the drone link on loopback announces.
inline quint16 announcedPort(int timeoutMs = 15000)
{
    QUdpSocket listener;
    listener.bind(QHostAddress("127.255.255.255"), quint16(qEnvironmentVariableIntValue("TAVOREN_DISCOVERY_PORT")),
                  QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs && listener.waitForReadyRead(int(timeoutMs - waited.elapsed()))) {
        while (listener.hasPendingDatagrams()) {
            const QJsonObject announcement = QJsonDocument::fromJson(listener.receiveDatagram().data()).object();
            if (announcement.value("service") == "swift-mc-demo" && !announcement.contains("leaving"))
                return quint16(announcement.value("port").toInt());
        }
    }
    return 0;
}
