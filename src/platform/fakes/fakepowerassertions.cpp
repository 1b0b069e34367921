#include "fakepowerassertions.h"

std::optional<PowerAssertions::Id> FakePowerAssertions::create(Kind kind, const QString &name)
{
    const bool refused = kind == Kind::Display ? m_refuseDisplay : m_refuseSystem;
    const Id id = refused ? 0 : m_nextId++;
    m_creations.append({kind, name, id});
    if (refused)
        return std::nullopt;
    return id;
}

void FakePowerAssertions::release(Id id)
{
    m_releases.append(id);
}

void FakePowerAssertions::setRefused(Kind kind, bool refused)
{
    (kind == Kind::Display ? m_refuseDisplay : m_refuseSystem) = refused;
}

QList<PowerAssertions::Id> FakePowerAssertions::held() const
{
    QList<Id> ids;
    for (const Creation &creation : m_creations) {
        if (creation.id != 0 && !m_releases.contains(creation.id))
            ids.append(creation.id);
    }
    return ids;
}

bool FakePowerAssertions::isHeld(Kind kind) const
{
    const QList<Id> ids = held();
    for (const Creation &creation : m_creations) {
        if (creation.kind == kind && ids.contains(creation.id))
            return true;
    }
    return false;
}
