#pragma once

#include "platform/powerassertions.h"

#include <QList>

// Leaves every request pending until the test calls settle(), which answers
// them the way the test chose: granted unless refusal of that kind was asked
// for. Remembers everything, so tests can check that nothing stays held.
class FakePowerAssertions : public PowerAssertions
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakePowerAssertions)

public:
    enum class State { Pending, Granted, Refused, Withdrawn, Released };

    struct Request
    {
        Kind kind;
        QString name;
        Id id;
        State state;
    };

    using PowerAssertions::PowerAssertions;

    [[nodiscard]] Id request(Kind kind, const QString &name) override;
    void release(Id id) override;

    void setRefused(Kind kind, bool refused = true);
    // Answers every pending request of `kind`, or of both kinds.
    void settle();
    void settle(Kind kind);

    [[nodiscard]] const QList<Request> &requests() const { return m_requests; }
    [[nodiscard]] QList<Id> pending() const;
    // Granted and not yet released, in the order they were asked for.
    [[nodiscard]] QList<Id> held() const;
    [[nodiscard]] bool isHeld(Kind kind) const;

private:
    QList<Request> m_requests;
    bool m_refuseDisplay = false;
    bool m_refuseSystem = false;
};
