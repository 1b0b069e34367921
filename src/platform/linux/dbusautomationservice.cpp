#include "dbusautomationservice.h"

#include "dbusautomationadaptors.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>

DBusAutomationService::DBusAutomationService(AutomationHandler &handler, QObject *parent)
    : QObject(parent)
    , m_handler(handler)
{
    new VostrelAdaptor(this, handler);
    new ApplicationAdaptor(this, handler);
}

DBusAutomationService::~DBusAutomationService()
{
    if (!m_registered)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QLatin1String(objectPath));
    bus.unregisterService(QLatin1String(serviceName));
}

std::function<void(const QString &)> DBusAutomationService::answerLater() const
{
    if (!calledFromDBus())
        return [](const QString &) {
        };
    setDelayedReply(true);
    return [bus = connection(), call = message()](const QString &refusal) {
        bus.send(refusal.isEmpty()
                     ? call.createReply()
                     : call.createErrorReply(QLatin1String(refusedErrorName), refusal));
    };
}

bool DBusAutomationService::registerOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        m_error = QStringLiteral("no D-Bus session bus: %1").arg(bus.lastError().message());
        return false;
    }
    // Export first: a client that sees the name must find the object.
    if (!bus.registerObject(QLatin1String(objectPath), this, QDBusConnection::ExportAdaptors)) {
        m_error = QStringLiteral("could not export %1").arg(QLatin1String(objectPath));
        return false;
    }
    if (!bus.registerService(QLatin1String(serviceName))) {
        bus.unregisterObject(QLatin1String(objectPath));
        m_nameTaken = true;
        m_error = QStringLiteral("%1 is already owned by another process")
                      .arg(QLatin1String(serviceName));
        return false;
    }
    m_registered = true;
    return true;
}
