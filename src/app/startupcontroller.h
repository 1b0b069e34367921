#pragma once

#include <QObject>

class HotkeyManager;
class OverlayManager;
class PINManager;
class Preferences;

// What the user meets at start-up and whenever they ask for the lock: which
// window the launch opens (onboarding, the Security page while no PIN can be
// read back, or settings), what a second launch brings forward, and what the
// lock hotkey and "Lock Now" do when the lock is refused.
class StartupController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StartupController)

public:
    struct Managers
    {
        OverlayManager &overlay;
        PINManager &pins;
        HotkeyManager &hotkey;
        Preferences &defaults;
    };

    explicit StartupController(const Managers &managers, QObject *parent = nullptr);
    ~StartupController() override;

    // Started on demand (--background): the start opens no window.
    void setLaunchedInBackground(bool background) { m_background = background; }

    // Opens the window the onboarding gate calls for and registers the lock
    // hotkey, again whenever it changes.
    void start();
    // The desktop made the application active: a grab lost meanwhile is
    // taken again.
    void applicationActivated();
    // Always true. Without a visible window, opens the window the onboarding
    // gate calls for: once onboarding is done but the PIN is gone, the
    // Security page, where a PIN is chosen again.
    bool reopen(bool hasVisibleWindows);

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
    bool m_background = false;
};
