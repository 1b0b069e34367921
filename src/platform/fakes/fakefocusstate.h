#pragma once

#include "platform/focusstate.h"

// Do Not Disturb as the test sets it; a change is reported only when the test
// says so, as the desktop reports it.
class FakeFocusState : public FocusState
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeFocusState)

public:
    using FocusState::FocusState;

    [[nodiscard]] bool isFocusActive() const override { return m_isActive; }

    // Sets the state without telling anyone.
    void setActive(bool active) { m_isActive = active; }
    // Sets the state and reports the change.
    void change(bool active)
    {
        m_isActive = active;
        Q_EMIT stateChanged();
    }

private:
    bool m_isActive = false;
};
