#pragma once

#include "platform/calendarevent.h"

#include <QList>
#include <QObject>

#include <functional>

// The user's calendars: the events that overlap a window of time, and whether
// the application may read them at all.
class CalendarStore : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CalendarStore)

public:
    explicit CalendarStore(QObject *parent = nullptr)
        : QObject(parent)
    {}
    ~CalendarStore() override = default;

    // True when events can be read (full access to events).
    [[nodiscard]] virtual bool hasFullAccess() const = 0;

    // Asks for full access. The answer comes later on the main thread, and
    // only while context still exists.
    virtual void requestFullAccess(const QObject *context,
                                   std::function<void(bool granted)> completion) = 0;

    // Every event occurrence with start < to and end > from, in a stable
    // order. Answers from what is already known and never blocks on I/O.
    [[nodiscard]] virtual QList<CalendarEvent> events(const QDateTime &from,
                                                      const QDateTime &to) const = 0;

Q_SIGNALS:
    // hasFullAccess() changed by itself, without a request.
    void accessChanged();
};
