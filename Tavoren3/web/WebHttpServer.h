#pragma once

#include <QAbstractHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <functional>

// Answers each request with what the handler makes of it.
class WebHttpServer : public QAbstractHttpServer
{
    Q_OBJECT

public:
    using Handler = std::function<QHttpServerResponse(const QHttpServerRequest &)>;

    explicit WebHttpServer(Handler handler, QObject *parent = nullptr);

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    Handler m_handler;
};
