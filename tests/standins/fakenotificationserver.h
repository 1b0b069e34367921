#pragma once

#include <QObject>
#include <QString>

// The notification server's Do Not Disturb on the session bus
// (org.freedesktop.Notifications, as KDE Plasma publishes it). Inhibited is
// writable here, through Properties.Set too, so a test script can turn it on
// with dbus-send; each change is announced with PropertiesChanged.
class FakeNotificationServer : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeNotificationServer)
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
    Q_PROPERTY(bool Inhibited READ isInhibited WRITE setInhibited)

public:
    enum class Announce {
        WithValue,   // the new value in the changed properties
        Invalidated, // only the name, among the invalidated properties
        Not,
    };

    explicit FakeNotificationServer(QObject *parent = nullptr);
    ~FakeNotificationServer() override;

    // Takes the well-known name on a connection of its own to the session bus.
    bool publish();
    // Leaves the bus as a crashing server would.
    void vanish();

    [[nodiscard]] bool isInhibited() const { return m_isInhibited; }
    void setInhibited(bool inhibited) { setInhibited(inhibited, Announce::WithValue); }
    void setInhibited(bool inhibited, Announce announce);

public Q_SLOTS:
    QStringList GetCapabilities();

private:
    QString m_connectionName;
    bool m_isInhibited = false;
};
