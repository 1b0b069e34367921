#include "dbusautomationclient.h"

#include "dbusautomationservice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace {
// Long enough for an application that is busy raising its panels.
constexpr int callTimeoutMs = 10000;
} // namespace

DBusAutomationClient::Reply DBusAutomationClient::call(const QString &method,
                                                       const QVariantList &arguments)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return {false, {}, QStringLiteral("no D-Bus session bus")};

    const bool application = method == QLatin1String("Activate");
    QDBusMessage message = QDBusMessage::createMethodCall(
        QLatin1String(DBusAutomationService::serviceName),
        QLatin1String(DBusAutomationService::objectPath),
        application ? QStringLiteral("org.freedesktop.Application")
                    : QLatin1String(DBusAutomationService::interfaceName),
        method);
    message.setArguments(application ? QVariantList{QVariantMap{}} : arguments);
    const QDBusMessage reply = bus.call(message, QDBus::Block, callTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        const bool absent =
            reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
            reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
        return {!absent, {}, reply.errorMessage()};
    }
    return {true, reply.arguments().value(0), {}};
}
