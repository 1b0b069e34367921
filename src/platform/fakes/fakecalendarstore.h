#pragma once

#include "platform/calendarstore.h"

#include <QPointer>

// Hands out the events a test sets, in the order it set them, filtered by the
// window asked for. Access requests wait until the test answers them.
class FakeCalendarStore : public CalendarStore
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeCalendarStore)

public:
    struct Query
    {
        QDateTime from;
        QDateTime to;
    };

    explicit FakeCalendarStore(QObject *parent = nullptr);
    ~FakeCalendarStore() override;

    [[nodiscard]] bool hasFullAccess() const override { return m_hasFullAccess; }
    void requestFullAccess(const QObject *context,
                           std::function<void(bool granted)> completion) override;
    [[nodiscard]] QList<CalendarEvent> events(const QDateTime &from,
                                              const QDateTime &to) const override;

    // Changes the status without emitting accessChanged().
    void setFullAccess(bool granted) { m_hasFullAccess = granted; }
    // Changes the status as the user would from outside: emits accessChanged().
    void changeAccess(bool granted);
    void setEvents(const QList<CalendarEvent> &events) { m_events = events; }

    [[nodiscard]] qsizetype pendingRequests() const { return m_pending.size(); }
    // Answers every pending request; a grant also sets the status.
    void answerRequests(bool granted);

    [[nodiscard]] const QList<Query> &queries() const { return m_queries; }

private:
    struct Request
    {
        QPointer<const QObject> context;
        std::function<void(bool)> completion;
    };

    bool m_hasFullAccess = false;
    QList<CalendarEvent> m_events;
    QList<Request> m_pending;
    mutable QList<Query> m_queries;
};
