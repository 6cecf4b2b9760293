#include "support/LoopbackHttpServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

LoopbackHttpServer::LoopbackHttpServer()
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("python3"), {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                                               QStringLiteral("0"), QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                                               QStringLiteral("--directory"), m_root.path()});
    static const QRegularExpression serving(QStringLiteral("port (\\d+)"));
    QByteArray output;
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && m_process.waitForReadyRead(int(deadline.remainingTime()))) {
        output += m_process.readAll();
        const QRegularExpressionMatch match = serving.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            m_port = quint16(match.captured(1).toUInt());
            break;
        }
    }
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

void LoopbackHttpServer::serve(const QString &fileName, const QByteArray &body) const
{
    QFile file(QDir(m_root.path()).filePath(fileName));
    if (file.open(QIODevice::WriteOnly))
        file.write(body);
}

QUrl LoopbackHttpServer::url(const QString &fileName) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1/%2").arg(m_port).arg(fileName));
}
