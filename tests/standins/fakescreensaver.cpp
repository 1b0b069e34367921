#include "fakescreensaver.h"

#include <QMutexLocker>
#include <QUuid>

namespace {
QString serviceName()
{
    return QStringLiteral("org.freedesktop.ScreenSaver");
}
} // namespace

FakeScreenSaver::FakeScreenSaver(QObject *parent)
    : QObject(parent)
{}

FakeScreenSaver::~FakeScreenSaver()
{
    vanish();
}

bool FakeScreenSaver::publish()
{
    m_connectionName = QStringLiteral("fake-screensaver-") + QUuid::createUuid().toString();
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    return bus.isConnected() &&
           bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), this,
                              QDBusConnection::ExportAllSlots) &&
           bus.registerService(serviceName());
}

void FakeScreenSaver::vanish()
{
    if (m_connectionName.isEmpty())
        return;
    QDBusConnection::disconnectFromBus(std::exchange(m_connectionName, QString()));
}

void FakeScreenSaver::setHung(bool hung)
{
    const QMutexLocker lock(&m_mutex);
    m_isHung = hung;
}

QHash<uint, FakeScreenSaver::Inhibition> FakeScreenSaver::inhibitions() const
{
    const QMutexLocker lock(&m_mutex);
    return m_inhibitions;
}

QList<uint> FakeScreenSaver::uninhibited() const
{
    const QMutexLocker lock(&m_mutex);
    return m_uninhibited;
}

uint FakeScreenSaver::Inhibit(const QString &application, const QString &reason)
{
    const QMutexLocker lock(&m_mutex);
    if (m_isHung) {
        setDelayedReply(true);
        return 0;
    }
    const uint cookie = m_nextCookie++;
    m_inhibitions.insert(cookie, {application, reason});
    return cookie;
}

void FakeScreenSaver::UnInhibit(uint cookie)
{
    const QMutexLocker lock(&m_mutex);
    m_uninhibited.append(cookie);
    m_inhibitions.remove(cookie);
}
