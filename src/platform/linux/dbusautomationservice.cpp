#include "platform/linux/dbusautomationservice.h"

#include "platform/linux/applicationadaptor.h"
#include "platform/linux/dbusautomationobject.h"
#include "platform/linux/vostreladaptor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>

DBusAutomationService::DBusAutomationService(AutomationHandler &handler, QObject *parent)
    : QObject(parent)
    , m_handler(handler)
{
    auto *object = new DBusAutomationObject(handler, this);
    m_object = object;
    new VostrelAdaptor(object);
    new ApplicationAdaptor(object);
}

DBusAutomationService::~DBusAutomationService()
{
    if (!m_registered)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QLatin1String(objectPath));
    bus.unregisterService(QLatin1String(serviceName));
}

bool DBusAutomationService::registerOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        m_error = QStringLiteral("no D-Bus session bus: %1").arg(bus.lastError().message());
        return false;
    }
    // Export first: a client that sees the name must find the object.
    if (!bus.registerObject(QLatin1String(objectPath), m_object, QDBusConnection::ExportAdaptors)) {
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
