#include "fakenotificationserver.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QUuid>
#include <QVariantMap>

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
