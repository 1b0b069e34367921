#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

#include "overlaypanel.h"

class CrashGuard;
class DesktopAnimations;
class DesktopCapture;
class KeepAwakeManager;
class LockWindowGuard;
class NotificationCenter;
class PINManager;
class ProcessMonitor;
class QQmlEngine;
class QScreen;
class SoundPlayer;
class ThemeManager;
class UserDefaults;

// Raises and lowers the lock. While locked every screen is covered by its own
// panel, screens that appear are covered at once, and every key typed goes to
// the unlock flow of the focus panel.
class OverlayManager : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OverlayManager)
    Q_PROPERTY(bool isOverlayActive READ isOverlayActive NOTIFY overlayActiveChanged)

public:
    struct Services
    {
        KeepAwakeManager &keepAwake;
        PINManager &pins;
        UserDefaults &defaults;
        NotificationCenter &notifications;
        LockWindowGuard &guard;
        SoundPlayer &sounds;
        CrashGuard &crashGuard;
        ThemeManager &themes;
        // Asked for only when a lock screen is built: the task monitor starts
        // after launch, not with the overlay.
        std::function<ProcessMonitor &()> tasks;
        DesktopAnimations &animations;
        DesktopCapture &capture;
    };

    explicit OverlayManager(const Services &services, QObject *parent = nullptr);
    ~OverlayManager() override;

    static OverlayManager &shared();

    [[nodiscard]] bool isOverlayActive() const { return m_active; }
    [[nodiscard]] QList<OverlayPanel *> overlayPanels() const;
    [[nodiscard]] OverlayPanel *focusPanel() const { return m_focusPanel; }

    // Development aid: ordinary windows, no grabs.
    void setWindowed(bool windowed) { m_windowed = windowed; }

    void activate();
    void deactivate();
    // What every trigger runs: keep the machine awake, then raise the lock.
    // Does nothing while the lock is up.
    void lock();
    // After a crash: the lock is up again; the guard that covered the screens
    // meanwhile is told to stand down and its input grabs are taken over at
    // once, so no key typed during the hand-over reaches another window.
    void takeOverFromCrashGuard(const std::function<void()> &relieveGuard);

Q_SIGNALS:
    void overlayActiveChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addPanel(QScreen *screen);
    void createPanel(QScreen *screen);
    void removePanel(QScreen *screen);
    void engageGuard();
    [[nodiscard]] QQmlEngine *engine();

    Services m_services;
    bool m_active = false;
    bool m_windowed = false;
    QList<QPointer<OverlayPanel>> m_panels;
    QPointer<OverlayPanel> m_focusPanel;
    QQmlEngine *m_engine = nullptr;
    QList<QMetaObject::Connection> m_screenConnections;
};
