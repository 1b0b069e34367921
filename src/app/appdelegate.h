#pragma once

#include <QObject>

#include <memory>

class HotkeyManager;
class IdleMonitor;
class KeepAwakeManager;
class NotificationCenter;
class OverlayManager;
class PINManager;
class TrayIcon;
class Preferences;

// The root object of the running application: it holds the long-lived
// managers, runs the launch sequence, wires the lock hotkey to the overlay and
// answers the application being launched again.
class AppDelegate : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppDelegate)

public:
    struct Managers
    {
        OverlayManager &overlay;
        KeepAwakeManager &keepAwake;
        PINManager &pins;
        HotkeyManager &hotkey;
        Preferences &defaults;
        NotificationCenter &notifications;
    };

    // The process-wide managers, taken in the order they must construct.
    explicit AppDelegate(QObject *parent = nullptr);
    explicit AppDelegate(const Managers &managers, QObject *parent = nullptr);
    ~AppDelegate() override;

    // Started on demand (--background): the launch opens no window.
    void setLaunchedInBackground(bool background) { m_background = background; }

    void start();
    void handleActivation();
    // Always true. Without a visible window, opens the window the onboarding
    // gate calls for: once onboarding is done but the PIN is gone, the
    // Security page, where a PIN is chosen again.
    bool reopen(bool hasVisibleWindows);

    // The tray icon, from the first step of the launch on.
    [[nodiscard]] TrayIcon *trayIcon() const { return m_trayIcon.get(); }

    // Onboarding is complete and a stored PIN can be read back.
    [[nodiscard]] bool isOnboardingGatePassed() const;

    // What the lock hotkey and the tray's "Lock Now" do: never unlock, never
    // stack keep-awake periods. A refused lock covers nothing; without a PIN
    // the window where one is chosen opens instead, saying so.
    void requestLock();

Q_SIGNALS:
    void settingsWindowRequested();
    // `pinNeeded`: a lock was asked for before any PIN was chosen.
    void onboardingRequested(bool pinNeeded);
    void securityPageRequested();
    // A lock asked for by the user was refused for a reason no window here
    // can fix (the session); `message` says why.
    void lockRefused(const QString &message);

private:
    void registerLockHotkey();
    void openGatedWindow();

    Managers m_managers;
    IdleMonitor *m_idleMonitor = nullptr;
    std::unique_ptr<TrayIcon> m_trayIcon;
    QMetaObject::Connection m_hotkeyObserver;
    bool m_background = false;
};
