#include "standins/fakeglobalshortcuts.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QTimer>
#include <QUuid>

namespace {
const QString desktopPath = QStringLiteral("/org/freedesktop/portal/desktop");
} // namespace

QDBusArgument &operator<<(QDBusArgument &argument, const FakeGlobalShortcuts::Shortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument,
                                FakeGlobalShortcuts::Shortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

FakeGlobalShortcuts::FakeGlobalShortcuts(QObject *parent)
    : QObject(parent)
{
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
}

FakeGlobalShortcuts::~FakeGlobalShortcuts()
{
    vanish();
}

bool FakeGlobalShortcuts::publish()
{
    m_connectionName = QStringLiteral("fake-global-shortcuts-") + QUuid::createUuid().toString();
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    return bus.isConnected() &&
           bus.registerObject(desktopPath, this,
                              QDBusConnection::ExportAllSlots |
                                  QDBusConnection::ExportAllProperties) &&
           bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
}

void FakeGlobalShortcuts::vanish()
{
    if (m_connectionName.isEmpty())
        return;
    QDBusConnection::disconnectFromBus(std::exchange(m_connectionName, QString()));
}

void FakeGlobalShortcuts::press(const QString &session, const QString &id)
{
    emitSignal(QStringLiteral("Activated"), session, id);
}

void FakeGlobalShortcuts::release(const QString &session, const QString &id)
{
    emitSignal(QStringLiteral("Deactivated"), session, id);
}

QDBusObjectPath FakeGlobalShortcuts::CreateSession(const QVariantMap &options)
{
    const QString session =
        objectPath(QStringLiteral("session"), options, QStringLiteral("session_handle_token"));
    m_sessions.append(session);
    connection().registerObject(session, QStringLiteral("org.freedesktop.portal.Session"), this,
                                QDBusConnection::ExportAllSlots);
    const QString request =
        objectPath(QStringLiteral("request"), options, QStringLiteral("handle_token"));
    // The portal documents the handle as a string.
    respond(request, {{QStringLiteral("session_handle"), session}});
    return QDBusObjectPath(request);
}

QDBusObjectPath
FakeGlobalShortcuts::BindShortcuts(const QDBusObjectPath &session,
                                   const QList<FakeGlobalShortcuts::Shortcut> &shortcuts,
                                   const QString &, const QVariantMap &options)
{
    for (const Shortcut &shortcut : shortcuts) {
        m_bindings.append(
            {session.path(), shortcut.id,
             shortcut.properties.value(QStringLiteral("description")).toString(),
             shortcut.properties.value(QStringLiteral("preferred_trigger")).toString()});
    }
    const QString request =
        objectPath(QStringLiteral("request"), options, QStringLiteral("handle_token"));
    respond(request, {});
    return QDBusObjectPath(request);
}

void FakeGlobalShortcuts::Close()
{
    m_closedSessions.append(message().path());
    connection().unregisterObject(message().path());
}

QString FakeGlobalShortcuts::objectPath(const QString &kind, const QVariantMap &options,
                                        const QString &key)
{
    QString sender = message().service().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return desktopPath + QLatin1Char('/') + kind + QLatin1Char('/') + sender + QLatin1Char('/') +
           options.value(key).toString();
}

// After the method's reply, as the portal does: it asks its backend first.
void FakeGlobalShortcuts::respond(const QString &request, const QVariantMap &results)
{
    QTimer::singleShot(0, this, [this, request, results] {
        QDBusMessage response = QDBusMessage::createSignal(
            request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        response << 0u << results;
        QDBusConnection(m_connectionName).send(response);
    });
}

void FakeGlobalShortcuts::emitSignal(const QString &name, const QString &session, const QString &id)
{
    QDBusMessage signal = QDBusMessage::createSignal(
        desktopPath, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), name);
    signal << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(0) << QVariantMap();
    QDBusConnection(m_connectionName).send(signal);
}
