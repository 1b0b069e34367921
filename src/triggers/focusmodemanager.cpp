#include "triggers/focusmodemanager.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/focusstate.h"
#include "triggers/locktarget.h"

FocusModeManager::FocusModeManager(FocusState &state, Preferences &defaults, LockTarget &target,
                                   QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_defaults(defaults)
    , m_target(target)
    , m_isEnabled(defaults.boolValue(PreferenceKey::focusModeAutoLock))
{
    if (m_isEnabled)
        startObserving();
}

FocusModeManager::~FocusModeManager()
{
    stopObserving();
}

void FocusModeManager::setEnabled(bool enabled)
{
    m_defaults.setBool(PreferenceKey::focusModeAutoLock, enabled);
    if (m_isEnabled == enabled)
        return;
    m_isEnabled = enabled;
    Q_EMIT isEnabledChanged();
}

void FocusModeManager::startObserving()
{
    stopObserving();
    if (m_isEnabled)
        m_observer = connect(&m_state, &FocusState::stateChanged, this, &FocusModeManager::check);
}

void FocusModeManager::stopObserving()
{
    disconnect(std::exchange(m_observer, {}));
}

bool FocusModeManager::isFocusActive() const
{
    return m_state.isFocusActive();
}

void FocusModeManager::check()
{
    if (!isFocusActive()) {
        m_wasLockedByFocus = false;
        return;
    }
    if (m_wasLockedByFocus || m_target.isLocked())
        return;
    m_wasLockedByFocus = true;
    m_target.lock();
}
