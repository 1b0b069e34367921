#pragma once

#include "platform/calendarevent.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimeZone>

#include <chrono>

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
        // Some recurrence was cut short (the file used up maximumIterations or
        // maximumExpansionTime) or, being one libical cannot step through in
        // bounded time, kept to its first occurrence. The events are then what
        // could be expanded.
        bool isTruncated = false;
    };

    // No file takes more recurrence steps than this per expansion, however
    // many rules it holds, so rules repeating every second cannot stall the
    // parser. Rules without COUNT step from just before the window, so only
    // the occurrences near it count, not every one since DTSTART.
    static constexpr int maximumIterations = 200000;
    // Nor does it spend longer than this on them: libical may take a good part
    // of a second to find that a rule never occurs again (it looks as far as
    // the year 2582), and a file can hold thousands of such rules.
    static constexpr std::chrono::milliseconds maximumExpansionTime{2000};

    // Cheap checks a download or file must pass before it replaces a good
    // copy: text without NUL bytes, opening with BEGIN:VCALENDAR and closing
    // with END:VCALENDAR (so a truncated transfer is refused). Returns the
    // reason for refusing, or an empty string.
    [[nodiscard]] static QString structuralError(const QByteArray &text);

    [[nodiscard]] static Result parse(const QByteArray &text, const QDateTime &from,
                                      const QDateTime &to,
                                      const QTimeZone &localZone = QTimeZone::systemTimeZone());
};
