#include "standins/fakemutteridlemonitor.h"

#include <QDBusConnection>
#include <QUuid>

#include <utility>

FakeMutterIdleMonitor::FakeMutterIdleMonitor(QObject *parent)
    : QObject(parent)
{}

FakeMutterIdleMonitor::~FakeMutterIdleMonitor()
{
    vanish();
}

bool FakeMutterIdleMonitor::publish()
{
    m_connectionName = QStringLiteral("fake-mutter-") + QUuid::createUuid().toString();
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    return bus.isConnected() &&
           bus.registerObject(QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"), this,
                              QDBusConnection::ExportAllSlots) &&
           bus.registerService(QStringLiteral("org.gnome.Mutter.IdleMonitor"));
}

void FakeMutterIdleMonitor::vanish()
{
    if (m_connectionName.isEmpty())
        return;
    QDBusConnection::disconnectFromBus(std::exchange(m_connectionName, QString()));
}

quint64 FakeMutterIdleMonitor::GetIdletime()
{
    ++m_calls;
    if (m_isHung)
        setDelayedReply(true);
    return m_idleMilliseconds;
}
