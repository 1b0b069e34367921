#include "appdelegate.h"

#include "hotkeymanager.h"
#include "keepawakemanager.h"
#include "notificationcenter.h"
#include "notificationnames.h"
#include "overlaymanager.h"
#include "pinmanager.h"
#include "preferencekeys.h"
#include "statusbarcontroller.h"
#include "userdefaults.h"

#include <QGuiApplication>
#include <QPointer>

namespace {
AppDelegate::Managers sharedManagers()
{
    // Each shared instance constructs on first use, so this order is also the
    // order in which they register their own observers.
    OverlayManager &overlay = OverlayManager::shared();
    KeepAwakeManager &keepAwake = KeepAwakeManager::shared();
    PINManager &pins = PINManager::shared();
    return {overlay,
            keepAwake,
            pins,
            HotkeyManager::shared(),
            UserDefaults::standard(),
            NotificationCenter::shared()};
}
} // namespace

AppDelegate::AppDelegate(QObject *parent)
    : AppDelegate(sharedManagers(), parent)
{}

AppDelegate::AppDelegate(const Managers &managers, QObject *parent)
    : QObject(parent)
    , m_managers(managers)
{}

AppDelegate::~AppDelegate()
{
    m_managers.hotkey.unregister();
}

void AppDelegate::applicationDidFinishLaunching()
{
    m_statusBarController = std::make_unique<StatusBarController>(StatusBarController::Services{
        m_managers.overlay, m_managers.keepAwake, m_managers.defaults, m_managers.notifications});

    if (isOnboardingGatePassed())
        Q_EMIT settingsWindowRequested();
    else if (!m_managers.defaults.boolValue(PreferenceKey::hasCompletedOnboarding))
        Q_EMIT onboardingRequested();

    registerLockHotkey();
    m_hotkeyObserver = m_managers.notifications.observe(Notification::hotkeyDidChange, this,
                                                        [this] { registerLockHotkey(); });
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    applicationDidBecomeActive();
            });
}

void AppDelegate::applicationDidBecomeActive()
{
    registerLockHotkey();
    if (m_statusBarController)
        m_statusBarController->applicationDidBecomeActive();
}

bool AppDelegate::applicationShouldHandleReopen(bool hasVisibleWindows)
{
    if (hasVisibleWindows)
        return true;
    if (isOnboardingGatePassed())
        Q_EMIT settingsWindowRequested();
    else if (!m_managers.defaults.boolValue(PreferenceKey::hasCompletedOnboarding))
        Q_EMIT onboardingRequested();
    return true;
}

bool AppDelegate::isOnboardingGatePassed() const
{
    return m_managers.defaults.boolValue(PreferenceKey::hasCompletedOnboarding) &&
           m_managers.pins.hasPIN();
}

void AppDelegate::handleLockHotkey()
{
    m_managers.overlay.lock();
}

void AppDelegate::registerLockHotkey()
{
    QPointer<AppDelegate> self(this);
    m_managers.hotkey.registerHandler([self] {
        if (self)
            self->handleLockHotkey();
    });
}
