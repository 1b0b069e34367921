#include "platform/linux/notificationserverfocusstate.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {
QString serviceName()
{
    return QStringLiteral("org.freedesktop.Notifications");
}

QString objectPath()
{
    return QStringLiteral("/org/freedesktop/Notifications");
}

QString inhibitedProperty()
{
    return QStringLiteral("Inhibited");
}
} // namespace

NotificationServerFocusState::NotificationServerFocusState(QObject *parent)
    : FocusState(parent)
    , m_watcher(serviceName(), QDBusConnection::sessionBus(),
                QDBusServiceWatcher::WatchForOwnerChange)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // Connected by the well-known name, Qt follows whichever process owns it.
    bus.connect(serviceName(), objectPath(), QStringLiteral("org.freedesktop.DBus.Properties"),
                QStringLiteral("PropertiesChanged"), this,
                SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    connect(&m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &newOwner) {
                ++m_generation;
                m_isInhibited = false;
                if (!newOwner.isEmpty())
                    fetch(false);
            });
    fetch(false);
}

NotificationServerFocusState::~NotificationServerFocusState() = default;

void NotificationServerFocusState::onPropertiesChanged(const QString &interface,
                                                       const QVariantMap &changed,
                                                       const QStringList &invalidated)
{
    if (interface != serviceName())
        return;
    const auto value = changed.constFind(inhibitedProperty());
    if (value != changed.cend()) {
        // A server that sends anything but a Bool is not telling us it is on.
        m_isInhibited = value->typeId() == QMetaType::Bool && value->toBool();
        Q_EMIT stateChanged();
    } else if (invalidated.contains(inhibitedProperty())) {
        fetch(true);
    }
}

void NotificationServerFocusState::fetch(bool report)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        serviceName(), objectPath(), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    call << serviceName() << inhibitedProperty();
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, report, generation = m_generation](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                if (generation != m_generation)
                    return;
                const QDBusPendingReply<QDBusVariant> reply = *finished;
                const QVariant value = reply.isValid() ? reply.value().variant() : QVariant();
                m_isInhibited = value.typeId() == QMetaType::Bool && value.toBool();
                if (report)
                    Q_EMIT stateChanged();
            });
}
