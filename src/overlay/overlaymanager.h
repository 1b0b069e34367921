#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <optional>

#include "overlay/lockavailability.h"
#include "overlay/overlaypanel.h"

class CrashGuard;
class DesktopAnimations;
class DesktopCapture;
class KeepAwakeManager;
class LockScreenProcess;
class LockWindowGuard;
class PINManager;
class Preferences;
class ProcessMonitor;
class QmlInstances;
class QQmlEngine;
class QScreen;
class SoundPlayer;
class ThemeManager;

// Raises and lowers the lock. While locked every screen is covered by its own
// panel, screens that appear are covered at once, and every key typed goes to
// the unlock flow of the focus panel. Panels outlive the lock they were built
// for: unlocking hides them and the next lock shows them again, so neither
// waits for a lock screen to be built or torn down.
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
        Preferences &defaults;
        LockWindowGuard &guard;
        SoundPlayer &sounds;
        CrashGuard &crashGuard;
        ThemeManager &themes;
        // Asked for only when a lock screen is built: the task monitor starts
        // after launch, not with the overlay.
        std::function<ProcessMonitor &()> tasks;
        DesktopAnimations &animations;
        DesktopCapture &capture;
        // What the lock screen's QML reaches as singletons.
        const QmlInstances &qml;
    };

    explicit OverlayManager(const Services &services, QObject *parent = nullptr);
    ~OverlayManager() override;

    [[nodiscard]] bool isOverlayActive() const { return m_active; }
    // The panels covering the screens; none while unlocked.
    [[nodiscard]] QList<OverlayPanel *> overlayPanels() const;
    // Every panel built, shown or kept hidden for the next lock.
    [[nodiscard]] QList<OverlayPanel *> builtPanels() const;
    [[nodiscard]] OverlayPanel *focusPanel() const { return m_focusPanel; }
    // False while locked without the keyboard: another application holds it,
    // or the lock lost its grab and has not yet taken it back.
    [[nodiscard]] bool isInputHeld() const;

    // Why the lock may not be raised now; nothing when it may.
    [[nodiscard]] std::optional<LockRefusal> lockRefusal() const;
    // A Wayland session offers no lock this process can hold; the application
    // reads it from the environment.
    void setWaylandSession(bool wayland) { m_waylandSession = wayland; }
    // The compositor's session lock, held by a lock-screen process, raises
    // the lock instead of this process's panels: the screens, the keys and a
    // crash of the lock screen are the compositor's to keep.
    // It must outlive this manager.
    void setSessionLock(LockScreenProcess *sessionLock);
    [[nodiscard]] LockScreenProcess *sessionLock() const { return m_sessionLock; }

    // Development aid: ordinary windows, no grabs.
    // Panels built the other way are dropped and built anew at the next lock.
    void setWindowed(bool windowed);

    // Builds the panels of screens that have none, hidden, so that the first
    // lock shows ready windows too. Does nothing while locked.
    void preparePanels();
    // Raises nothing while the lock is refused (see lockRefusal()).
    void activate();
    void deactivate();
    // What every trigger runs: keep the machine awake, then raise the lock.
    // Does nothing while the lock is up. When the lock is refused nothing
    // changes (no keep-awake period either) and the reason is returned.
    std::optional<LockRefusal> lock();
    // After a crash: the lock is up again (unless it is refused now); the guard that covered the
    // screens meanwhile is told to stand down and its input grabs are taken over at once, so no key
    // typed during the hand-over reaches another window.
    void takeOverFromCrashGuard(const std::function<void()> &relieveGuard);

Q_SIGNALS:
    void overlayActiveChanged();
    // A lock asked of the compositor did not come up; `reason` says why.
    void lockFailed(const QString &reason);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addPanel(QScreen *screen);
    OverlayPanel *createPanel(QScreen *screen);
    [[nodiscard]] OverlayPanel *panelFor(QScreen *screen) const;
    void showPanel(OverlayPanel *panel);
    void removePanel(QScreen *screen);
    void unlockFrom(OverlayPanel *panel);
    void trimHeap();
    void engageGuard();
    [[nodiscard]] QQmlEngine *engine();

    Services m_services;
    bool m_active = false;
    bool m_windowed = false;
    bool m_waylandSession = false;
    LockScreenProcess *m_sessionLock = nullptr;
    QList<QPointer<OverlayPanel>> m_panels;
    QPointer<OverlayPanel> m_focusPanel;
    QQmlEngine *m_engine = nullptr;
    QMetaObject::Connection m_screenAdded;
    QTimer m_heapTrim;
};
