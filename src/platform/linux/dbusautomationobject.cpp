#include "platform/linux/dbusautomationobject.h"

#include "platform/automationhandler.h"
#include "platform/linux/dbusautomationservice.h"
#include "platform/linux/desktopnotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QPointer>

DBusAutomationObject::DBusAutomationObject(AutomationHandler &handler, QObject *parent)
    : QObject(parent)
    , m_handler(handler)
    , m_notifier(new DesktopNotifier(this))
{}

std::function<void(const QString &)> DBusAutomationObject::answerLater()
{
    if (!calledFromDBus())
        return [](const QString &) {
        };
    setDelayedReply(true);
    return [bus = connection(), call = message()](const QString &refusal) {
        bus.send(refusal.isEmpty()
                     ? call.createReply()
                     : call.createErrorReply(QLatin1String(DBusAutomationService::refusedErrorName),
                                             refusal));
    };
}

void DBusAutomationObject::LockScreen()
{
    // Answered once the lock is up: a compositor confirms it a moment later.
    m_handler.lockScreen(answerLater());
}

bool DBusAutomationObject::UnlockScreen(const QString &pin)
{
    return m_handler.unlockScreen(pin);
}

void DBusAutomationObject::KeepAwake(int minutes)
{
    // The desktop's answer may take a while; the event loop, and with it the
    // lock, must not wait for it.
    m_handler.keepAwake(minutes, answerLater());
}

void DBusAutomationObject::StopKeepAwake()
{
    m_handler.stopKeepAwake();
}

QString DBusAutomationObject::GetStatus()
{
    return m_handler.status();
}

void DBusAutomationObject::Activate(const QVariantMap &)
{
    m_handler.reopen();
}

void DBusAutomationObject::Open(const QStringList &, const QVariantMap &)
{
    m_handler.reopen();
}

void DBusAutomationObject::ActivateAction(const QString &name, const QVariantList &,
                                          const QVariantMap &)
{
    // The launcher's actions: the same as the script actions of those names.
    // A launcher has nowhere to print the status, so it becomes a notification.
    // A launcher has nowhere to show an error either.
    if (name == QLatin1String("lock-screen")) {
        m_handler.lockScreen([notifier = QPointer(m_notifier)](const QString &refusal) {
            if (notifier && !refusal.isEmpty())
                notifier->show(QStringLiteral("Vostrel"), refusal);
        });
    } else if (name == QLatin1String("keep-awake")) {
        m_handler.keepAwake(0, [notifier = QPointer(m_notifier)](const QString &refusal) {
            if (notifier && !refusal.isEmpty())
                notifier->show(QStringLiteral("Vostrel"), refusal);
        });
    } else if (name == QLatin1String("get-status"))
        m_notifier->show(QStringLiteral("Vostrel"), m_handler.status());
}
