#include "standins/fakenotificationserver.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QUuid>
#include <QVariantMap>

#include <algorithm>
#include <utility>

namespace {
QString serviceName()
{
    return QStringLiteral("org.freedesktop.Notifications");
}

QString objectPath()
{
    return QStringLiteral("/org/freedesktop/Notifications");
}
} // namespace

FakeNotificationServer::FakeNotificationServer(QObject *parent)
    : QObject(parent)
{}

FakeNotificationServer::~FakeNotificationServer()
{
    vanish();
}

bool FakeNotificationServer::publish()
{
    m_connectionName = QStringLiteral("fake-notifications-") + QUuid::createUuid().toString();
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    return bus.isConnected() &&
           bus.registerObject(objectPath(), this,
                              QDBusConnection::ExportAllSlots |
                                  QDBusConnection::ExportAllProperties) &&
           bus.registerService(serviceName());
}

void FakeNotificationServer::vanish()
{
    if (m_connectionName.isEmpty())
        return;
    QDBusConnection::disconnectFromBus(std::exchange(m_connectionName, QString()));
}

void FakeNotificationServer::setInhibited(bool inhibited, Announce announce)
{
    m_isInhibited = inhibited;
    if (announce == Announce::Not || m_connectionName.isEmpty())
        return;
    QVariantMap changed;
    QStringList invalidated;
    if (announce == Announce::WithValue)
        changed.insert(QStringLiteral("Inhibited"), inhibited);
    else
        invalidated.append(QStringLiteral("Inhibited"));
    QDBusMessage signal =
        QDBusMessage::createSignal(objectPath(), QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << serviceName() << changed << invalidated;
    QDBusConnection(m_connectionName).send(signal);
}

QStringList FakeNotificationServer::GetCapabilities()
{
    return {QStringLiteral("body"), QStringLiteral("inhibitions")};
}

uint FakeNotificationServer::Notify(const QString &appName, uint replacesId, const QString &appIcon,
                                    const QString &summary, const QString &body,
                                    const QStringList &, const QVariantMap &hints, int)
{
    // As a real server does: a known id is reused, anything else gets a new one.
    const bool replaces = std::any_of(
        m_notifications.cbegin(), m_notifications.cend(),
        [replacesId](const Notification &n) { return replacesId != 0 && n.id == replacesId; });
    const uint id = replaces ? replacesId : m_nextId++;
    m_notifications.append({appName, replacesId, appIcon, summary, body, hints, id});
    Q_EMIT notified();
    return id;
}
