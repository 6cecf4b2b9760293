#include "web/WebHttpServer.h"

WebHttpServer::WebHttpServer(Handler handler, QObject *parent)
    : QAbstractHttpServer(parent), m_handler(std::move(handler))
{
}

bool WebHttpServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    m_handler(request).write(makeResponder(request, socket));
    return true;
}

void WebHttpServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
}
