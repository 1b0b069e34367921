#include "standins/standinhttpserver.h"

#include <QHostAddress>
#include <QTcpSocket>

StandinHttpServer::StandinHttpServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &StandinHttpServer::onNewConnection);
}

StandinHttpServer::~StandinHttpServer()
{
    // The sockets belong to the server member, which outlives the buffers:
    // their last "disconnected" must not reach this object.
    const QList<QTcpSocket *> sockets = m_buffers.keys();
    for (QTcpSocket *socket : sockets) {
        socket->disconnect(this);
        delete socket;
    }
}

bool StandinHttpServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

void StandinHttpServer::close()
{
    m_server.close();
    const QList<QTcpSocket *> sockets = m_buffers.keys();
    for (QTcpSocket *socket : sockets)
        socket->abort();
}

quint16 StandinHttpServer::port() const
{
    return m_server.serverPort();
}

QUrl StandinHttpServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path));
}

void StandinHttpServer::setReply(const QByteArray &path, int status, const QByteArray &contentType,
                                 const QByteArray &body, const QByteArray &entityTag)
{
    m_replies.insert(path, {status, contentType, body, entityTag});
}

void StandinHttpServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        m_buffers.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void StandinHttpServer::onReadyRead(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;

    Request request;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                   lines[i].mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    if (buffer.size() < headerEnd + 4 + length)
        return;
    request.body = buffer.mid(headerEnd + 4, length);
    buffer.clear();

    m_requests.append(request);
    respond(socket, request);
}

void StandinHttpServer::respond(QTcpSocket *socket, const Request &request)
{
    switch (m_mode) {
    case Mode::silent:
        return;
    case Mode::hangUp:
        socket->abort();
        return;
    case Mode::garbage:
        socket->write(QByteArrayLiteral("\x01\x02 not HTTP \xff\xfe\r\n\r\n{{{"));
        socket->disconnectFromHost();
        return;
    case Mode::answer:
        break;
    }
    QByteArray path = request.path;
    if (const qsizetype query = path.indexOf('?'); query >= 0)
        path.truncate(query);
    Reply reply = m_replies.value(path, {404, "text/plain", "not found", {}});
    if (!reply.entityTag.isEmpty() && request.headers.value("if-none-match") == reply.entityTag)
        reply = {304, reply.contentType, {}, reply.entityTag};
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(reply.status) + " Stand-in\r\n";
    answer += "Content-Type: " + reply.contentType + "\r\n";
    answer += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    if (!reply.entityTag.isEmpty())
        answer += "ETag: " + reply.entityTag + "\r\n";
    answer += "Connection: close\r\n\r\n";
    answer += reply.body;
    socket->write(answer);
    socket->disconnectFromHost();
}
