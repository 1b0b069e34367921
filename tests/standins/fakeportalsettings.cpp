#include "standins/fakeportalsettings.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QUuid>

FakePortalSettings::FakePortalSettings(QObject *parent)
    : QObject(parent)
{}

FakePortalSettings::~FakePortalSettings()
{
    vanish();
}

bool FakePortalSettings::publish()
{
    m_connectionName = QStringLiteral("fake-portal-") + QUuid::createUuid().toString();
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    return bus.isConnected() &&
           bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), this,
                              QDBusConnection::ExportAllSlots |
                                  QDBusConnection::ExportAllSignals) &&
           bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
}

void FakePortalSettings::vanish()
{
    if (m_connectionName.isEmpty())
        return;
    QDBusConnection::disconnectFromBus(std::exchange(m_connectionName, QString()));
}

QDBusVariant FakePortalSettings::Read(const QString &nameSpace, const QString &key)
{
    ++m_reads;
    if (nameSpace != QLatin1String("org.freedesktop.appearance") ||
        key != QLatin1String("color-scheme"))
        return QDBusVariant(QVariant::fromValue(QDBusVariant(QString())));
    return QDBusVariant(QVariant::fromValue(QDBusVariant(m_colorScheme)));
}

void FakePortalSettings::change(uint colorScheme)
{
    m_colorScheme = colorScheme;
    Q_EMIT SettingChanged(QStringLiteral("org.freedesktop.appearance"),
                          QStringLiteral("color-scheme"), QDBusVariant(colorScheme));
}
