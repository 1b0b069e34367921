#pragma once

#include "powerassertions.h"

#include <QList>

// Grants every assertion unless told to refuse a kind, and remembers what was
// asked so tests can check that nothing stays held.
class FakePowerAssertions : public PowerAssertions
{
public:
    struct Creation
    {
        Kind kind;
        QString name;
        Id id; // 0 when refused
    };

    [[nodiscard]] std::optional<Id> create(Kind kind, const QString &name) override;
    void release(Id id) override;

    void setRefused(Kind kind, bool refused = true);

    [[nodiscard]] const QList<Creation> &creations() const { return m_creations; }
    [[nodiscard]] const QList<Id> &releases() const { return m_releases; }
    // Granted and not yet released, in the order they were granted.
    [[nodiscard]] QList<Id> held() const;
    [[nodiscard]] bool isHeld(Kind kind) const;

private:
    QList<Creation> m_creations;
    QList<Id> m_releases;
    bool m_refuseDisplay = false;
    bool m_refuseSystem = false;
    Id m_nextId = 1;
};
