#pragma once

#include <QDBusContext>
#include <QObject>
#include <QStringList>

class FakeFprintd;

// net.reactivated.Fprint.Device of the stand-in fprintd: one reader, claimed by
// one client at a time, with the errors fprintd gives for calls out of order.
class FakeFprintdDevice : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "net.reactivated.Fprint.Device")
    Q_DISABLE_COPY_MOVE(FakeFprintdDevice)

public:
    explicit FakeFprintdDevice(FakeFprintd &daemon);

public Q_SLOTS:
    QStringList ListEnrolledFingers(const QString &username);
    void Claim(const QString &username);
    void Release();
    void VerifyStart(const QString &finger);
    void VerifyStop();

Q_SIGNALS:
    void VerifyStatus(const QString &result, bool done);

private:
    void fail(const QString &name, const QString &text);

    FakeFprintd &m_daemon;
};
