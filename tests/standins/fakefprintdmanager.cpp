#include "standins/fakefprintdmanager.h"

#include "standins/fakefprintd.h"

FakeFprintdManager::FakeFprintdManager(FakeFprintd &daemon)
    : m_daemon(daemon)
{}

QList<QDBusObjectPath> FakeFprintdManager::GetDevices()
{
    m_daemon.record(QStringLiteral("GetDevices"));
    if (m_daemon.behaviour() == FakeFprintd::Behaviour::NoDevice)
        return {};
    return {QDBusObjectPath(FakeFprintd::devicePath)};
}

QDBusObjectPath FakeFprintdManager::GetDefaultDevice()
{
    m_daemon.record(QStringLiteral("GetDefaultDevice"));
    if (m_daemon.behaviour() == FakeFprintd::Behaviour::NoDevice) {
        sendErrorReply(QStringLiteral("net.reactivated.Fprint.Error.NoSuchDevice"),
                       QStringLiteral("No devices available"));
        return {};
    }
    return QDBusObjectPath(FakeFprintd::devicePath);
}
