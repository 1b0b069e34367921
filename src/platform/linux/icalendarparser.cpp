#include "platform/linux/icalendarparser.h"

#include "platform/platformlog.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QTimeZone>
#include <QtDebug>

#include <libical/ical.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {
// libical keeps its error state and its table of built-in zones in globals.
QMutex libicalMutex;

struct ComponentDeleter
{
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentDeleter>;

struct RecurIteratorDeleter
{
    void operator()(icalrecur_iterator *iterator) const { icalrecur_iterator_free(iterator); }
};

// Where a wall-clock time of the file is anchored.
struct Zone
{
    enum class Kind { Floating, Utc, Ical, System };
    Kind kind = Kind::Floating;
    icaltimezone *ical = nullptr;
    QTimeZone system;
};

// What one parse may spend on recurrences, shared by every rule of the file.
struct Budget
{
    int steps = ICalendarParser::maximumIterations;
    QElapsedTimer clock;

    [[nodiscard]] bool isSpent() const
    {
        return steps <= 0 || clock.hasExpired(ICalendarParser::maximumExpansionTime.count());
    }
};

class Expander
{
public:
    Expander(icalcomponent *calendar, const QDateTime &from, const QDateTime &to,
             const QTimeZone &localZone, Budget &budget)
        : m_calendar(calendar)
        , m_from(from)
        , m_to(to)
        , m_localZone(localZone)
        , m_budget(budget)
    {}

    void collectOverrides();
    void expand(icalcomponent *event);

    QList<CalendarEvent> events;
    // Rules cut short or not expanded at all, and why the first was.
    int truncatedRules = 0;
    QString firstTruncation;

private:
    Zone zoneOf(icalproperty *property) const;
    [[nodiscard]] QDateTime toDateTime(icaltimetype time, const Zone &zone) const;
    [[nodiscard]] QDateTime propertyTime(icalproperty *property) const;
    [[nodiscard]] icaltimetype firstStep(const icalrecurrencetype &rule, icaltimetype dtstart,
                                         const Zone &zone, qint64 length) const;
    [[nodiscard]] const char *unsteppable(const icalrecurrencetype &rule, icaltimetype first) const;
    // False when the occurrence lies outside the window (or nowhere in time).
    bool add(const CalendarEvent &occurrence);

    icalcomponent *m_calendar;
    QDateTime m_from;
    QDateTime m_to;
    QTimeZone m_localZone;
    Budget &m_budget;
    // Occurrences replaced by an override of their own, by UID.
    QHash<QString, QSet<QDateTime>> m_overridden;
};

QString uidOf(icalcomponent *event)
{
    const char *uid = icalcomponent_get_uid(event);
    return uid ? QString::fromUtf8(uid) : QString();
}

// Title and availability, read once per event: reading a property restarts
// the component's property iterator, which the loops below rely on.
CalendarEvent eventTemplate(icalcomponent *event)
{
    const char *summary = icalcomponent_get_summary(event);
    icalproperty *transp = icalcomponent_get_first_property(event, ICAL_TRANSP_PROPERTY);
    const icalproperty_transp value = transp ? icalproperty_get_transp(transp) : ICAL_TRANSP_NONE;
    const bool isFree =
        value == ICAL_TRANSP_TRANSPARENT || value == ICAL_TRANSP_TRANSPARENTNOCONFLICT;
    return {{},
            {},
            summary ? QString::fromUtf8(summary) : QString(),
            isFree ? CalendarEvent::Availability::Free : CalendarEvent::Availability::Busy};
}

bool isCancelled(icalcomponent *event)
{
    return icalcomponent_get_first_property(event, ICAL_STATUS_PROPERTY) &&
           icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED;
}

QDate dateOf(const icaltimetype &time)
{
    return QDate(time.year, time.month, time.day);
}

QTime timeOf(const icaltimetype &time)
{
    // A leap second has no QTime.
    return QTime(time.hour, time.minute, std::min(time.second, 59));
}

// Events leave in Qt::UTC on every Qt: from 6.5 on a QTimeZone::utc() time is
// one already, before that it is a zone that happens to be UTC until
// converted, and the constructor that took Qt::UTC directly is deprecated.
QDateTime utc(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, QTimeZone::utc()).toUTC();
}

// A wall-clock time in a zone. One that a change to summer time skips does
// not exist, and Qt makes it an invalid QDateTime, which would drop the
// occurrence (or, worse, compare as some arbitrary instant); it is read with
// the offset in force before the change, as RFC 5545 says. A date that does
// not exist at all (libical lets 2024-09-65 through) stays invalid.
QDateTime inZone(const QDate &date, const QTime &time, const QTimeZone &zone)
{
    const QDateTime local(date, time, zone);
    if (local.isValid() || !date.isValid() || !time.isValid())
        return local;
    // The gap lasts hours; a day earlier the old offset still holds.
    const QDateTime asUtc = utc(date, time);
    return asUtc.addSecs(-zone.offsetFromUtc(asUtc.addDays(-1))).toTimeZone(zone);
}

Zone Expander::zoneOf(icalproperty *property) const
{
    Zone zone;
    icalparameter *parameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    const char *tzid = parameter ? icalparameter_get_tzid(parameter) : nullptr;
    if (!tzid)
        return zone;
    if (icaltimezone *ical = icalcomponent_get_timezone(m_calendar, tzid)) {
        zone.kind = Zone::Kind::Ical;
        zone.ical = ical;
        return zone;
    }
    // Many publishers name an IANA zone and leave out its definition.
    const QTimeZone system{QByteArray(tzid)};
    if (system.isValid()) {
        zone.kind = Zone::Kind::System;
        zone.system = system;
        return zone;
    }
    qCWarning(lcPlatform) << "ICalendarParser: unknown time zone" << tzid
                          << "- taking its times as local";
    return zone;
}

QDateTime Expander::toDateTime(icaltimetype time, const Zone &zone) const
{
    if (time.is_date)
        return inZone(dateOf(time), QTime(0, 0), m_localZone).toUTC();
    if (icaltime_is_utc(time))
        return utc(dateOf(time), timeOf(time));
    switch (zone.kind) {
    case Zone::Kind::Ical: {
        time.zone = nullptr;
        const time_t seconds = icaltime_as_timet_with_zone(time, zone.ical);
        return QDateTime::fromSecsSinceEpoch(qint64(seconds), QTimeZone::utc()).toUTC();
    }
    case Zone::Kind::System:
        return inZone(dateOf(time), timeOf(time), zone.system).toUTC();
    case Zone::Kind::Utc:
        return utc(dateOf(time), timeOf(time));
    case Zone::Kind::Floating:
        break;
    }
    return inZone(dateOf(time), timeOf(time), m_localZone).toUTC();
}

QDateTime Expander::propertyTime(icalproperty *property) const
{
    return toDateTime(icalvalue_get_datetime(icalproperty_get_value(property)), zoneOf(property));
}

bool Expander::add(const CalendarEvent &occurrence)
{
    // Qt compares an invalid QDateTime as some instant or other; an
    // occurrence on a day that does not exist has no place in time.
    if (!occurrence.start.isValid() || !occurrence.end.isValid())
        return false;
    if (!(occurrence.start < m_to && occurrence.end > m_from))
        return false;
    events.append(occurrence);
    return true;
}

// Where the recurrence iterator starts. A rule without COUNT whose periods
// are a fixed number of wall-clock seconds gives the same occurrences from
// any start a whole number of periods after DTSTART, so the iterator starts
// at the last such point comfortably before the window rather than stepping
// through every occurrence since DTSTART: an hourly rule from the year 24
// would otherwise use up the file's budget long before it reached the
// present. The iterator also returns that start itself, rule or not; it lies
// before the window, where nothing is kept.
//
// That holds only where libical steps by the period: the parts that pick
// times within each period (BYSECOND for MINUTELY, BYMINUTE and BYSECOND for
// HOURLY, any time of day for DAILY and WEEKLY) and the days DAILY keeps
// (BYDAY, BYMONTHDAY, BYMONTH) or WEEKLY picks (BYDAY). libical walks a
// coarser part such as BYHOUR of an HOURLY rule by index, not by the interval,
// so any other rule, and COUNT, which needs every step, start at DTSTART.
icaltimetype Expander::firstStep(const icalrecurrencetype &rule, icaltimetype dtstart,
                                 const Zone &zone, qint64 length) const
{
    const auto isSet = [](const short *parts) {
        return parts[0] != ICAL_RECURRENCE_ARRAY_MAX;
    };
    if (rule.count != 0 || rule.rscale || isSet(rule.by_year_day) || isSet(rule.by_week_no) ||
        isSet(rule.by_set_pos))
        return dtstart;
    const bool picksDays = isSet(rule.by_day) || isSet(rule.by_month_day) || isSet(rule.by_month);
    qint64 period = 0;
    bool steps = false;
    switch (rule.freq) {
    case ICAL_SECONDLY_RECURRENCE:
        period = 1;
        steps =
            !picksDays && !isSet(rule.by_hour) && !isSet(rule.by_minute) && !isSet(rule.by_second);
        break;
    case ICAL_MINUTELY_RECURRENCE:
        period = 60;
        steps = !picksDays && !isSet(rule.by_hour) && !isSet(rule.by_minute);
        break;
    case ICAL_HOURLY_RECURRENCE:
        period = 3600;
        steps = !picksDays && !isSet(rule.by_hour);
        break;
    case ICAL_DAILY_RECURRENCE:
        period = 86400;
        steps = true;
        break;
    case ICAL_WEEKLY_RECURRENCE:
        period = 7 * 86400;
        steps = !isSet(rule.by_month_day) && !isSet(rule.by_month);
        break;
    default:
        break;
    }
    if (!steps)
        return dtstart;
    period *= std::max<qint64>(rule.interval, 1);
    // A date steps by whole days only; a leap second has no place in the
    // arithmetic below.
    if ((dtstart.is_date && period % 86400 != 0) || dtstart.second > 59)
        return dtstart;

    // Wall-clock times as seconds, counted as if they were UTC: the iterator
    // knows nothing else.
    const auto wallSeconds = [](const QDate &date, const QTime &time) {
        return utc(date, time).toSecsSinceEpoch();
    };
    const QDate startDate = dateOf(dtstart);
    const QTime startTime = dtstart.is_date ? QTime(0, 0) : timeOf(dtstart);
    if (!startDate.isValid() || !startTime.isValid())
        return dtstart;
    QDateTime windowStart;
    if (dtstart.is_date || zone.kind == Zone::Kind::Floating)
        windowStart = m_from.toTimeZone(m_localZone);
    else if (zone.kind == Zone::Kind::System)
        windowStart = m_from.toTimeZone(zone.system);
    else if (zone.kind == Zone::Kind::Utc)
        windowStart = m_from.toUTC();
    if (zone.kind == Zone::Kind::Ical && !dtstart.is_date) {
        const icaltimetype wall =
            icaltime_from_timet_with_zone(time_t(m_from.toSecsSinceEpoch()), 0, zone.ical);
        windowStart = utc(dateOf(wall), timeOf(wall));
    }
    if (!windowStart.isValid())
        return dtstart;
    // Two days cover any change of UTC offset between an occurrence and the
    // window (Samoa once skipped a whole day).
    constexpr qint64 slack = 2 * 86400;
    const qint64 first = wallSeconds(startDate, startTime);
    const qint64 target = wallSeconds(windowStart.date(), windowStart.time()) - length - slack;
    if (target - first < period)
        return dtstart;
    const QDateTime skipped = utc(startDate, startTime).addSecs((target - first) / period * period);
    icaltimetype result = dtstart;
    result.year = skipped.date().year();
    result.month = skipped.date().month();
    result.day = skipped.date().day();
    if (!dtstart.is_date) {
        result.hour = skipped.time().hour();
        result.minute = skipped.time().minute();
        result.second = skipped.time().second();
    }
    return result;
}

void Expander::collectOverrides()
{
    for (icalcomponent *event =
             icalcomponent_get_first_component(m_calendar, ICAL_VEVENT_COMPONENT);
         event; event = icalcomponent_get_next_component(m_calendar, ICAL_VEVENT_COMPONENT)) {
        icalproperty *id = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
        if (id)
            m_overridden[uidOf(event)].insert(propertyTime(id));
    }
}

void Expander::expand(icalcomponent *event)
{
    if (isCancelled(event))
        return;
    icalproperty *startProperty = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!startProperty)
        return; // RFC 5545 requires it in a calendar without METHOD; nothing to place
    const icaltimetype dtstart = icalproperty_get_dtstart(startProperty);
    if (icaltime_is_null_time(dtstart) || !icaltime_is_valid_time(dtstart))
        return;
    Zone zone = zoneOf(startProperty);
    // The recurrence iterator works on zone-less times; remember that these
    // were UTC.
    if (icaltime_is_utc(dtstart))
        zone.kind = Zone::Kind::Utc;
    const QDateTime start = toDateTime(dtstart, zone);
    if (!start.isValid())
        return; // a day that does not exist: nothing to place the series by

    // All-day events keep their length in days, so a change to or from summer
    // time never moves their end away from midnight. An RDATE may give a time
    // of day; its end is the same midnight, but never one before its start.
    qint64 days = 0;
    qint64 seconds = 0;
    if (icalproperty *end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
        const icaltimetype dtend = icalproperty_get_dtend(end);
        if (dtstart.is_date && dtend.is_date)
            days = dateOf(dtstart).daysTo(dateOf(dtend));
        else
            seconds = start.secsTo(propertyTime(end));
    } else if (icalproperty *duration =
                   icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        const icaldurationtype value = icalproperty_get_duration(duration);
        if (dtstart.is_date && value.is_neg == 0 && icaldurationtype_as_int(value) % 86400 == 0)
            days = icaldurationtype_as_int(value) / 86400;
        else
            seconds = icaldurationtype_as_int(value);
    } else if (dtstart.is_date) {
        days = 1;
    }
    seconds = std::max<qint64>(seconds, 0);
    days = std::max<qint64>(days, 0);
    const CalendarEvent base = eventTemplate(event);
    const auto occurrenceAt = [&](const QDateTime &occurrence) {
        CalendarEvent instance = base;
        instance.start = occurrence;
        if (dtstart.is_date) {
            const QDate last = occurrence.toTimeZone(m_localZone).date().addDays(days);
            instance.end = std::max(occurrence, inZone(last, QTime(0, 0), m_localZone).toUTC());
        } else {
            instance.end = occurrence.addSecs(seconds);
        }
        return instance;
    };

    QList<QDateTime> rdates;
    for (icalproperty *rdate = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); rdate;
         rdate = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(rdate);
        const icaltimetype time =
            icaltime_is_null_time(value.time) ? value.period.start : value.time;
        if (!icaltime_is_null_time(time))
            rdates.append(toDateTime(time, zoneOf(rdate)));
    }
    icalproperty *rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    if (icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) ||
        (!rule && rdates.isEmpty())) {
        add(occurrenceAt(start));
        return;
    }

    QSet<QDateTime> excluded = m_overridden.value(uidOf(event));
    for (icalproperty *exdate = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY);
         exdate; exdate = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
        excluded.insert(toDateTime(icalproperty_get_exdate(exdate), zoneOf(exdate)));
    // An instant that the rule and an RDATE (or two RDATEs) both give is one
    // occurrence.
    QSet<QDateTime> placed;
    const auto addOccurrence = [&](const QDateTime &occurrence) {
        if (excluded.contains(occurrence) || placed.contains(occurrence))
            return;
        if (add(occurrenceAt(occurrence)))
            placed.insert(occurrence);
    };

    if (rule) {
        icalrecurrencetype recurrence = icalproperty_get_rrule(rule);
        // UNTIL is compared here, in UTC: libical would compare it with the
        // zone-less times the iterator produces and be off by the offset.
        std::optional<QDateTime> until;
        if (!icaltime_is_null_time(recurrence.until)) {
            until = recurrence.until.is_date && !dtstart.is_date
                        ? inZone(dateOf(recurrence.until), QTime(23, 59, 59), m_localZone)
                        : toDateTime(recurrence.until, zone);
            recurrence.until = icaltime_null_time();
        }
        icaltimetype local = dtstart;
        local.zone = nullptr;
        const qint64 length = days > 0 ? (days + 1) * 86400 : seconds;
        const icaltimetype first = firstStep(recurrence, local, zone, length);
        const auto truncated = [&](const QString &reason) {
            if (truncatedRules++ == 0)
                firstTruncation = uidOf(event) + QStringLiteral(": ") + reason;
        };
        const char *reason = unsteppable(recurrence, first);
        if (!reason && m_budget.isSpent())
            reason = "the file used up its time and steps for recurrences";
        if (reason) {
            // The first occurrence is known without libical.
            truncated(QString::fromLatin1(reason) + QStringLiteral("; only its start counts"));
            addOccurrence(start);
        } else {
            std::unique_ptr<icalrecur_iterator, RecurIteratorDeleter> iterator(
                icalrecur_iterator_new(recurrence, first));
            for (icaltimetype next = iterator ? icalrecur_iterator_next(iterator.get())
                                              : icaltime_null_time();
                 !icaltime_is_null_time(next); next = icalrecur_iterator_next(iterator.get())) {
                const QDateTime occurrence = toDateTime(next, zone);
                if ((until && occurrence > *until) || occurrence >= m_to)
                    break;
                if (m_budget.isSpent()) {
                    truncated(QStringLiteral("stopped where the file used up its time and steps "
                                             "for recurrences"));
                    break;
                }
                --m_budget.steps;
                addOccurrence(occurrence);
            }
            if (!iterator)
                addOccurrence(start);
        }
    } else {
        // DTSTART is always the first instance; RDATEs alone only add to it.
        addOccurrence(start);
    }
    for (const QDateTime &occurrence : std::as_const(rdates))
        addOccurrence(occurrence);
}

// Why libical cannot expand the rule in bounded time, or nothing. libical
// finds each occurrence by stepping through every period of the rule's
// frequency (every second of a SECONDLY rule) and testing the other parts,
// and keeps stepping until one fits: up to the year 2582 for a rule that
// nothing fits, which takes half a second for a DAILY rule and days for a
// SECONDLY one, inside a single call that cannot be stopped. What this cannot
// tell apart (a BYSETPOS no period reaches, say) is left to the file's time.
const char *Expander::unsteppable(const icalrecurrencetype &rule, icaltimetype first) const
{
    const auto isSet = [](const short *parts) {
        return parts[0] != ICAL_RECURRENCE_ARRAY_MAX;
    };
    const bool isYearly = rule.freq == ICAL_YEARLY_RECURRENCE;
    // What RFC 5545 rules out; libical expands it all the same.
    if (!isYearly && isSet(rule.by_week_no))
        return "BYWEEKNO outside a YEARLY rule";
    if ((rule.freq == ICAL_DAILY_RECURRENCE || rule.freq == ICAL_WEEKLY_RECURRENCE ||
         rule.freq == ICAL_MONTHLY_RECURRENCE) &&
        isSet(rule.by_year_day))
        return "BYYEARDAY in a DAILY, WEEKLY or MONTHLY rule";
    if (rule.freq == ICAL_WEEKLY_RECURRENCE && isSet(rule.by_month_day))
        return "BYMONTHDAY in a WEEKLY rule";
    // A day of the month that none of the rule's months has (the 30th of
    // February) is the rule nothing fits.
    if (isSet(rule.by_month_day) && !rule.rscale) {
        constexpr int monthLength[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        int longest = 0;
        for (int i = 0; i < ICAL_BY_MONTH_SIZE && rule.by_month[i] != ICAL_RECURRENCE_ARRAY_MAX;
             ++i) {
            const int month = icalrecurrencetype_month_month(rule.by_month[i]);
            if (month >= 1 && month <= 12)
                longest = std::max(longest, monthLength[month - 1]);
        }
        if (!isSet(rule.by_month))
            longest = 31;
        bool fits = false;
        for (int i = 0;
             i < ICAL_BY_MONTHDAY_SIZE && rule.by_month_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
            fits = fits || std::abs(rule.by_month_day[i]) <= longest;
        if (!fits)
            return "BYMONTHDAY names no day of its months";
    }

    qint64 unit = 0;
    bool isCoarse = isSet(rule.by_hour) || isSet(rule.by_day);
    switch (rule.freq) {
    case ICAL_SECONDLY_RECURRENCE:
        unit = 1;
        isCoarse = isCoarse || isSet(rule.by_minute);
        break;
    case ICAL_MINUTELY_RECURRENCE:
        unit = 60;
        break;
    case ICAL_HOURLY_RECURRENCE:
        unit = 3600;
        break;
    default:
        return nullptr;
    }
    // Below a day, a rule that picks days of months or years may step for
    // years between two occurrences; weekdays come round within a week.
    if (isSet(rule.by_month_day) || isSet(rule.by_month) || isSet(rule.by_year_day) ||
        isSet(rule.by_set_pos))
        return "a rule below a day that picks days of months or years";
    for (int i = 0; i < ICAL_BY_DAY_SIZE && rule.by_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        if (icalrecurrencetype_day_position(rule.by_day[i]) != 0)
            return "a rule below a day that picks the nth weekday";
    }
    if (!isCoarse)
        return nullptr; // every step is an occurrence, counted against the file's steps
    // Steps through hours or days it then leaves out: bounded by how far the
    // start lies before the window's end (a week more for the weekdays).
    const QDateTime start = utc(dateOf(first), timeOf(first));
    if (!start.isValid())
        return "a start that is no time";
    const qint64 distance = start.secsTo(m_to) + 9 * 86400;
    if (distance / unit > ICalendarParser::maximumIterations)
        return "a rule below a day that leaves out hours or days, from too long before";
    return nullptr;
}

std::vector<icalcomponent *> calendarsIn(icalcomponent *root)
{
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT)
        return {root};
    std::vector<icalcomponent *> calendars;
    for (icalcomponent *calendar =
             icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT);
         calendar; calendar = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
        calendars.push_back(calendar);
    return calendars;
}
} // namespace

QString ICalendarParser::structuralError(const QByteArray &text)
{
    if (text.contains('\0'))
        return QStringLiteral("not a text file");
    QByteArrayView body(text);
    if (body.startsWith("\xEF\xBB\xBF"))
        body = body.sliced(3);
    body = body.trimmed();
    const auto startsWith = [&](QByteArrayView prefix) {
        return body.size() >= prefix.size() &&
               body.first(prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0;
    };
    const auto endsWith = [&](QByteArrayView suffix) {
        return body.size() >= suffix.size() &&
               body.last(suffix.size()).compare(suffix, Qt::CaseInsensitive) == 0;
    };
    if (!startsWith("BEGIN:VCALENDAR"))
        return QStringLiteral("not an iCalendar file (no BEGIN:VCALENDAR at the start)");
    if (!endsWith("END:VCALENDAR"))
        return QStringLiteral("incomplete iCalendar file (no END:VCALENDAR at the end)");
    return {};
}

ICalendarParser::Result ICalendarParser::parse(const QByteArray &text, const QDateTime &from,
                                               const QDateTime &to, const QTimeZone &localZone)
{
    Result result;
    result.error = structuralError(text);
    if (!result.error.isEmpty())
        return result;

    const QMutexLocker locker(&libicalMutex);
    icalerror_set_errors_are_fatal(0);
    const ComponentPtr root(icalparser_parse_string(text.constData()));
    if (!root) {
        result.error = QStringLiteral("libical could not parse the file");
        return result;
    }
    const std::vector<icalcomponent *> calendars = calendarsIn(root.get());
    if (calendars.empty()) {
        result.error = QStringLiteral("the file holds no VCALENDAR");
        return result;
    }
    Budget budget;
    budget.clock.start();
    int truncatedRules = 0;
    QString firstTruncation;
    for (icalcomponent *calendar : calendars) {
        Expander expander(calendar, from.toUTC(), to.toUTC(), localZone, budget);
        expander.collectOverrides();
        for (icalcomponent *event =
                 icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
             event; event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
            expander.expand(event);
        result.events.append(expander.events);
        if (truncatedRules == 0)
            firstTruncation = expander.firstTruncation;
        truncatedRules += expander.truncatedRules;
    }
    // One line per file, however many rules it holds.
    if (truncatedRules > 0) {
        result.isTruncated = true;
        qCWarning(lcPlatform).noquote()
            << "ICalendarParser:" << truncatedRules
            << "recurring events not expanded in full; the first:" << firstTruncation;
    }
    std::stable_sort(
        result.events.begin(), result.events.end(),
        [](const CalendarEvent &a, const CalendarEvent &b) { return a.start < b.start; });
    result.isValid = true;
    return result;
}
