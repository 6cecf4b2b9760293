#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

// A real HTTP server on 127.0.0.1, on a port of its own choosing, serving
// files from a temporary folder.
class LoopbackHttpServer
{
public:
    LoopbackHttpServer()
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start("python3", {"-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", m_root.path()});
        QByteArray output;
        const QDeadlineTimer deadline(20000);
        while (!m_port && !deadline.hasExpired() && m_process.waitForReadyRead(int(deadline.remainingTime()))) {
            output += m_process.readAll();
            m_port = quint16(QRegularExpression("port (\\d+)").match(QString::fromUtf8(output)).captured(1).toUInt());
        }
    }
    ~LoopbackHttpServer()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    LoopbackHttpServer(const LoopbackHttpServer &) = delete;
    LoopbackHttpServer &operator=(const LoopbackHttpServer &) = delete;

    bool isRunning() const { return m_port != 0; }
    void serve(const QString &fileName, const QByteArray &body) const
    {
        QFile file(QDir(m_root.path()).filePath(fileName));
        if (file.open(QIODevice::WriteOnly))
            file.write(body);
    }
    QUrl url(const QString &fileName) const { return QUrl(QString("http://127.0.0.1:%1/%2").arg(m_port).arg(fileName)); }

private:
    QTemporaryDir m_root;
    QProcess m_process;
    quint16 m_port = 0;
};
