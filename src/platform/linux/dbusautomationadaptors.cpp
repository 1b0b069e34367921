#include "platform/linux/dbusautomationadaptors.h"

#include "platform/automationhandler.h"
#include "platform/linux/dbusautomationservice.h"
#include "platform/linux/desktopnotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QPointer>

VostrelAdaptor::VostrelAdaptor(DBusAutomationObject *object, AutomationHandler &handler)
    : QDBusAbstractAdaptor(object)
    , m_object(object)
    , m_handler(handler)
{}

void VostrelAdaptor::refuseIf(const QString &refusal)
{
    if (!refusal.isEmpty() && m_object->calledFromDBus())
        m_object->sendErrorReply(QLatin1String(DBusAutomationService::refusedErrorName), refusal);
}

std::function<void(const QString &)> VostrelAdaptor::answerLater()
{
    if (!m_object->calledFromDBus())
        return [](const QString &) {
        };
    m_object->setDelayedReply(true);
    return [bus = m_object->connection(), call = m_object->message()](const QString &refusal) {
        bus.send(refusal.isEmpty()
                     ? call.createReply()
                     : call.createErrorReply(QLatin1String(DBusAutomationService::refusedErrorName),
                                             refusal));
    };
}

void VostrelAdaptor::LockScreen()
{
    refuseIf(m_handler.lockScreen());
}

bool VostrelAdaptor::UnlockScreen(const QString &pin)
{
    return m_handler.unlockScreen(pin);
}

void VostrelAdaptor::KeepAwake(int minutes)
{
    // The desktop's answer may take a while; the event loop, and with it the
    // lock, must not wait for it.
    m_handler.keepAwake(minutes, answerLater());
}

void VostrelAdaptor::StopKeepAwake()
{
    m_handler.stopKeepAwake();
}

QString VostrelAdaptor::GetStatus()
{
    return m_handler.status();
}

ApplicationAdaptor::ApplicationAdaptor(QObject *object, AutomationHandler &handler)
    : QDBusAbstractAdaptor(object)
    , m_handler(handler)
    , m_notifier(new DesktopNotifier(this))
{}

void ApplicationAdaptor::Activate(const QVariantMap &)
{
    m_handler.reopen();
}

void ApplicationAdaptor::Open(const QStringList &, const QVariantMap &)
{
    m_handler.reopen();
}

void ApplicationAdaptor::ActivateAction(const QString &name, const QVariantList &,
                                        const QVariantMap &)
{
    // The launcher's actions: the same as the script actions of those names.
    // A launcher has nowhere to print the status, so it becomes a notification.
    // A launcher has nowhere to show an error either.
    if (name == QLatin1String("lock-screen")) {
        if (const QString refusal = m_handler.lockScreen(); !refusal.isEmpty())
            m_notifier->show(QStringLiteral("Vostrel"), refusal);
    } else if (name == QLatin1String("keep-awake")) {
        m_handler.keepAwake(0, [notifier = QPointer(m_notifier)](const QString &refusal) {
            if (notifier && !refusal.isEmpty())
                notifier->show(QStringLiteral("Vostrel"), refusal);
        });
    } else if (name == QLatin1String("get-status"))
        m_notifier->show(QStringLiteral("Vostrel"), m_handler.status());
}
