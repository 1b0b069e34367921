#pragma once

#include <QObject>

#include <memory>

class HotkeyManager;
class IdleMonitor;
class KeepAwakeManager;
class NotificationCenter;
class OverlayManager;
class PINManager;
class StatusBarController;
class UserDefaults;

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
        UserDefaults &defaults;
        NotificationCenter &notifications;
    };

    // The process-wide managers, taken in the order they must construct.
    explicit AppDelegate(QObject *parent = nullptr);
    explicit AppDelegate(const Managers &managers, QObject *parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    void applicationDidBecomeActive();
    // Always true. Without a visible window, opens the window the onboarding
    // gate calls for.
    bool applicationShouldHandleReopen(bool hasVisibleWindows);

    // The tray icon, from the first step of the launch on.
    [[nodiscard]] StatusBarController *statusBarController() const
    {
        return m_statusBarController.get();
    }

    // Onboarding is complete and a stored PIN can be read back.
    [[nodiscard]] bool isOnboardingGatePassed() const;

    // What the lock hotkey does: never unlocks, never stacks keep-awake periods.
    void handleLockHotkey();

Q_SIGNALS:
    void settingsWindowRequested();
    void onboardingRequested();

private:
    void registerLockHotkey();

    Managers m_managers;
    IdleMonitor *m_idleMonitor = nullptr;
    std::unique_ptr<StatusBarController> m_statusBarController;
    QMetaObject::Connection m_hotkeyObserver;
};
