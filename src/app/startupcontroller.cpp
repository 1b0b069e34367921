#include "app/startupcontroller.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "overlay/lockavailability.h"
#include "overlay/overlaymanager.h"
#include "overlay/pinmanager.h"
#include "triggers/hotkeymanager.h"

#include <QPointer>

StartupController::StartupController(const Managers &managers, QObject *parent)
    : QObject(parent)
    , m_managers(managers)
{}

StartupController::~StartupController()
{
    m_managers.hotkey.unregister();
}

void StartupController::start()
{
    if (!m_background)
        openGatedWindow();
    registerLockHotkey();
    connect(&m_managers.hotkey, &HotkeyManager::hotkeyChanged, this,
            &StartupController::registerLockHotkey);
}

void StartupController::applicationActivated()
{
    registerLockHotkey();
}

bool StartupController::reopen(bool hasVisibleWindows)
{
    if (!hasVisibleWindows)
        openGatedWindow();
    return true;
}

void StartupController::openGatedWindow()
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

bool StartupController::isOnboardingGatePassed() const
{
    return m_managers.defaults.boolValue(PreferenceKey::hasCompletedOnboarding) &&
           m_managers.pins.hasPIN();
}

void StartupController::requestLock()
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

void StartupController::registerLockHotkey()
{
    QPointer<StartupController> self(this);
    m_managers.hotkey.registerHandler([self] {
        if (self)
            self->requestLock();
    });
}
