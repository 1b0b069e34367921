#include "overlay/lockchannel.h"

#include "overlay/overlaylog.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

LockChannel::LockChannel(int descriptor, QObject *parent)
    : QObject(parent)
{
    if (!m_socket.setSocketDescriptor(descriptor)) {
        ::close(descriptor);
        m_closed = true;
        return;
    }
    connect(&m_socket, &QLocalSocket::readyRead, this, &LockChannel::readAvailable);
    connect(&m_socket, &QLocalSocket::disconnected, this, &LockChannel::close);
}

LockChannel::~LockChannel()
{
    m_socket.disconnect(this);
    m_socket.abort();
}

std::optional<std::pair<int, int>> LockChannel::socketPair()
{
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        return std::nullopt;
    return std::pair{fds[0], fds[1]};
}

bool LockChannel::isOpen() const
{
    return !m_closed;
}

void LockChannel::send(const QJsonObject &message)
{
    if (m_closed)
        return;
    m_socket.write(QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n');
    m_socket.flush();
}

void LockChannel::close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_socket.abort();
    // Not from inside a read: the receiver may delete us.
    QTimer::singleShot(0, this, &LockChannel::closed);
}

std::optional<QJsonObject> LockChannel::takeMessage()
{
    const qsizetype end = m_buffer.indexOf('\n');
    if (end < 0) {
        if (m_buffer.size() > maxMessageSize) {
            qCWarning(lcOverlay, "lock channel: a message too long; closing");
            close();
        }
        return std::nullopt;
    }
    const QByteArray line = m_buffer.left(end);
    m_buffer.remove(0, end + 1);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject() ||
        !document.object().value(QLatin1String("type")).isString()) {
        qCWarning(lcOverlay, "lock channel: not a message; closing");
        close();
        return std::nullopt;
    }
    return document.object();
}

void LockChannel::readAvailable()
{
    if (m_waiting || m_closed)
        return;
    m_buffer += m_socket.readAll();
    deliverHeld();
    while (!m_closed && !m_waiting) {
        const std::optional<QJsonObject> message = takeMessage();
        if (!message)
            break;
        Q_EMIT messageReceived(*message);
    }
}

void LockChannel::deliverHeld()
{
    while (!m_held.isEmpty() && !m_closed)
        Q_EMIT messageReceived(m_held.takeFirst());
}

std::optional<QJsonObject> LockChannel::waitFor(const QString &type,
                                                std::chrono::milliseconds timeout)
{
    if (m_closed)
        return std::nullopt;
    m_waiting = true;
    const QDeadlineTimer deadline(timeout);
    std::optional<QJsonObject> answer;
    while (!answer && !m_closed) {
        m_buffer += m_socket.readAll();
        while (const std::optional<QJsonObject> message = takeMessage()) {
            if (message->value(QLatin1String("type")).toString() == type) {
                answer = message;
                break;
            }
            m_held.append(*message);
        }
        if (answer || m_closed || deadline.hasExpired())
            break;
        if (!m_socket.waitForReadyRead(int(deadline.remainingTime())) &&
            m_socket.state() != QLocalSocket::ConnectedState)
            close();
    }
    m_waiting = false;
    // What came meanwhile goes out from the event loop, as it would have.
    if (!m_held.isEmpty() || !m_buffer.isEmpty())
        QTimer::singleShot(0, this, &LockChannel::readAvailable);
    return answer;
}
