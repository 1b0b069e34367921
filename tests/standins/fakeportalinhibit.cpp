#include "standins/fakeportalinhibit.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QUuid>

namespace {
QString requestPath(qsizetype index)
{
    return QStringLiteral("/org/freedesktop/portal/desktop/request/caller/t%1").arg(index);
}
} // namespace

FakePortalInhibit::FakePortalInhibit(QObject *parent)
    : QObject(parent)
{}

FakePortalInhibit::~FakePortalInhibit()
{
    vanish();
}

bool FakePortalInhibit::publish()
{
    m_connectionName = QStringLiteral("fake-portal-inhibit-") + QUuid::createUuid().toString();
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    return bus.isConnected() &&
           bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), this,
                              QDBusConnection::ExportAllSlots) &&
           bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
}

void FakePortalInhibit::vanish()
{
    if (m_connectionName.isEmpty())
        return;
    QDBusConnection::disconnectFromBus(std::exchange(m_connectionName, QString()));
}

QDBusObjectPath FakePortalInhibit::Inhibit(const QString &, uint flags, const QVariantMap &)
{
    const QString path = requestPath(m_inhibitions.size());
    m_inhibitions.append({flags, false});
    connection().registerObject(path, QStringLiteral("org.freedesktop.portal.Request"), this,
                                QDBusConnection::ExportAllSlots);
    return QDBusObjectPath(path);
}

void FakePortalInhibit::Close()
{
    for (qsizetype i = 0; i < m_inhibitions.size(); ++i) {
        if (requestPath(i) == message().path())
            m_inhibitions[i].isClosed = true;
    }
    connection().unregisterObject(message().path());
}
