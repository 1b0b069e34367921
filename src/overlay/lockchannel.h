#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QLocalSocket>
#include <QObject>

#include <chrono>
#include <optional>
#include <utility>

// One end of the private channel between the application and its
// lock-screen process: a connected pair of Unix sockets made before the
// lock-screen process starts, one end inherited by it and by nothing else,
// so no other program on the machine can reach either end to ask for an
// unlock. Messages are JSON objects, one a line, with a "type".
class LockChannel : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LockChannel)

public:
    // A line longer than this is not ours: the channel closes.
    static constexpr qsizetype maxMessageSize = 64 * 1024;

    // Takes ownership of a connected socket descriptor.
    explicit LockChannel(int descriptor, QObject *parent = nullptr);
    ~LockChannel() override;

    // Two connected descriptors, both close-on-exec; nothing when the system
    // refuses.
    [[nodiscard]] static std::optional<std::pair<int, int>> socketPair();

    [[nodiscard]] bool isOpen() const;
    void send(const QJsonObject &message);
    void close();

    // Blocks for the first message of `type`, at most `timeout`; messages of
    // other types that arrive meanwhile are delivered afterwards, in order.
    // For the one question that must be answered before the lock screen goes
    // on (is this PIN right?).
    [[nodiscard]] std::optional<QJsonObject> waitFor(const QString &type,
                                                     std::chrono::milliseconds timeout);

Q_SIGNALS:
    void messageReceived(const QJsonObject &message);
    // The other end is gone, or sent something that is not a message.
    void closed();

private:
    void readAvailable();
    // The next complete message in the buffer; nothing when none is complete
    // yet or the channel had to close.
    std::optional<QJsonObject> takeMessage();
    void deliverHeld();

    QLocalSocket m_socket;
    QByteArray m_buffer;
    QList<QJsonObject> m_held;
    bool m_waiting = false;
    bool m_closed = false;
};
