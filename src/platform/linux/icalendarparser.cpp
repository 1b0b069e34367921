#include "icalendarparser.h"

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QtDebug>

#include <libical/ical.h>

#include <algorithm>
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

class Expander
{
public:
    Expander(icalcomponent *calendar, const QDateTime &from, const QDateTime &to,
             const QTimeZone &localZone)
        : m_calendar(calendar)
        , m_from(from)
        , m_to(to)
        , m_localZone(localZone)
    {}

    void collectOverrides();
    void expand(icalcomponent *event);

    QList<CalendarEvent> events;

private:
    Zone zoneOf(icalproperty *property) const;
    [[nodiscard]] QDateTime toDateTime(icaltimetype time, const Zone &zone) const;
    [[nodiscard]] QDateTime propertyTime(icalproperty *property) const;
    void add(const CalendarEvent &occurrence);

    icalcomponent *m_calendar;
    QDateTime m_from;
    QDateTime m_to;
    QTimeZone m_localZone;
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
    const QDateTime asUtc(date, time, Qt::UTC);
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
    qWarning() << "ICalendarParser: unknown time zone" << tzid << "- taking its times as local";
    return zone;
}

QDateTime Expander::toDateTime(icaltimetype time, const Zone &zone) const
{
    if (time.is_date)
        return inZone(dateOf(time), QTime(0, 0), m_localZone).toUTC();
    if (icaltime_is_utc(time))
        return QDateTime(dateOf(time), timeOf(time), Qt::UTC);
    switch (zone.kind) {
    case Zone::Kind::Ical: {
        time.zone = nullptr;
        const time_t seconds = icaltime_as_timet_with_zone(time, zone.ical);
        return QDateTime::fromSecsSinceEpoch(qint64(seconds), Qt::UTC);
    }
    case Zone::Kind::System:
        return inZone(dateOf(time), timeOf(time), zone.system).toUTC();
    case Zone::Kind::Utc:
        return QDateTime(dateOf(time), timeOf(time), Qt::UTC);
    case Zone::Kind::Floating:
        break;
    }
    return inZone(dateOf(time), timeOf(time), m_localZone).toUTC();
}

QDateTime Expander::propertyTime(icalproperty *property) const
{
    return toDateTime(icalvalue_get_datetime(icalproperty_get_value(property)), zoneOf(property));
}

void Expander::add(const CalendarEvent &occurrence)
{
    // Qt compares an invalid QDateTime as some instant or other; an
    // occurrence on a day that does not exist has no place in time.
    if (!occurrence.start.isValid() || !occurrence.end.isValid())
        return;
    if (occurrence.start < m_to && occurrence.end > m_from)
        events.append(occurrence);
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
        placed.insert(occurrence);
        add(occurrenceAt(occurrence));
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
        std::unique_ptr<icalrecur_iterator, RecurIteratorDeleter> iterator(
            icalrecur_iterator_new(recurrence, local));
        int iterations = 0;
        for (icaltimetype next = iterator ? icalrecur_iterator_next(iterator.get())
                                          : icaltime_null_time();
             !icaltime_is_null_time(next); next = icalrecur_iterator_next(iterator.get())) {
            const QDateTime occurrence = toDateTime(next, zone);
            if ((until && occurrence > *until) || occurrence >= m_to)
                break;
            if (++iterations > ICalendarParser::maximumIterations) {
                qWarning() << "ICalendarParser: stopped expanding" << uidOf(event) << "after"
                           << ICalendarParser::maximumIterations << "occurrences";
                break;
            }
            addOccurrence(occurrence);
        }
        if (!iterator)
            addOccurrence(start);
    } else {
        // DTSTART is always the first instance; RDATEs alone only add to it.
        addOccurrence(start);
    }
    for (const QDateTime &occurrence : std::as_const(rdates))
        addOccurrence(occurrence);
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
    for (icalcomponent *calendar : calendars) {
        Expander expander(calendar, from.toUTC(), to.toUTC(), localZone);
        expander.collectOverrides();
        for (icalcomponent *event =
                 icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
             event; event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
            expander.expand(event);
        result.events.append(expander.events);
    }
    std::stable_sort(
        result.events.begin(), result.events.end(),
        [](const CalendarEvent &a, const CalendarEvent &b) { return a.start < b.start; });
    result.isValid = true;
    return result;
}
