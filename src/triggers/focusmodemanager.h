#pragma once

#include <QObject>

class FocusState;
class LockTarget;
class Preferences;

// Raises the lock when the desktop's Do Not Disturb turns on, once per period:
// after an unlock while it stays on, nothing happens until a change finds it
// off. Nothing is checked when observing begins, so a Do Not Disturb that is
// already on is noticed only at its next change. Its end never lowers the lock.
class FocusModeManager : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FocusModeManager)
    Q_PROPERTY(bool isEnabled READ isEnabled WRITE setEnabled NOTIFY isEnabledChanged)

public:
    // Reads "focusModeAutoLock" and observes when it is on.
    explicit FocusModeManager(FocusState &state, Preferences &defaults, LockTarget &target,
                              QObject *parent = nullptr);
    ~FocusModeManager() override;

    [[nodiscard]] bool isEnabled() const { return m_isEnabled; }
    // Stores the choice; observing follows startObserving()/stopObserving().
    void setEnabled(bool enabled);

    // Replaces any earlier observation; observes only while enabled.
    Q_INVOKABLE void startObserving();
    Q_INVOKABLE void stopObserving();
    [[nodiscard]] bool isObserving() const { return bool(m_observer); }

    [[nodiscard]] bool isFocusActive() const;
    [[nodiscard]] bool wasLockedByFocus() const { return m_wasLockedByFocus; }

    // What each reported change runs; public so tests can run it.
    void check();

Q_SIGNALS:
    void isEnabledChanged();

private:
    FocusState &m_state;
    Preferences &m_defaults;
    LockTarget &m_target;
    QMetaObject::Connection m_observer;
    bool m_isEnabled = false;
    bool m_wasLockedByFocus = false;
};
