#pragma once

#include "core/preferences.h"
#include "core/qmlinstances.h"

#include <QObject>
#include <QProcessEnvironment>
#include <QQmlEngine>

#include <memory>

class ApplicationWindows;
class DesktopAnimations;
class DesktopCapture;
class LockChannel;
class ProcessLister;
class ProcessMonitor;
class RemotePinAuthority;
class ScreenCapture;
class SessionLockClient;
class SessionLockScreen;
class ThemeManager;

// The lock-screen process: it holds the compositor's session lock for the
// application at the other end of its channel, draws the lock screen from the
// same preferences, and sends every typed PIN to the application to judge.
// It leaves when the lock is down, when the compositor ends it, and when the
// application is gone (the compositor keeps the screens covered then).
class LockScreenApplication : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LockScreenApplication)

public:
    struct Options
    {
        int channelDescriptor = -1;
        bool webPagesAllowed = true;
        // For starting the application again.
        QProcessEnvironment sessionEnvironment;
    };

    explicit LockScreenApplication(const Options &options, QObject *parent = nullptr);
    ~LockScreenApplication() override;

private:
    void handle(const QJsonObject &message);
    void lock();
    void unlock();

    Preferences m_preferences;
    std::unique_ptr<LockChannel> m_channel;
    std::unique_ptr<RemotePinAuthority> m_pins;
    std::unique_ptr<ProcessLister> m_processes;
    std::unique_ptr<ApplicationWindows> m_windows;
    std::unique_ptr<DesktopAnimations> m_animations;
    std::unique_ptr<ScreenCapture> m_screenCapture;
    std::unique_ptr<ThemeManager> m_themes;
    std::unique_ptr<DesktopCapture> m_capture;
    std::unique_ptr<ProcessMonitor> m_tasks;
    QmlInstances m_qml;
    QQmlEngine m_engine;
    std::unique_ptr<SessionLockClient> m_client;
    std::unique_ptr<SessionLockScreen> m_lockScreen;
    bool m_lockAsked = false;
    bool m_unlockWhenLocked = false;
    bool m_webPagesAllowed = true;
    QProcessEnvironment m_sessionEnvironment;
};
