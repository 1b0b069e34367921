#include "platform/linux/mutteridletimesource.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

MutterIdleTimeSource::MutterIdleTimeSource(QObject *parent)
    : QObject(parent)
{}

MutterIdleTimeSource::~MutterIdleTimeSource() = default;

void MutterIdleTimeSource::queryIdleSeconds(Answer answer)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        answer(0);
        return;
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Mutter.IdleMonitor"),
        QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
        QStringLiteral("org.gnome.Mutter.IdleMonitor"), QStringLiteral("GetIdletime"));
    // Parented to the source: a reply that comes after it is gone is dropped.
    auto *watcher =
        new QDBusPendingCallWatcher(bus.asyncCall(call, int(replyTimeout.count())), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [answer = std::move(answer)](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                const QDBusPendingReply<quint64> reply = *finished;
                answer(reply.isValid() ? double(reply.value()) / 1000.0 : 0.0);
            });
}
