#include "platform/fakes/fakecalendarstore.h"

FakeCalendarStore::FakeCalendarStore(QObject *parent)
    : CalendarStore(parent)
{}

FakeCalendarStore::~FakeCalendarStore() = default;

void FakeCalendarStore::requestFullAccess(const QObject *context,
                                          std::function<void(bool)> completion)
{
    m_pending.append({context, std::move(completion)});
}

QList<CalendarEvent> FakeCalendarStore::events(const QDateTime &from, const QDateTime &to) const
{
    m_queries.append({from, to});
    QList<CalendarEvent> overlapping;
    for (const CalendarEvent &event : m_events) {
        if (event.start < to && event.end > from)
            overlapping.append(event);
    }
    return overlapping;
}

void FakeCalendarStore::changeAccess(bool granted)
{
    m_hasFullAccess = granted;
    Q_EMIT accessChanged();
}

void FakeCalendarStore::answerRequests(bool granted)
{
    if (granted)
        m_hasFullAccess = true;
    const QList<Request> pending = std::exchange(m_pending, {});
    for (const Request &request : pending) {
        if (request.context)
            request.completion(granted);
    }
}
