#include "icalendarparser.h"

#include <QFile>
#include <QTest>

using Availability = CalendarEvent::Availability;

Q_DECLARE_METATYPE(QList<CalendarEvent>)

namespace {
QDateTime utc(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate).toUTC();
}

CalendarEvent occurrence(const char *title, const char *start, const char *end,
                         Availability availability = Availability::Busy)
{
    return {utc(start), utc(end), QString::fromUtf8(title), availability};
}

QByteArray calendarFile(const QString &name)
{
    QFile file(QFINDTESTDATA(QStringLiteral("../data/calendar/") + name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test calendar %s", qPrintable(name));
    return file.readAll();
}

QByteArray wrapped(const QByteArray &events)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n" + events +
           "END:VCALENDAR\r\n";
}
} // namespace

namespace QTest {
template<> char *toString(const CalendarEvent &event)
{
    return qstrdup(QStringLiteral("%1 %2..%3 %4")
                       .arg(event.title, event.start.toString(Qt::ISODate),
                            event.end.toString(Qt::ISODate),
                            event.availability == Availability::Free ? QStringLiteral("free")
                                                                     : QStringLiteral("busy"))
                       .toUtf8());
}
} // namespace QTest

// Recurrences and time zones of real iCalendar files, expanded into windows.
// Floating times and all-day dates are taken in Europe/Prague unless a row
// says otherwise.
class TestICalendarParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void expandsFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<QDateTime>("to");
        QTest::addColumn<QByteArray>("localZone");
        QTest::addColumn<QList<CalendarEvent>>("expected");

        const QByteArray prague = "Europe/Prague";
        QTest::addRow("weekly: EXDATE skips, RECURRENCE-ID moves and frees one week")
            << "weekly.ics" << utc("2024-01-01T00:00:00Z") << utc("2024-02-01T00:00:00Z") << prague
            << QList<CalendarEvent>{
                   occurrence("Team Meeting", "2024-01-02T09:00:00Z", "2024-01-02T10:00:00Z"),
                   occurrence("Team Meeting", "2024-01-09T09:00:00Z", "2024-01-09T10:00:00Z"),
                   occurrence("Team Meeting (moved)", "2024-01-24T13:00:00Z",
                              "2024-01-24T14:00:00Z", Availability::Free),
                   occurrence("Team Meeting", "2024-01-30T09:00:00Z", "2024-01-30T10:00:00Z")};
        QTest::addRow("weekly: the file's zone moves to summer time, wall clock stays at ten")
            << "weekly.ics" << utc("2024-03-25T00:00:00Z") << utc("2024-04-04T00:00:00Z") << prague
            << QList<CalendarEvent>{
                   occurrence("Team Meeting", "2024-03-26T09:00:00Z", "2024-03-26T10:00:00Z"),
                   occurrence("Team Meeting", "2024-04-02T08:00:00Z", "2024-04-02T09:00:00Z")};
        QTest::addRow("weekly: UNTIL in UTC includes the last week and nothing after")
            << "weekly.ics" << utc("2024-04-29T00:00:00Z") << utc("2024-06-01T00:00:00Z") << prague
            << QList<CalendarEvent>{
                   occurrence("Team Meeting", "2024-04-30T08:00:00Z", "2024-04-30T09:00:00Z")};
        QTest::addRow("weekly: the local zone does not matter for zoned times")
            << "weekly.ics" << utc("2024-01-08T00:00:00Z") << utc("2024-01-10T00:00:00Z")
            << QByteArray("Asia/Kolkata")
            << QList<CalendarEvent>{
                   occurrence("Team Meeting", "2024-01-09T09:00:00Z", "2024-01-09T10:00:00Z")};
        QTest::addRow("other zones: VTIMEZONE after its spring change, system zone, cancelled")
            << "otherzone.ics" << utc("2024-03-12T00:00:00Z") << utc("2024-03-13T00:00:00Z")
            << prague
            << QList<CalendarEvent>{
                   occurrence("Tokyo review", "2024-03-12T09:00:00Z", "2024-03-12T10:00:00Z"),
                   occurrence("New York stand-up", "2024-03-12T13:00:00Z", "2024-03-12T13:30:00Z")};
        QTest::addRow("all-day: local midnight to midnight, also across summer time")
            << "allday.ics" << utc("2024-03-01T00:00:00Z") << utc("2024-04-30T00:00:00Z") << prague
            << QList<CalendarEvent>{
                   occurrence("Offsite", "2024-03-07T23:00:00Z", "2024-03-08T23:00:00Z"),
                   occurrence("Easter trip", "2024-03-29T23:00:00Z", "2024-03-31T22:00:00Z",
                              Availability::Free)};
        QTest::addRow("all-day: in New York")
            << "allday.ics" << utc("2024-03-08T00:00:00Z") << utc("2024-03-09T00:00:00Z")
            << QByteArray("America/New_York")
            << QList<CalendarEvent>{
                   occurrence("Offsite", "2024-03-08T05:00:00Z", "2024-03-09T05:00:00Z")};
        QTest::addRow("floating: Prague")
            << "floating.ics" << utc("2024-03-06T00:00:00Z") << utc("2024-03-07T00:00:00Z")
            << prague
            << QList<CalendarEvent>{occurrence("Deep Work", "2024-03-06T14:00:00Z",
                                               "2024-03-06T15:30:00Z", Availability::Free)};
        QTest::addRow("floating: New York")
            << "floating.ics" << utc("2024-03-06T00:00:00Z") << utc("2024-03-07T00:00:00Z")
            << QByteArray("America/New_York")
            << QList<CalendarEvent>{occurrence("Deep Work", "2024-03-06T20:00:00Z",
                                               "2024-03-06T21:30:00Z", Availability::Free)};
        QTest::addRow("window ends where an event starts: not overlapping")
            << "floating.ics" << utc("2024-03-06T13:00:00Z") << utc("2024-03-06T14:00:00Z")
            << prague << QList<CalendarEvent>{};
    }

    void expandsFiles()
    {
        QFETCH(QString, file);
        QFETCH(QDateTime, from);
        QFETCH(QDateTime, to);
        QFETCH(QByteArray, localZone);
        QFETCH(QList<CalendarEvent>, expected);

        const ICalendarParser::Result result =
            ICalendarParser::parse(calendarFile(file), from, to, QTimeZone(localZone));
        QVERIFY2(result.isValid, qPrintable(result.error));
        QCOMPARE(result.events, expected);
    }

    void expandsRules_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<CalendarEvent>>("expected");

        QTest::addRow("COUNT, several EXDATEs in one property, RDATE added")
            << wrapped("BEGIN:VEVENT\r\nUID:a\r\nSUMMARY:Focus\r\n"
                       "DTSTART:20240101T080000Z\r\nDURATION:PT30M\r\n"
                       "RRULE:FREQ=DAILY;COUNT=5\r\n"
                       "EXDATE:20240102T080000Z,20240104T080000Z\r\n"
                       "RDATE:20240110T120000Z\r\nEND:VEVENT\r\n")
            << QList<CalendarEvent>{
                   occurrence("Focus", "2024-01-01T08:00:00Z", "2024-01-01T08:30:00Z"),
                   occurrence("Focus", "2024-01-03T08:00:00Z", "2024-01-03T08:30:00Z"),
                   occurrence("Focus", "2024-01-05T08:00:00Z", "2024-01-05T08:30:00Z"),
                   occurrence("Focus", "2024-01-10T12:00:00Z", "2024-01-10T12:30:00Z")};
        QTest::addRow("cancelled override removes one occurrence")
            << wrapped("BEGIN:VEVENT\r\nUID:b\r\nSUMMARY:Sync\r\n"
                       "DTSTART:20240101T080000Z\r\nDTEND:20240101T090000Z\r\n"
                       "RRULE:FREQ=DAILY;COUNT=2\r\nEND:VEVENT\r\n"
                       "BEGIN:VEVENT\r\nUID:b\r\nRECURRENCE-ID:20240102T080000Z\r\n"
                       "STATUS:CANCELLED\r\nSUMMARY:Sync\r\n"
                       "DTSTART:20240102T080000Z\r\nDTEND:20240102T090000Z\r\nEND:VEVENT\r\n")
            << QList<CalendarEvent>{
                   occurrence("Sync", "2024-01-01T08:00:00Z", "2024-01-01T09:00:00Z")};
        QTest::addRow("no title, no end: an instant, busy")
            << wrapped("BEGIN:VEVENT\r\nUID:c\r\nDTSTART:20240101T080000Z\r\nEND:VEVENT\r\n"
                       "BEGIN:VEVENT\r\nUID:d\r\nSUMMARY:No start\r\nEND:VEVENT\r\n")
            << QList<CalendarEvent>{occurrence("", "2024-01-01T08:00:00Z", "2024-01-01T08:00:00Z")};
        QTest::addRow("RDATE without RRULE keeps the DTSTART occurrence, once")
            << wrapped("BEGIN:VEVENT\r\nUID:h\r\nSUMMARY:Review\r\n"
                       "DTSTART:20240102T080000Z\r\nDURATION:PT1H\r\n"
                       "RDATE:20240102T080000Z,20240104T080000Z\r\n"
                       "RDATE:20240104T080000Z\r\nEND:VEVENT\r\n")
            << QList<CalendarEvent>{
                   occurrence("Review", "2024-01-02T08:00:00Z", "2024-01-02T09:00:00Z"),
                   occurrence("Review", "2024-01-04T08:00:00Z", "2024-01-04T09:00:00Z")};
        QTest::addRow("an RDATE the rule gives too is one occurrence")
            << wrapped("BEGIN:VEVENT\r\nUID:i\r\nSUMMARY:Gym\r\n"
                       "DTSTART:20240105T170000Z\r\nDURATION:PT1H\r\n"
                       "RRULE:FREQ=WEEKLY;COUNT=2\r\nRDATE:20240112T170000Z\r\nEND:VEVENT\r\n")
            << QList<CalendarEvent>{
                   occurrence("Gym", "2024-01-05T17:00:00Z", "2024-01-05T18:00:00Z"),
                   occurrence("Gym", "2024-01-12T17:00:00Z", "2024-01-12T18:00:00Z")};
        QTest::addRow("a timed RDATE of an all-day event ends at the midnight its days reach")
            << wrapped("BEGIN:VEVENT\r\nUID:f\r\nSUMMARY:Away\r\n"
                       "DTSTART;VALUE=DATE:20240110\r\nDTEND;VALUE=DATE:20240111\r\n"
                       "RDATE:20240115T120000Z\r\nEND:VEVENT\r\n")
            << QList<CalendarEvent>{
                   occurrence("Away", "2024-01-09T23:00:00Z", "2024-01-10T23:00:00Z"),
                   occurrence("Away", "2024-01-15T12:00:00Z", "2024-01-15T23:00:00Z")};
        // An end on the start day is no length at all; it never ends at the
        // midnight before a timed occurrence.
        QTest::addRow("an all-day event of no days never ends before it starts")
            << wrapped("BEGIN:VEVENT\r\nUID:g\r\nSUMMARY:Blip\r\n"
                       "DTSTART;VALUE=DATE:20240110\r\nDTEND;VALUE=DATE:20240110\r\n"
                       "RDATE:20240115T120000Z\r\nEND:VEVENT\r\n")
            << QList<CalendarEvent>{
                   occurrence("Blip", "2024-01-09T23:00:00Z", "2024-01-09T23:00:00Z"),
                   occurrence("Blip", "2024-01-15T12:00:00Z", "2024-01-15T12:00:00Z")};
        QTest::addRow("a day that does not exist is left out")
            << wrapped("BEGIN:VEVENT\r\nUID:j\r\nSUMMARY:Nowhen\r\n"
                       "DTSTART:20240140T080000Z\r\nDURATION:PT1H\r\nEND:VEVENT\r\n"
                       "BEGIN:VEVENT\r\nUID:k\r\nSUMMARY:Plan\r\n"
                       "DTSTART;VALUE=DATE:20240965\r\nRDATE;VALUE=DATE:20240120\r\nEND:VEVENT\r\n"
                       "BEGIN:VEVENT\r\nUID:l\r\nSUMMARY:Talk\r\n"
                       "DTSTART:20240103T080000Z\r\nDURATION:PT1H\r\n"
                       "RDATE:20240140T080000Z\r\nEND:VEVENT\r\n")
            << QList<CalendarEvent>{
                   occurrence("Talk", "2024-01-03T08:00:00Z", "2024-01-03T09:00:00Z")};
        QTest::addRow("an unknown TZID is taken as local time")
            << wrapped("BEGIN:VEVENT\r\nUID:e\r\nSUMMARY:Somewhere\r\n"
                       "DTSTART;TZID=Nowhere/Special:20240101T100000\r\n"
                       "DTEND;TZID=Nowhere/Special:20240101T110000\r\nEND:VEVENT\r\n")
            << QList<CalendarEvent>{
                   occurrence("Somewhere", "2024-01-01T09:00:00Z", "2024-01-01T10:00:00Z")};
    }

    void expandsRules()
    {
        QFETCH(QByteArray, text);
        QFETCH(QList<CalendarEvent>, expected);

        const ICalendarParser::Result result =
            ICalendarParser::parse(text, utc("2024-01-01T00:00:00Z"), utc("2024-02-01T00:00:00Z"),
                                   QTimeZone("Europe/Prague"));
        QVERIFY2(result.isValid, qPrintable(result.error));
        QCOMPARE(result.events, expected);
    }

    void boundsEndlessRules()
    {
        // Every second since 1990: the expansion gives up instead of running
        // for hours, and the file still counts as read.
        const QByteArray text = wrapped("BEGIN:VEVENT\r\nUID:f\r\nSUMMARY:Tick\r\n"
                                        "DTSTART:19900101T000000Z\r\nRRULE:FREQ=SECONDLY\r\n"
                                        "END:VEVENT\r\n");
        const ICalendarParser::Result result = ICalendarParser::parse(
            text, utc("2024-01-01T00:00:00Z"), utc("2024-01-02T00:00:00Z"), QTimeZone::utc());
        QVERIFY(result.isValid);
        QVERIFY(result.events.isEmpty());
    }

    // Wall-clock times that a change to summer time skips are read with the
    // offset before the change.
    void skippedWallClockTimes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<QList<CalendarEvent>>("expected");

        QTest::addRow("floating time")
            << wrapped("BEGIN:VEVENT\r\nUID:a\r\nSUMMARY:Night\r\n"
                       "DTSTART:20240331T023000\r\nDURATION:PT30M\r\nEND:VEVENT\r\n")
            << QStringLiteral("Europe/Prague") << utc("2024-03-30T00:00:00Z")
            << QList<CalendarEvent>{
                   occurrence("Night", "2024-03-31T01:30:00Z", "2024-03-31T02:00:00Z")};
        QTest::addRow("a daily rule in a zone named by TZID")
            << wrapped("BEGIN:VEVENT\r\nUID:b\r\nSUMMARY:Backup\r\n"
                       "DTSTART;TZID=Europe/Prague:20240330T023000\r\nDURATION:PT15M\r\n"
                       "RRULE:FREQ=DAILY;COUNT=3\r\nEND:VEVENT\r\n")
            << QStringLiteral("UTC") << utc("2024-03-30T00:00:00Z")
            << QList<CalendarEvent>{
                   occurrence("Backup", "2024-03-30T01:30:00Z", "2024-03-30T01:45:00Z"),
                   occurrence("Backup", "2024-03-31T01:30:00Z", "2024-03-31T01:45:00Z"),
                   occurrence("Backup", "2024-04-01T00:30:00Z", "2024-04-01T00:45:00Z")};
        // Chile moves its clocks at midnight: 8 September 2024 starts at 01:00.
        QTest::addRow("an all-day event on a day without a midnight")
            << wrapped("BEGIN:VEVENT\r\nUID:c\r\nSUMMARY:Fiestas\r\n"
                       "DTSTART;VALUE=DATE:20240908\r\nEND:VEVENT\r\n")
            << QStringLiteral("America/Santiago") << utc("2024-09-07T00:00:00Z")
            << QList<CalendarEvent>{
                   occurrence("Fiestas", "2024-09-08T04:00:00Z", "2024-09-09T03:00:00Z")};
    }

    void skippedWallClockTimes()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, zone);
        QFETCH(QDateTime, from);
        QFETCH(QList<CalendarEvent>, expected);

        const ICalendarParser::Result result =
            ICalendarParser::parse(text, from, from.addDays(4), QTimeZone(zone.toLatin1()));
        QVERIFY2(result.isValid, qPrintable(result.error));
        QCOMPARE(result.events, expected);
    }

    void refusesBadText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");

        const QByteArray good = calendarFile(QStringLiteral("weekly.ics"));
        QTest::addRow("empty") << QByteArray() << "not an iCalendar file";
        QTest::addRow("truncated") << good.left(good.size() * 2 / 3) << "incomplete";
        QTest::addRow("cut just before TRANSP")
            << good.left(good.indexOf("TRANSP:TRANSPARENT")) << "incomplete";
        QTest::addRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                                << "not a text file";
        QTest::addRow("HTML page")
            << QByteArray("<html><body>Sign in</body></html>") << "not an iCalendar file";
        QTest::addRow("a vCard") << QByteArray("BEGIN:VCARD\r\nEND:VCARD\r\n")
                                 << "not an iCalendar file";
    }

    void refusesBadText()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);

        const ICalendarParser::Result result = ICalendarParser::parse(
            text, utc("2024-01-01T00:00:00Z"), utc("2025-01-01T00:00:00Z"), QTimeZone::utc());
        QVERIFY(!result.isValid);
        QVERIFY2(result.error.contains(error), qPrintable(result.error));
        QVERIFY(result.events.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestICalendarParser)
#include "tst_icalendarparser.moc"
