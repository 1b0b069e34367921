#include "standins/fakefprintd.h"

#include "standins/fakefprintddevice.h"
#include "standins/fakefprintdmanager.h"

#include <QDBusConnectionInterface>

const QString FakeFprintd::serviceName = QStringLiteral("net.reactivated.Fprint");
const QString FakeFprintd::managerPath = QStringLiteral("/net/reactivated/Fprint/Manager");
const QString FakeFprintd::devicePath = QStringLiteral("/net/reactivated/Fprint/Device/0");

namespace {
QString nextConnectionName()
{
    static int counter = 0;
    return QStringLiteral("fakefprintd-%1").arg(++counter);
}
} // namespace

FakeFprintd::FakeFprintd(QObject *parent)
    : QObject(parent)
    , m_connection(QDBusConnection::connectToBus(QDBusConnection::SystemBus, nextConnectionName()))
    , m_manager(new FakeFprintdManager(*this))
    , m_device(new FakeFprintdDevice(*this))
{
    m_manager->setParent(this);
    m_device->setParent(this);
}

FakeFprintd::~FakeFprintd()
{
    stop();
}

bool FakeFprintd::start()
{
    if (!m_connection.isConnected()) {
        qWarning("fake fprintd: no system bus: %s", qPrintable(m_connection.lastError().message()));
        return false;
    }
    const auto options = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals;
    if (!m_connection.registerObject(managerPath, m_manager, options) ||
        !m_connection.registerObject(devicePath, m_device, options) ||
        !m_connection.registerService(serviceName)) {
        qWarning("fake fprintd: cannot register: %s",
                 qPrintable(m_connection.lastError().message()));
        return false;
    }
    return true;
}

void FakeFprintd::stop()
{
    if (!m_connection.isConnected())
        return;
    const QString name = m_connection.name();
    m_connection.unregisterObject(managerPath);
    m_connection.unregisterObject(devicePath);
    m_connection = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(name);
}

void FakeFprintd::sendVerifyStatus(const QString &result, bool done)
{
    Q_EMIT m_device->VerifyStatus(result, done);
}

void FakeFprintd::record(const QString &call)
{
    m_calls.append(call);
    Q_EMIT called(call);
}
