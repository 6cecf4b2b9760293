#pragma once

#include "support/LineProcess.h"

#include <QDir>
#include <QFile>
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
        m_process.start("/usr/bin/python3",
                        {"-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", m_root.path()});
        const QString serving = m_process.lineAfter(0, "Serving HTTP on ", 20000).value_or(QString());
        m_port = quint16(QRegularExpression("port (\\d+)").match(serving).captured(1).toUInt());
    }

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
    LineProcess m_process;
    quint16 m_port = 0;
};
