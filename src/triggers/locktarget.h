#pragma once

#include <QString>

#include <functional>

// How a trigger reaches the lock. The triggers sit below the overlay in the
// library stack, so the application hands them the overlay's operations.
class LockTarget
{
public:
    LockTarget() = default;
    LockTarget(std::function<bool()> isLocked, std::function<void()> lock);

    void set(std::function<bool()> isLocked, std::function<void()> lock);
    // Why the lock may not be raised now, for the user; empty when it may.
    void setRefusal(std::function<QString()> refusal) { m_refusal = std::move(refusal); }

    // False until the application has filled in the target.
    [[nodiscard]] bool isLocked() const;
    // The standard lock sequence: keep awake, then raise the lock. Does nothing
    // while locked, and nothing but a warning before the target is filled in.
    // A refused lock is skipped; the reason is logged once, not at every tick
    // of every trigger, until a lock goes up or the reason changes.
    void lock() const;

private:
    std::function<bool()> m_isLocked;
    std::function<void()> m_lock;
    std::function<QString()> m_refusal;
    mutable QString m_loggedRefusal;
};
