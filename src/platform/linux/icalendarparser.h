#pragma once

#include "calendarevent.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimeZone>

// Turns the text of an iCalendar file into the event occurrences that overlap
// a window of time: recurrences expanded (RRULE, RDATE, EXDATE, and
// RECURRENCE-ID overrides), times resolved through the file's VTIMEZONEs (or
// the system's zone database for a TZID without one), floating times and
// all-day dates taken in the user's local zone. Cancelled events are left out.
//
// Pure and reentrant: it may run on any thread. Every use of libical is
// serialised inside, since the library keeps some global state.
class ICalendarParser
{
public:
    struct Result
    {
        // False when the text is not a complete iCalendar object; events is
        // then empty, never a partial guess.
        bool isValid = false;
        QString error;
        // Sorted by start, in UTC.
        QList<CalendarEvent> events;
    };

    // No single recurring event yields more occurrences than this per
    // expansion, so a rule repeating every second cannot stall the parser.
    static constexpr int maximumIterations = 200000;

    // Cheap checks a download or file must pass before it replaces a good
    // copy: text without NUL bytes, opening with BEGIN:VCALENDAR and closing
    // with END:VCALENDAR (so a truncated transfer is refused). Returns the
    // reason for refusing, or an empty string.
    [[nodiscard]] static QString structuralError(const QByteArray &text);

    [[nodiscard]] static Result parse(const QByteArray &text, const QDateTime &from,
                                      const QDateTime &to,
                                      const QTimeZone &localZone = QTimeZone::systemTimeZone());
};
