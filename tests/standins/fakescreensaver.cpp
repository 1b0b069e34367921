#include "standins/fakescreensaver.h"

#include <QMutexLocker>
#include <QUuid>

FakeScreenSaver::FakeScreenSaver(QObject *parent)
    : FakeScreenSaver(QStringLiteral("org.freedesktop.ScreenSaver"),
                      QStringLiteral("/org/freedesktop/ScreenSaver"), parent)
{}

FakeScreenSaver::FakeScreenSaver(QString service, QString path, QObject *parent)
    : QObject(parent)
    , m_service(std::move(service))
    , m_path(std::move(path))
{}

FakePowerManagement::FakePowerManagement(QObject *parent)
    : FakeScreenSaver(QStringLiteral("org.freedesktop.PowerManagement"),
                      QStringLiteral("/org/freedesktop/PowerManagement/Inhibit"), parent)
{}

FakeScreenSaver::~FakeScreenSaver()
{
    vanish();
}

bool FakeScreenSaver::publish()
{
    m_connectionName = m_service + QUuid::createUuid().toString();
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    return bus.isConnected() && bus.registerObject(m_path, this, QDBusConnection::ExportAllSlots) &&
           bus.registerService(m_service);
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

void FakeScreenSaver::answerHeldBack()
{
    const QMutexLocker lock(&m_mutex);
    for (const QDBusMessage &call : std::as_const(m_heldBack)) {
        const uint cookie = m_nextCookie++;
        m_inhibitions.insert(
            cookie, {call.arguments().value(0).toString(), call.arguments().value(1).toString()});
        QDBusConnection(m_connectionName).send(call.createReply(cookie));
    }
    m_heldBack.clear();
}

qsizetype FakeScreenSaver::heldBack() const
{
    const QMutexLocker lock(&m_mutex);
    return m_heldBack.size();
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
        m_heldBack.append(message());
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
