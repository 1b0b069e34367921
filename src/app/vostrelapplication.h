#pragma once

#include "core/preferences.h"
#include "core/qmlinstances.h"
#include "triggers/locktarget.h"

#include <QNetworkAccessManager>
#include <QObject>

#include <memory>

class AutomationActions;
class CalendarTamberManager;
class CloudSyncManager;
class DBusAutomationService;
class DesktopCapture;
class DesktopNotifier;
class FocusModeManager;
class HotkeyManager;
class IdleMonitor;
class KeepAwakeManager;
class LockScreenProcess;
class OnboardingWindowController;
class OverlayManager;
class PINManager;
class ProcessMonitor;
class ScheduleManager;
class SettingsNavigation;
class SettingsWindowController;
class StartupController;
class StatusSyncManager;
class ThemeManager;
class TrayIcon;
class UpdateChecker;
struct PlatformBackends;

// The running application: it makes every manager and backend, owns them
// for as long as it lives (they go, in reverse order, before the
// QApplication does), chooses the platform backends through
// createPlatformBackends() and connects the parts with typed signals.
class VostrelApplication : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VostrelApplication)

public:
    struct Options
    {
        // Development aid: the lock in ordinary windows, without grabs.
        bool windowed = false;
        // Started on demand: the start opens no window.
        bool background = false;
    };

    explicit VostrelApplication(const Options &options, QObject *parent = nullptr);
    ~VostrelApplication() override;

    // Puts the tray icon up, opens the window the start calls for, starts
    // the triggers and the background work.
    void start();

    [[nodiscard]] OverlayManager &overlay() { return *m_overlay; }
    [[nodiscard]] DBusAutomationService &automationService() { return *m_automationService; }

private:
    [[nodiscard]] ProcessMonitor &tasks();
    [[nodiscard]] bool hasVisibleWindows() const;
    void connectParts();

    Options m_options;
    Preferences m_preferences;
    // Before everything that sends requests: a reply may still be pending
    // when its sender goes.
    QNetworkAccessManager m_network;
    std::unique_ptr<PlatformBackends> m_platform;
    LockTarget m_lockTarget;
    QmlInstances m_qml;

    std::unique_ptr<ThemeManager> m_themes;
    std::unique_ptr<DesktopCapture> m_capture;
    std::unique_ptr<KeepAwakeManager> m_keepAwake;
    std::unique_ptr<PINManager> m_pins;
    std::unique_ptr<ProcessMonitor> m_tasks;
    std::unique_ptr<LockScreenProcess> m_sessionLock;
    std::unique_ptr<OverlayManager> m_overlay;
    std::unique_ptr<StatusSyncManager> m_statusSync;
    std::unique_ptr<CloudSyncManager> m_cloudSync;
    std::unique_ptr<CalendarTamberManager> m_calendar;
    std::unique_ptr<HotkeyManager> m_hotkey;
    std::unique_ptr<FocusModeManager> m_focus;
    std::unique_ptr<IdleMonitor> m_idle;
    std::unique_ptr<ScheduleManager> m_schedule;
    std::unique_ptr<UpdateChecker> m_updates;
    std::unique_ptr<SettingsNavigation> m_navigation;
    std::unique_ptr<SettingsWindowController> m_settingsWindow;
    std::unique_ptr<OnboardingWindowController> m_onboarding;
    std::unique_ptr<StartupController> m_startup;
    std::unique_ptr<TrayIcon> m_tray;
    std::unique_ptr<DesktopNotifier> m_notifier;
    std::unique_ptr<AutomationActions> m_automation;
    std::unique_ptr<DBusAutomationService> m_automationService;
};
