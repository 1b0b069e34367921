#pragma once

#include "platform/keygrabber.h"

#include <QDBusContext>
#include <QString>
#include <QVariantMap>

#include <chrono>

class QDBusMessage;
class QDBusObjectPath;

// The global hotkey through the desktop portal's GlobalShortcuts interface,
// where the desktop's portal backend has it (KDE Plasma; GNOME from 48; not
// the wlroots backend). The application asks for one shortcut, "lock", and
// suggests the combination; the desktop decides, may ask the user, and lets
// the user change it later in its own settings. Everything is asynchronous:
// grab() reports Grabbed once the request is sent, and a refusal shows only
// in the log.
class PortalKeyGrabber : public KeyGrabber, protected QDBusContext
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PortalKeyGrabber)

public:
    static constexpr std::chrono::milliseconds probeTimeout{2000};

    explicit PortalKeyGrabber(QObject *parent = nullptr);
    ~PortalKeyGrabber() override;

    // Whether the session bus has a portal with GlobalShortcuts. Blocks for
    // up to probeTimeout (the portal may be started for the question), so it
    // is asked once, when the backends are chosen.
    [[nodiscard]] static bool isOffered();

    // The combination in the XDG shortcuts notation ("LOGO+L", "CTRL+ALT+F5"):
    // modifiers, then the key's keysym name. Empty for an unknown key.
    [[nodiscard]] static QString preferredTrigger(quint16 keyCode, quint64 modifierFlags);

    [[nodiscard]] bool isGlobalGrabSupported() const override { return true; }
    GrabResult grab(quint16 keyCode, quint64 modifierFlags) override;
    void ungrab() override;

private Q_SLOTS:
    void handleSessionCreated(uint response, const QVariantMap &results);
    void handleShortcutsBound(uint response, const QVariantMap &results);
    void handleActivated(const QDBusObjectPath &session, const QString &shortcutId, qulonglong,
                         const QVariantMap &);
    void handleDeactivated(const QDBusObjectPath &session, const QString &shortcutId, qulonglong,
                           const QVariantMap &);

private:
    QString awaitResponse(const char *slot);
    void stopAwaiting(const QString &request, const char *slot);
    void callPortal(const QDBusMessage &call);
    void closeSession(const QString &session);

    QString m_trigger;
    // The request whose answer is awaited; answers to others are stale.
    QString m_sessionRequest;
    QString m_bindRequest;
    QString m_session;
    // Between Activated and Deactivated: a held key repeats neither.
    bool m_isPressed = false;
};
