#include "triggers/locktarget.h"

#include "triggers/triggerslog.h"

LockTarget::LockTarget(std::function<bool()> isLocked, std::function<void()> lock)
    : m_isLocked(std::move(isLocked))
    , m_lock(std::move(lock))
{}

void LockTarget::set(std::function<bool()> isLocked, std::function<void()> lock)
{
    m_isLocked = std::move(isLocked);
    m_lock = std::move(lock);
}

bool LockTarget::isLocked() const
{
    return m_isLocked && m_isLocked();
}

void LockTarget::lock() const
{
    if (!m_lock) {
        qCWarning(lcTriggers) << "a trigger fired before the lock was wired up; ignored";
        return;
    }
    if (isLocked())
        return;
    const QString refusal = m_refusal ? m_refusal() : QString();
    if (!refusal.isEmpty()) {
        if (refusal != m_loggedRefusal)
            qCWarning(lcTriggers).noquote() << "not locking:" << refusal;
        m_loggedRefusal = refusal;
        return;
    }
    m_loggedRefusal.clear();
    m_lock();
}
