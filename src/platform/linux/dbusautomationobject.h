#pragma once

#include <QDBusContext>
#include <QObject>
#include <QVariantList>
#include <QVariantMap>

#include <functional>

class AutomationHandler;
class DesktopNotifier;

// The object exported at /app/vostrel/Vostrel. The adaptors generated from
// data/dbus/*.xml hang on it and call these methods, named as on the bus;
// Qt hands an adaptor's call the D-Bus context of this parent, which is how
// an action answers later or with an error.
class DBusAutomationObject : public QObject, public QDBusContext
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBusAutomationObject)

public:
    DBusAutomationObject(AutomationHandler &handler, QObject *parent);

    // app.vostrel.Vostrel: the five actions.
    void LockScreen();
    bool UnlockScreen(const QString &pin);
    void KeepAwake(int minutes);
    void StopKeepAwake();
    QString GetStatus();

    // org.freedesktop.Application: launching again and the launcher's
    // actions (lock-screen, keep-awake, get-status: those of the desktop entry).
    void Activate(const QVariantMap &platformData);
    void Open(const QStringList &uris, const QVariantMap &platformData);
    void ActivateAction(const QString &name, const QVariantList &parameter,
                        const QVariantMap &platformData);

private:
    // Holds back the answer to the call being handled; the function returned
    // sends it later: the reply, or the refused error saying why. A call that
    // did not come over D-Bus gets a function that does nothing.
    [[nodiscard]] std::function<void(const QString &refusal)> answerLater();

    AutomationHandler &m_handler;
    DesktopNotifier *m_notifier = nullptr;
};
