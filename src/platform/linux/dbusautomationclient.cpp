#include "platform/linux/dbusautomationclient.h"

#include "platform/linux/dbusautomationservice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusSignature>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QVariantMap>

namespace {
// Long enough for an application that is busy raising its panels.
constexpr int callTimeoutMs = 10000;
// The session bus gives a starting service 25 s to take its name.
constexpr int startTimeoutMs = 30000;

// No instance answered: none runs, and none could be started.
bool isAbsent(const QString &errorName)
{
    return errorName == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
           errorName == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
           errorName.startsWith(QLatin1String("org.freedesktop.DBus.Error.Spawn.")) ||
           errorName.startsWith(QLatin1String("org.freedesktop.systemd1."));
}
} // namespace

void DBusAutomationClient::registerTypes()
{
    // Qt 6.4 registers its own D-Bus types lazily, from whichever thread
    // first needs one (QTBUG-108822): a reply read on the bus thread then
    // finds them missing now and again and prints "Trying to construct an
    // instance of an invalid type" where the user reads our answer.
    static const bool registered = [] {
        qRegisterMetaType<QDBusObjectPath>();
        qRegisterMetaType<QDBusSignature>();
        qRegisterMetaType<QDBusVariant>();
        qRegisterMetaType<QDBusUnixFileDescriptor>();
        qRegisterMetaType<QDBusArgument>();
        return true;
    }();
    Q_UNUSED(registered)
}

DBusAutomationClient::Reply DBusAutomationClient::call(const QString &method,
                                                       const QVariantList &arguments, Start start)
{
    registerTypes();
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
    message.setAutoStartService(start == Start::IfNotRunning);
    const QDBusMessage reply = bus.call(
        message, QDBus::Block, start == Start::IfNotRunning ? startTimeoutMs : callTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        return {!isAbsent(reply.errorName()),
                {},
                reply.errorMessage(),
                reply.errorName() == QLatin1String(DBusAutomationService::refusedErrorName)};
    }
    return {true, reply.arguments().value(0), {}};
}
