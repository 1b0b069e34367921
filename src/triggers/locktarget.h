#pragma once

#include <functional>

// How a trigger reaches the lock. The triggers sit below the overlay in the
// library stack, so the application hands them the overlay's operations.
class LockTarget
{
public:
    LockTarget() = default;
    LockTarget(std::function<bool()> isLocked, std::function<void()> lock);

    // The application's own, filled in at start-up before any trigger runs.
    static LockTarget &standard();

    void set(std::function<bool()> isLocked, std::function<void()> lock);

    // False until the application has filled in the target.
    [[nodiscard]] bool isLocked() const;
    // The standard lock sequence: keep awake, then raise the lock. Does nothing
    // while locked, and nothing but a warning before the target is filled in.
    void lock() const;

private:
    std::function<bool()> m_isLocked;
    std::function<void()> m_lock;
};
