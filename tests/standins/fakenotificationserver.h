#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

// The notification server's Do Not Disturb on the session bus
// (org.freedesktop.Notifications, as KDE Plasma publishes it). Inhibited is
// writable here, through Properties.Set too, so a test script can turn it on
// with dbus-send; each change is announced with PropertiesChanged. Notify
// records what it was asked to show.
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

    struct Notification
    {
        QString appName;
        uint replacesId = 0;
        QString appIcon;
        QString summary;
        QString body;
        QVariantMap hints;
        uint id = 0;
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

    [[nodiscard]] QList<Notification> notifications() const { return m_notifications; }

public Q_SLOTS:
    QStringList GetCapabilities();
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon,
                const QString &summary, const QString &body, const QStringList &actions,
                const QVariantMap &hints, int expireTimeout);

Q_SIGNALS:
    void notified();

private:
    QList<Notification> m_notifications;
    uint m_nextId = 1;
    QString m_connectionName;
    bool m_isInhibited = false;
};
