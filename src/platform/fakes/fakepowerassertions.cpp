#include "platform/fakes/fakepowerassertions.h"

PowerAssertions::Id FakePowerAssertions::request(Kind kind, const QString &name)
{
    const Id id = Id(m_requests.size() + 1);
    m_requests.append({kind, name, id, State::Pending});
    return id;
}

void FakePowerAssertions::release(Id id)
{
    for (Request &request : m_requests) {
        if (request.id != id)
            continue;
        if (request.state == State::Pending)
            request.state = State::Withdrawn;
        else if (request.state == State::Granted)
            request.state = State::Released;
    }
}

void FakePowerAssertions::setRefused(Kind kind, bool refused)
{
    (kind == Kind::Display ? m_refuseDisplay : m_refuseSystem) = refused;
}

void FakePowerAssertions::settle()
{
    settle(Kind::Display);
    settle(Kind::System);
}

void FakePowerAssertions::settle(Kind kind)
{
    const bool refuse = kind == Kind::Display ? m_refuseDisplay : m_refuseSystem;
    // By index: a receiver may ask again while it hears the answer.
    for (qsizetype i = 0; i < m_requests.size(); ++i) {
        if (m_requests.at(i).kind != kind || m_requests.at(i).state != State::Pending)
            continue;
        m_requests[i].state = refuse ? State::Refused : State::Granted;
        const Id id = m_requests.at(i).id;
        if (refuse)
            Q_EMIT refused(id, kind == Kind::Display ? QStringLiteral("no screen saver")
                                                     : QStringLiteral("no logind"));
        else
            Q_EMIT granted(id);
    }
}

QList<PowerAssertions::Id> FakePowerAssertions::pending() const
{
    QList<Id> ids;
    for (const Request &request : m_requests) {
        if (request.state == State::Pending)
            ids.append(request.id);
    }
    return ids;
}

QList<PowerAssertions::Id> FakePowerAssertions::held() const
{
    QList<Id> ids;
    for (const Request &request : m_requests) {
        if (request.state == State::Granted)
            ids.append(request.id);
    }
    return ids;
}

bool FakePowerAssertions::isHeld(Kind kind) const
{
    for (const Request &request : m_requests) {
        if (request.kind == kind && request.state == State::Granted)
            return true;
    }
    return false;
}
