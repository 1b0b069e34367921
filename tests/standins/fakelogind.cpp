#include "standins/fakelogind.h"

#include <QMutexLocker>
#include <QUuid>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

FakeLogind::FakeLogind(QObject *parent)
    : QObject(parent)
{}

FakeLogind::~FakeLogind()
{
    vanish();
    for (const int fd : std::as_const(m_writeEnds))
        ::close(fd);
}

bool FakeLogind::publish()
{
    m_connectionName = QStringLiteral("fake-logind-") + QUuid::createUuid().toString();
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SystemBus, m_connectionName);
    return bus.isConnected() &&
           bus.registerObject(QStringLiteral("/org/freedesktop/login1"), this,
                              QDBusConnection::ExportAllSlots) &&
           bus.registerService(QStringLiteral("org.freedesktop.login1"));
}

void FakeLogind::vanish()
{
    if (m_connectionName.isEmpty())
        return;
    QDBusConnection::disconnectFromBus(std::exchange(m_connectionName, QString()));
}

QList<FakeLogind::Inhibitor> FakeLogind::inhibitors() const
{
    const QMutexLocker lock(&m_mutex);
    return m_inhibitors;
}

bool FakeLogind::isReleased(qsizetype index) const
{
    const QMutexLocker lock(&m_mutex);
    if (index < 0 || index >= m_writeEnds.size())
        return false;
    pollfd watch{m_writeEnds.at(index), POLLOUT, 0};
    if (::poll(&watch, 1, 0) < 0)
        return false;
    return (watch.revents & (POLLERR | POLLHUP)) != 0;
}

QDBusUnixFileDescriptor FakeLogind::Inhibit(const QString &what, const QString &who,
                                            const QString &why, const QString &mode)
{
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return {};
    const QMutexLocker lock(&m_mutex);
    m_inhibitors.append({what, who, why, mode});
    m_writeEnds.append(ends[1]);
    // Handing over ownership keeps no reader of our own on the pipe, so the
    // release shows as soon as the caller closes its copy.
    QDBusUnixFileDescriptor readEnd;
    readEnd.giveFileDescriptor(ends[0]);
    return readEnd;
}
