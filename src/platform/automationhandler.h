#pragma once

#include <QString>

#include <functional>

// What scripts, keyboard shortcuts and launchers may ask of the running
// application. The transport (D-Bus on Linux) calls into this.
class AutomationHandler
{
public:
    virtual ~AutomationHandler() = default;

    // An action that can be refused returns why, in words for the user, and
    // an empty text when it was done. The transport turns a refusal into an
    // error reply, so a script sees that nothing happened.
    // Raises the lock, or does nothing and says why it may not. `answer` is
    // called once: with nothing when the lock is up, with the reason when it
    // will not come up. Where the compositor holds the lock that may be a
    // moment after lockScreen() returns, once it has confirmed or refused.
    virtual void lockScreen(std::function<void(const QString &refusal)> answer) = 0;
    // True when the PIN was accepted and the lock lowered.
    virtual bool unlockScreen(const QString &pin) = 0;
    // Less than one minute means without limit. `answer` is called once, with
    // nothing when the machine is kept awake and the reason when it is not;
    // it may come before keepAwake() returns or once the desktop has decided.
    virtual void keepAwake(int minutes, std::function<void(const QString &refusal)> answer) = 0;
    virtual void stopKeepAwake() = 0;
    [[nodiscard]] virtual QString status() const = 0;
    // The application was started again, or its launcher clicked.
    virtual void reopen() = 0;
};
