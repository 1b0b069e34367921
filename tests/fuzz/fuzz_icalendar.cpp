// Feeds arbitrary bytes to the iCalendar reader over the window the calendar
// store asks for, and again over its two halves. A refused file yields no
// events; an accepted one yields occurrences inside the window, in UTC and in
// order, and the halves between them give exactly the occurrences of the
// whole (which also checks that starting a rule's steps near the window
// changes nothing).
#include "platform/linux/icalendarparser.h"

#include <QCoreApplication>
#include <QTimeZone>

#include <cstdint>
#include <cstdlib>

namespace {
void silence(QtMsgType, const QMessageLogContext &, const QString &)
{}

// The store's horizon (two days back, nine ahead) around a week that holds
// the change to summer time in the local zone.
const QDateTime anchor(QDate(2024, 3, 28), QTime(12, 0), QTimeZone::utc());
const QDateTime from = anchor.addDays(-2);
const QDateTime to = anchor.addDays(9);

ICalendarParser::Result parse(const QByteArray &text, const QDateTime &start, const QDateTime &end,
                              const QTimeZone &zone)
{
    ICalendarParser::Result result = ICalendarParser::parse(text, start, end, zone);
    if (!result.isValid) {
        if (result.error.isEmpty() || !result.events.isEmpty())
            std::abort();
        return result;
    }
    if (!result.error.isEmpty() || !ICalendarParser::structuralError(text).isEmpty())
        std::abort();
    for (qsizetype i = 0; i < result.events.size(); ++i) {
        const CalendarEvent &event = result.events.at(i);
        if (!event.start.isValid() || !event.end.isValid() || event.start.timeSpec() != Qt::UTC ||
            event.end.timeSpec() != Qt::UTC)
            std::abort();
        if (!(event.start < end) || !(event.end > start) || event.end < event.start)
            std::abort();
        if (i > 0 && event.start < result.events.at(i - 1).start)
            std::abort();
    }
    return result;
}

QList<CalendarEvent> overlapping(const QList<CalendarEvent> &events, const QDateTime &start,
                                 const QDateTime &end)
{
    QList<CalendarEvent> result;
    for (const CalendarEvent &event : events) {
        if (event.start < end && event.end > start)
            result.append(event);
    }
    return result;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    qInstallMessageHandler(silence);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QTimeZone zone(QByteArrayLiteral("Europe/Prague"));
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const ICalendarParser::Result whole = parse(text, from, to, zone);

    const QDateTime middle = anchor.addDays(1);
    const ICalendarParser::Result before = parse(text, from, middle, zone);
    const ICalendarParser::Result after = parse(text, middle, to, zone);
    if (before.isValid != whole.isValid || after.isValid != whole.isValid ||
        before.error != whole.error)
        std::abort();
    // A file that used up its recurrence steps gives what it reached, which
    // depends on where each window starts; only files expanded in full must
    // agree.
    if (whole.isTruncated || before.isTruncated || after.isTruncated)
        return 0;
    if (before.events != overlapping(whole.events, from, middle) ||
        after.events != overlapping(whole.events, middle, to))
        std::abort();
    return 0;
}
