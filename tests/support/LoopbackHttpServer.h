#pragma once

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

// A real HTTP server on 127.0.0.1 serving files from a temporary folder.
class LoopbackHttpServer
{
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer &) = delete;
    LoopbackHttpServer &operator=(const LoopbackHttpServer &) = delete;

    bool isRunning() const { return m_port != 0; }
    void serve(const QString &fileName, const QByteArray &body) const;
    QUrl url(const QString &fileName) const;

private:
    QTemporaryDir m_root;
    QProcess m_process;
    quint16 m_port = 0;
};
