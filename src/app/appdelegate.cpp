#include "app/appdelegate.h"

#include "core/notificationcenter.h"
#include "core/notificationnames.h"
#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "integrations/cloudsyncmanager.h"
#include "integrations/statussyncmanager.h"
#include "integrations/updatechecker.h"
#include "overlay/lockavailability.h"
#include "overlay/overlaymanager.h"
#include "overlay/pinmanager.h"
#include "tasks/processmonitor.h"
#include "tray/trayicon.h"
#include "triggers/calendartambermanager.h"
#include "triggers/focusmodemanager.h"
#include "triggers/hotkeymanager.h"
#include "triggers/idlemonitor.h"
#include "triggers/keepawakemanager.h"
#include "triggers/locktarget.h"
#include "triggers/schedulemanager.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>

#include <chrono>

namespace {
// Late enough that the tray icon and a window opened at launch come first.
constexpr auto lockScreensPreparedAfter = std::chrono::milliseconds(1500);

AppDelegate::Managers sharedManagers()
{
    // Each shared instance constructs on first use, so this order is also the
    // order in which they register their own observers.
    OverlayManager &overlay = OverlayManager::shared();
    KeepAwakeManager &keepAwake = KeepAwakeManager::shared();
    PINManager &pins = PINManager::shared();
    // Status sync and cloud sync come before the calendar; the idle monitor
    // is the delegate's own and is made with it.
    StatusSyncManager::shared();
    CloudSyncManager::shared();
    // Through the triggers' target, which skips a refused lock quietly.
    CalendarTamberManager::shared().setLock({[] { return LockTarget::standard().isLocked(); },
                                             [] {
                                                 LockTarget::standard().lock();
                                             }});
    return {overlay,
            keepAwake,
            pins,
            HotkeyManager::shared(),
            Preferences::standard(),
            NotificationCenter::shared()};
}
} // namespace

AppDelegate::AppDelegate(QObject *parent)
    : AppDelegate(sharedManagers(), parent)
{
    FocusModeManager::shared();
}

AppDelegate::AppDelegate(const Managers &managers, QObject *parent)
    : QObject(parent)
    , m_managers(managers)
{
    // The triggers raise the lock through this, as the hotkey does.
    OverlayManager &overlay = m_managers.overlay;
    LockTarget::standard().set([&overlay] { return overlay.isOverlayActive(); },
                               [&overlay] { overlay.lock(); });
    LockTarget::standard().setRefusal([&overlay] {
        const std::optional<LockRefusal> refusal = overlay.lockRefusal();
        return refusal ? LockAvailability::message(*refusal) : QString();
    });
    m_idleMonitor = new IdleMonitor(m_managers.defaults, LockTarget::standard(), this);
}

AppDelegate::~AppDelegate()
{
    m_managers.hotkey.unregister();
    LockTarget::standard().set({}, {});
    LockTarget::standard().setRefusal({});
}

void AppDelegate::start()
{
    m_trayIcon = std::make_unique<TrayIcon>(TrayIcon::Services{
        m_managers.overlay, m_managers.keepAwake, m_managers.defaults, m_managers.notifications});

    m_trayIcon->setLockHandler([this] { requestLock(); });

    if (!m_background)
        openGatedWindow();

    m_idleMonitor->start();
    UpdateChecker::shared().check();
    if (m_managers.defaults.boolValue(PreferenceKey::cloudSyncEnabled))
        CloudSyncManager::shared().pull();
    // A stored schedule must run from launch, not from the first visit of
    // the Schedule page.
    if (ScheduleManager::hasStoredSchedule(m_managers.defaults))
        ScheduleManager::shared();

    registerLockHotkey();
    m_hotkeyObserver = m_managers.notifications.observe(Notification::hotkeyDidChange, this,
                                                        [this] { registerLockHotkey(); });
    // On the next turn of the event loop, so the window opened above comes
    // first; creating the monitor starts its polling.
    QTimer::singleShot(0, this, [] { ProcessMonitor::shared(); });
    // The lock screens are built once, hidden, when the launch has settled:
    // the first lock then only shows them, like every later one.
    QTimer::singleShot(lockScreensPreparedAfter, this,
                       [this] { m_managers.overlay.preparePanels(); });
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    handleActivation();
            });
}

void AppDelegate::handleActivation()
{
    registerLockHotkey();
    if (m_trayIcon)
        m_trayIcon->handleActivation();
}

bool AppDelegate::reopen(bool hasVisibleWindows)
{
    if (!hasVisibleWindows)
        openGatedWindow();
    return true;
}

void AppDelegate::openGatedWindow()
{
    // Onboarding done but no PIN decodes (deleted to get back in, or
    // damaged): the Security page, since without it nothing could lock again.
    if (isOnboardingGatePassed())
        Q_EMIT settingsWindowRequested();
    else if (!m_managers.defaults.boolValue(PreferenceKey::hasCompletedOnboarding))
        Q_EMIT onboardingRequested(false);
    else
        Q_EMIT securityPageRequested();
}

bool AppDelegate::isOnboardingGatePassed() const
{
    return m_managers.defaults.boolValue(PreferenceKey::hasCompletedOnboarding) &&
           m_managers.pins.hasPIN();
}

void AppDelegate::requestLock()
{
    const std::optional<LockRefusal> refusal = m_managers.overlay.lock();
    if (!refusal)
        return;
    if (*refusal != LockRefusal::noPIN)
        Q_EMIT lockRefused(LockAvailability::message(*refusal));
    else if (m_managers.defaults.boolValue(PreferenceKey::hasCompletedOnboarding))
        Q_EMIT securityPageRequested();
    else
        Q_EMIT onboardingRequested(true);
}

void AppDelegate::registerLockHotkey()
{
    QPointer<AppDelegate> self(this);
    m_managers.hotkey.registerHandler([self] {
        if (self)
            self->requestLock();
    });
}
