#include "dbusautomationadaptors.h"

#include "automationhandler.h"
#include "dbusautomationservice.h"
#include "desktopnotifier.h"

#include <QPointer>

VostrelAdaptor::VostrelAdaptor(QObject *object, AutomationHandler &handler)
    : QDBusAbstractAdaptor(object)
    , m_handler(handler)
{}

void VostrelAdaptor::LockScreen()
{
    m_handler.lockScreen();
}

bool VostrelAdaptor::UnlockScreen(const QString &pin)
{
    return m_handler.unlockScreen(pin);
}

void VostrelAdaptor::KeepAwake(int minutes)
{
    // The desktop's answer may take a while; the event loop, and with it the
    // lock, must not wait for it.
    const auto *service = qobject_cast<const DBusAutomationService *>(parent());
    m_handler.keepAwake(
        minutes, service ? service->answerLater() : [](const QString &) {});
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
    if (name == QLatin1String("lock-screen"))
        m_handler.lockScreen();
    else if (name == QLatin1String("keep-awake"))
        m_handler.keepAwake(0, [notifier = QPointer(m_notifier)](const QString &refusal) {
            if (notifier && !refusal.isEmpty())
                notifier->show(QStringLiteral("Vostrel"), refusal);
        });
    else if (name == QLatin1String("get-status"))
        m_notifier->show(QStringLiteral("Vostrel"), m_handler.status());
}
