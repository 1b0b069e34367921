#include "app/vostrelapplication.h"

#include "app/platformbackends.h"
#include "app/startupcontroller.h"
#include "core/preferencekeys.h"
#include "integrations/automationactions.h"
#include "integrations/cloudsyncmanager.h"
#include "integrations/serviceendpoints.h"
#include "integrations/statussyncmanager.h"
#include "integrations/updatechecker.h"
#include "overlay/lockavailability.h"
#include "overlay/lockscreenprocess.h"
#include "overlay/overlaymanager.h"
#include "overlay/pinmanager.h"
#include "platform/calendarstore.h"
#include "platform/colorschemesource.h"
#include "platform/crashguard.h"
#include "platform/focusstate.h"
#include "platform/keyvaluestore.h"
#include "platform/linux/dbusautomationservice.h"
#include "platform/linux/desktopnotifier.h"
#include "platform/lockwindowguard.h"
#include "platform/loginitem.h"
#include "platform/powerassertions.h"
#include "settings/onboardingwindowcontroller.h"
#include "settings/settingsnavigation.h"
#include "settings/settingswindowcontroller.h"
#include "tasks/processmonitor.h"
#include "themes/desktopcapture.h"
#include "themes/thememanager.h"
#include "tray/trayicon.h"
#include "triggers/calendartambermanager.h"
#include "triggers/focusmodemanager.h"
#include "triggers/hotkeymanager.h"
#include "triggers/idlemonitor.h"
#include "triggers/keepawakemanager.h"
#include "triggers/schedulemanager.h"

#include <QGuiApplication>
#include <QTimer>

#include <chrono>

namespace {
// Late enough that the tray icon and a window opened at start come first.
constexpr auto lockScreensPreparedAfter = std::chrono::milliseconds(1500);
} // namespace

VostrelApplication::VostrelApplication(const Options &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_preferences(Preferences::standardFilePath())
    , m_platform(createPlatformBackends(m_preferences, m_network))
{
    PlatformBackends &platform = *m_platform;
    m_themes = std::make_unique<ThemeManager>(m_preferences);
    m_capture = std::make_unique<DesktopCapture>(*platform.screenCapture);
    m_keepAwake = std::make_unique<KeepAwakeManager>(*platform.power);
    m_pins = std::make_unique<PINManager>(m_preferences, *platform.fingerprints);
    m_overlay = std::make_unique<OverlayManager>(OverlayManager::Services{
        *m_keepAwake, *m_pins, m_preferences, *platform.lockGuard, *platform.sounds,
        *platform.crashGuard, *m_themes, [this]() -> ProcessMonitor & { return tasks(); },
        *platform.animations, *m_capture, m_qml});
    m_overlay->setWaylandSession(platform.waylandSession);
    if (platform.sessionLockOffered) {
        m_sessionLock = std::make_unique<LockScreenProcess>(*m_pins, platform.lockScreenProgram);
        m_overlay->setSessionLock(m_sessionLock.get());
    }
    m_overlay->setWindowed(options.windowed);

    // The triggers raise the lock as the hotkey does, and skip a refused one.
    m_lockTarget.set([this] { return m_overlay->isOverlayActive(); },
                     [this] { m_overlay->lock(); });
    m_lockTarget.setRefusal([this] {
        const std::optional<LockRefusal> refusal = m_overlay->lockRefusal();
        return refusal ? LockAvailability::message(*refusal) : QString();
    });

    m_statusSync = std::make_unique<StatusSyncManager>(m_preferences, m_network);
    m_cloudSync = std::make_unique<CloudSyncManager>(*platform.syncStore, m_preferences, *m_themes);
    m_calendar =
        std::make_unique<CalendarTamberManager>(*platform.calendars, m_preferences, m_lockTarget);
    m_hotkey = std::make_unique<HotkeyManager>(m_preferences, *platform.keyGrabber);
    m_focus = std::make_unique<FocusModeManager>(*platform.focus, m_preferences, m_lockTarget);
    m_idle = std::make_unique<IdleMonitor>(*platform.idleTime, m_preferences, m_lockTarget);
    m_schedule = std::make_unique<ScheduleManager>(m_preferences, m_lockTarget);
    m_updates = std::make_unique<UpdateChecker>(m_network, ServiceEndpoints::bundleVersion(),
                                                ServiceEndpoints::updateFeedURL());

    m_navigation = std::make_unique<SettingsNavigation>();
    m_settingsWindow =
        std::make_unique<SettingsWindowController>(SettingsWindowController::Services{
            m_preferences, *platform.colorScheme, *m_navigation, m_qml});
    m_onboarding =
        std::make_unique<OnboardingWindowController>(OnboardingWindowController::Services{
            m_preferences, *m_themes, *platform.colorScheme, m_qml});
    m_startup = std::make_unique<StartupController>(
        StartupController::Managers{*m_overlay, *m_pins, *m_hotkey, m_preferences});
    m_startup->setLaunchedInBackground(options.background);
    m_notifier = std::make_unique<DesktopNotifier>();

    m_automation = std::make_unique<AutomationActions>(
        *m_overlay, *m_pins, *m_keepAwake, [this]() -> ProcessMonitor & { return tasks(); });
    m_automation->setReopenHandler([this] { m_startup->reopen(hasVisibleWindows()); });
    m_automationService = std::make_unique<DBusAutomationService>(*m_automation);

    // What QML reaches as singletons and through the settings pages.
    m_qml.add(m_preferences);
    m_qml.add(*m_themes);
    m_qml.add(*m_capture);
    m_qml.add(*m_pins);
    m_qml.add(*m_overlay);
    m_qml.add(std::function<ProcessMonitor &()>([this]() -> ProcessMonitor & { return tasks(); }));
    m_qml.add(*m_cloudSync);
    m_qml.add(*m_calendar);
    m_qml.add(*m_focus);
    m_qml.add(*m_hotkey);
    m_qml.add(*m_schedule);
    m_qml.add(*m_updates);
    m_qml.add(*m_navigation);
    m_qml.add(*platform.loginItem);

    connectParts();
}

// In reverse order of making: whatever uses another part goes before it.
VostrelApplication::~VostrelApplication() = default;

void VostrelApplication::connectParts()
{
    // `vostrel defaults write` and the settings sync write behind our back;
    // the lock screen follows them, even while it is up.
    m_preferences.watchForChangesOnDisk();
    connect(&m_preferences, &Preferences::changedOnDisk, m_themes.get(), &ThemeManager::reload);

    connect(m_overlay.get(), &OverlayManager::overlayActiveChanged, this, [this] {
        if (m_overlay->isOverlayActive())
            m_statusSync->overlayDidActivate();
        else
            m_statusSync->overlayDidDeactivate();
    });

    connect(m_startup.get(), &StartupController::settingsWindowRequested, this,
            [this] { m_settingsWindow->show(SettingsPage::general); });
    connect(m_startup.get(), &StartupController::onboardingRequested, this,
            [this](bool pinNeeded) { m_onboarding->show(pinNeeded); });
    connect(m_startup.get(), &StartupController::securityPageRequested, this,
            [this] { m_settingsWindow->show(SettingsPage::security); });
    connect(m_startup.get(), &StartupController::lockRefused, this, [this](const QString &message) {
        m_notifier->show(QStringLiteral("Vostrel"), message);
    });
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    return;
                m_startup->applicationActivated();
                if (m_tray)
                    m_tray->applicationActivated();
            });
}

void VostrelApplication::start()
{
    m_tray =
        std::make_unique<TrayIcon>(TrayIcon::Services{*m_overlay, *m_keepAwake, m_preferences});
    m_tray->setLockHandler([this] { m_startup->requestLock(); });
    m_tray->setSettingsOpener([this](TrayModel::SettingsPage page) {
        m_settingsWindow->show(page == TrayModel::SettingsPage::About ? SettingsPage::about
                                                                      : SettingsPage::general);
    });

    m_startup->start();
    m_idle->start();
    m_updates->check();
    if (m_preferences.boolValue(PreferenceKey::cloudSyncEnabled))
        m_cloudSync->pull();

    // On the next turn of the event loop, so the window opened above comes
    // first; making the monitor starts its polling.
    QTimer::singleShot(0, this, [this] { static_cast<void>(tasks()); });
    // The lock screens are built once, hidden, when the start has settled:
    // the first lock then only shows them, like every later one.
    QTimer::singleShot(lockScreensPreparedAfter, this, [this] { m_overlay->preparePanels(); });
}

ProcessMonitor &VostrelApplication::tasks()
{
    if (!m_tasks)
        m_tasks = std::make_unique<ProcessMonitor>(*m_platform->processes, *m_platform->windows);
    return *m_tasks;
}

bool VostrelApplication::hasVisibleWindows() const
{
    // Our own windows only: an XEmbed tray icon and the tray panel are
    // top-level windows too, and must not stop a relaunch from reopening.
    return m_settingsWindow->isVisible() || m_onboarding->isVisible() ||
           m_overlay->isOverlayActive();
}
