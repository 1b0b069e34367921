#pragma once

#include <QDateTime>
#include <QString>

// One occurrence of a calendar event: a recurring event yields one of these
// per occurrence, with the start and end of that occurrence.
struct CalendarEvent
{
    enum class Availability {
        Busy,
        // The event does not block the time (TRANSP:TRANSPARENT in iCalendar).
        Free,
    };

    QDateTime start;
    QDateTime end;
    // Empty when the event has no title.
    QString title;
    Availability availability = Availability::Busy;

    bool operator==(const CalendarEvent &) const = default;
};
