#include "platform/linux/desktopnotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include <cstdio>

namespace {
// A server that is started on demand may be slow to answer the first time,
// but a text that never shows up must still reach the fallback.
constexpr int notifyTimeoutMs = 5000;

void printToStandardOutput(const QString &, const QString &body)
{
    std::fprintf(stdout, "%s\n", qPrintable(body));
    std::fflush(stdout);
}
} // namespace

DesktopNotifier::DesktopNotifier(QObject *parent)
    : QObject(parent)
    , m_fallback(printToStandardOutput)
{}

DesktopNotifier::~DesktopNotifier() = default;

void DesktopNotifier::setFallback(Fallback fallback)
{
    m_fallback = fallback ? std::move(fallback) : Fallback(printToStandardOutput);
}

void DesktopNotifier::show(const QString &summary, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        m_fallback(summary, body);
        Q_EMIT shown(false);
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{
        {QStringLiteral("desktop-entry"), QStringLiteral("app.vostrel.Vostrel")},
        {QStringLiteral("transient"), true},
    };
    message << QStringLiteral("Vostrel") << m_lastId << QStringLiteral("app.vostrel.Vostrel")
            << summary << body << QStringList() << hints << -1;

    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(message, notifyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, summary, body](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                const QDBusPendingReply<uint> reply = *call;
                if (reply.isError()) {
                    m_fallback(summary, body);
                    Q_EMIT shown(false);
                    return;
                }
                m_lastId = reply.value();
                Q_EMIT shown(true);
            });
}
