#pragma once

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QList>
#include <QObject>

class FakeFprintd;

// net.reactivated.Fprint.Manager of the stand-in fprintd.
class FakeFprintdManager : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "net.reactivated.Fprint.Manager")
    Q_DISABLE_COPY_MOVE(FakeFprintdManager)

public:
    explicit FakeFprintdManager(FakeFprintd &daemon);

public Q_SLOTS:
    QList<QDBusObjectPath> GetDevices();
    QDBusObjectPath GetDefaultDevice();

private:
    FakeFprintd &m_daemon;
};
