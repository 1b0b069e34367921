#include "platform/linux/icalendarparser.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
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
        QVERIFY(!result.isTruncated);
        QCOMPARE(result.events, expected);
    }

    void boundsEndlessRules()
    {
        // Every second since 1990: the expansion starts just before the
        // window instead of in 1990, gives up once the file's steps are used,
        // and the file still counts as read.
        const QByteArray text = wrapped("BEGIN:VEVENT\r\nUID:f\r\nSUMMARY:Tick\r\n"
                                        "DTSTART:19900101T000000Z\r\nRRULE:FREQ=SECONDLY\r\n"
                                        "END:VEVENT\r\n");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("the first: f: stopped where")));
        const ICalendarParser::Result result = ICalendarParser::parse(
            text, utc("2024-01-01T00:00:00Z"), utc("2024-01-02T00:00:00Z"), QTimeZone::utc());
        QVERIFY(result.isValid);
        QVERIFY(!result.events.isEmpty());
        QVERIFY(result.events.size() < ICalendarParser::maximumIterations);
        QVERIFY(result.isTruncated);
        // An instant at the very start of the window is not inside it.
        QCOMPARE(result.events.first().start, utc("2024-01-01T00:00:01Z"));
    }

    void stepsAreTheFilesNotEachRules()
    {
        // COUNT needs every step from DTSTART: the first rule uses up what
        // the file may spend, however many rules like it the file holds, and
        // the second keeps only its start.
        const QByteArray text = wrapped("BEGIN:VEVENT\r\nUID:a\r\nSUMMARY:Tick\r\n"
                                        "DTSTART:20231201T000000Z\r\n"
                                        "RRULE:FREQ=SECONDLY;COUNT=250000\r\nEND:VEVENT\r\n"
                                        "BEGIN:VEVENT\r\nUID:b\r\nSUMMARY:Stand-up\r\n"
                                        "DTSTART:20240101T080000Z\r\nDURATION:PT15M\r\n"
                                        "RRULE:FREQ=DAILY;COUNT=5\r\nEND:VEVENT\r\n");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                               "^ICalendarParser: 2 recurring events not "
                                               "expanded in full; the first: a: stopped")));
        const ICalendarParser::Result result = ICalendarParser::parse(
            text, utc("2024-01-01T00:00:00Z"), utc("2024-01-10T00:00:00Z"), QTimeZone::utc());
        QVERIFY(result.isValid);
        QVERIFY(result.isTruncated);
        QCOMPARE(result.events, QList<CalendarEvent>{occurrence("Stand-up", "2024-01-01T08:00:00Z",
                                                                "2024-01-01T08:15:00Z")});
    }

    void timeBoundsRulesThatNeverOccur()
    {
        // libical looks as far as the year 2582 for the ninth second-of-the-
        // month occurrence a month never has; a file of such rules stops
        // after the time it may spend, keeping each later rule's start.
        QByteArray events;
        for (int i = 0; i < 40; ++i) {
            events += "BEGIN:VEVENT\r\nUID:n" + QByteArray::number(i) +
                      "\r\nSUMMARY:Never\r\nDTSTART:01000102T100000Z\r\n"
                      "RRULE:FREQ=MONTHLY;BYMONTHDAY=2;BYSETPOS=9\r\nEND:VEVENT\r\n";
        }
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("time and steps for recurrences")));
        QElapsedTimer timer;
        timer.start();
        const ICalendarParser::Result result =
            ICalendarParser::parse(wrapped(events), utc("2024-01-01T00:00:00Z"),
                                   utc("2024-02-01T00:00:00Z"), QTimeZone::utc());
        QVERIFY2(timer.elapsed() < 4 * ICalendarParser::maximumExpansionTime.count(),
                 qPrintable(QString::number(timer.elapsed())));
        QVERIFY(result.isValid);
        QVERIFY(result.isTruncated);
        QVERIFY(result.events.isEmpty());
    }

    // Rules libical would step through for years (or until the year 2582)
    // between two occurrences keep only their first.
    void unboundedRulesKeepTheirStart_data()
    {
        QTest::addColumn<QByteArray>("rule");
        QTest::addRow("the 30th of February") << QByteArray("FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30");
        QTest::addRow("the first Monday's hours") << QByteArray("FREQ=HOURLY;BYDAY=1MO");
        QTest::addRow("BYMONTHDAY in a WEEKLY rule") << QByteArray("FREQ=WEEKLY;BYMONTHDAY=3");
        QTest::addRow("BYWEEKNO in a MONTHLY rule") << QByteArray("FREQ=MONTHLY;BYWEEKNO=3");
    }

    void unboundedRulesKeepTheirStart()
    {
        QFETCH(QByteArray, rule);
        const QByteArray text = wrapped("BEGIN:VEVENT\r\nUID:u\r\nSUMMARY:U\r\n"
                                        "DTSTART:20240102T100000Z\r\nDURATION:PT1H\r\n"
                                        "RRULE:" +
                                        rule + "\r\nEND:VEVENT\r\n");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("only its start counts$")));
        QElapsedTimer timer;
        timer.start();
        const ICalendarParser::Result result = ICalendarParser::parse(
            text, utc("2024-01-01T00:00:00Z"), utc("2024-02-01T00:00:00Z"), QTimeZone::utc());
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY(result.isValid);
        QVERIFY(result.isTruncated);
        QCOMPARE(result.events, QList<CalendarEvent>{occurrence("U", "2024-01-02T10:00:00Z",
                                                                "2024-01-02T11:00:00Z")});
    }

    // Rules without COUNT start stepping just before the window; what they
    // give there is what stepping from DTSTART gives.
    void skippingAheadChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("text");
        const auto event = [](const char *lines) {
            return wrapped(QByteArray("BEGIN:VEVENT\r\nUID:s\r\nSUMMARY:S\r\n") + lines +
                           "END:VEVENT\r\n");
        };
        QTest::addRow("every five hours across the change to summer time")
            << event("DTSTART;TZID=Europe/Prague:20240101T013000\r\nDURATION:PT20M\r\n"
                     "RRULE:FREQ=HOURLY;INTERVAL=5\r\n");
        QTest::addRow("all-day, two days long, every fourth day")
            << event("DTSTART;VALUE=DATE:20240102\r\nDTEND;VALUE=DATE:20240104\r\n"
                     "RRULE:FREQ=DAILY;INTERVAL=4\r\n");
        QTest::addRow("every other week on two days, weeks from Sunday")
            << event("DTSTART;TZID=America/New_York:20240101T080000\r\nDURATION:PT9H\r\n"
                     "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH;WKST=SU\r\n");
        QTest::addRow("weekdays, on some months' days, twice a day")
            << event("DTSTART:20240102T073000\r\nDURATION:PT30M\r\n"
                     "RRULE:FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR;BYMONTHDAY=1,2,3,28,29,30,31;"
                     "BYHOUR=7,19\r\n");
        QTest::addRow("four days long, weekly, reaching into the window")
            << event("DTSTART:20240101T080000Z\r\nDTEND:20240105T080000Z\r\n"
                     "RRULE:FREQ=WEEKLY\r\n");
        QTest::addRow("a zone of the file's own")
            << wrapped("BEGIN:VTIMEZONE\r\nTZID:Custom\r\nBEGIN:STANDARD\r\n"
                       "DTSTART:19700101T000000\r\nTZOFFSETFROM:+0530\r\n"
                       "TZOFFSETTO:+0530\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
                       "BEGIN:VEVENT\r\nUID:s\r\nSUMMARY:S\r\n"
                       "DTSTART;TZID=Custom:20240101T230000\r\nDURATION:PT2H\r\n"
                       "RRULE:FREQ=DAILY;INTERVAL=2\r\nEND:VEVENT\r\n");
    }

    void skippingAheadChangesNothing()
    {
        QFETCH(QByteArray, text);
        const QTimeZone prague("Europe/Prague");
        // From the first day nothing is skipped.
        const ICalendarParser::Result all = ICalendarParser::parse(
            text, utc("2024-01-01T00:00:00Z"), utc("2024-04-06T00:00:00Z"), prague);
        const QDateTime from = utc("2024-03-28T00:00:00Z");
        const ICalendarParser::Result late =
            ICalendarParser::parse(text, from, utc("2024-04-06T00:00:00Z"), prague);
        QVERIFY(all.isValid && late.isValid);
        QList<CalendarEvent> expected;
        for (const CalendarEvent &event : all.events) {
            if (event.end > from)
                expected.append(event);
        }
        QVERIFY(!expected.isEmpty());
        QCOMPARE(late.events, expected);
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
