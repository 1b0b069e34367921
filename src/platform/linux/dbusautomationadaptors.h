#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusContext>
#include <QVariantList>
#include <QVariantMap>

#include <functional>

class AutomationHandler;
class DesktopNotifier;

// The exported object the adaptors hang on. Qt hands an adaptor's call the
// D-Bus context of its parent, which is how an action answers with an error.
class DBusAutomationObject : public QObject, public QDBusContext
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBusAutomationObject)

public:
    using QObject::QObject;
};

// app.vostrel.Vostrel: the five actions.
class VostrelAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.vostrel.Vostrel")

public:
    VostrelAdaptor(DBusAutomationObject *object, AutomationHandler &handler);

public Q_SLOTS:
    void LockScreen();
    bool UnlockScreen(const QString &pin);
    void KeepAwake(int minutes);
    void StopKeepAwake();
    QString GetStatus();

private:
    // An empty refusal lets the reply go out as usual.
    void refuseIf(const QString &refusal);
    // Holds back the answer to the call being handled; the function returned
    // sends it later: the reply, or the refused error saying why. A call that
    // did not come over D-Bus gets a function that does nothing.
    [[nodiscard]] std::function<void(const QString &refusal)> answerLater();

    DBusAutomationObject *m_object;
    AutomationHandler &m_handler;
};

// org.freedesktop.Application: launching again and the launcher's actions
// (lock-screen, keep-awake, get-status: those of the desktop entry).
class ApplicationAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    ApplicationAdaptor(QObject *object, AutomationHandler &handler);

public Q_SLOTS:
    void Activate(const QVariantMap &platformData);
    void Open(const QStringList &uris, const QVariantMap &platformData);
    void ActivateAction(const QString &name, const QVariantList &parameter,
                        const QVariantMap &platformData);

private:
    AutomationHandler &m_handler;
    DesktopNotifier *m_notifier = nullptr;
};
