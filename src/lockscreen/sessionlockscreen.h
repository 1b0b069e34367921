#pragma once

#include <QObject>
#include <QSize>

#include <memory>
#include <vector>

class DesktopAnimations;
class LockScreenContent;
class OffscreenQuickView;
class PinAuthority;
class Preferences;
class ProcessMonitor;
class QQmlEngine;
class SessionLockClient;
class ThemeManager;
class UnlockFlow;

// The lock screen on the compositor's session lock: one lock surface per
// output, each showing the lock screen drawn offscreen, and the keys going to
// the unlock flow of one of them. The compositor covers every output from the
// moment it confirms the lock until unlock(), whatever becomes of this
// process meanwhile.
class SessionLockScreen : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SessionLockScreen)

public:
    struct Services
    {
        SessionLockClient &client;
        PinAuthority &pins;
        Preferences &defaults;
        ThemeManager &themes;
        ProcessMonitor &tasks;
        DesktopAnimations &animations;
        QQmlEngine &engine;
    };

    explicit SessionLockScreen(const Services &services, QObject *parent = nullptr);
    ~SessionLockScreen() override;

    void lock();
    void unlock();
    // See LockScreenContent::setWebPagesAllowed.
    void setWebPagesAllowed(bool allowed) { m_webPagesAllowed = allowed; }
    [[nodiscard]] bool isLocked() const { return m_locked; }

Q_SIGNALS:
    void locked();
    // The compositor refused the lock or ended it.
    void finished();

private:
    struct Surface;

    void configure(int output, QSize size);
    void remove(int output);
    [[nodiscard]] Surface *surfaceOf(int output) const;
    [[nodiscard]] Surface *focusSurface() const;

    Services m_services;
    std::vector<std::unique_ptr<Surface>> m_surfaces;
    bool m_locked = false;
    bool m_webPagesAllowed = true;
};
