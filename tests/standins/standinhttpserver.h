#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A tiny HTTP/1.1 server on 127.0.0.1 standing in for Slack or the update
// feed. It records every request in arrival order and answers each path with
// what the test set, closing the connection after each answer.
class StandinHttpServer : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StandinHttpServer)

public:
    struct Request
    {
        QByteArray method;
        QByteArray path;
        // Header names in lower case.
        QHash<QByteArray, QByteArray> headers;
        QByteArray body;
    };

    enum class Mode {
        answer,  // the reply set for the path, else 404
        garbage, // bytes that are no HTTP at all
        silent,  // never answers
        hangUp,  // closes the connection without a word
    };

    explicit StandinHttpServer(QObject *parent = nullptr);
    ~StandinHttpServer() override;

    // On a free port of 127.0.0.1.
    bool listen();
    // Stops listening and drops every connection, as a server that went down.
    void close();
    [[nodiscard]] quint16 port() const;
    // http://127.0.0.1:PORT + path
    [[nodiscard]] QUrl url(const QString &path = QStringLiteral("/")) const;

    // With an entity tag, a request that names it in If-None-Match gets 304.
    void setReply(const QByteArray &path, int status, const QByteArray &contentType,
                  const QByteArray &body, const QByteArray &entityTag = {});
    void setMode(Mode mode) { m_mode = mode; }

    [[nodiscard]] const QList<Request> &requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }

private:
    struct Reply
    {
        int status = 200;
        QByteArray contentType;
        QByteArray body;
        QByteArray entityTag;
    };

    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void respond(QTcpSocket *socket, const Request &request);

    QTcpServer m_server;
    QHash<QByteArray, Reply> m_replies;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QList<Request> m_requests;
    Mode m_mode = Mode::answer;
};
