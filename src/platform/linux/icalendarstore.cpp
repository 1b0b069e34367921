#include "platform/linux/icalendarstore.h"

#include "platform/linux/icalendarparser.h"
#include "platform/linux/icalendarsource.h"
#include "platform/platformlog.h"

#include <QStandardPaths>
#include <QtDebug>

#include <algorithm>

struct ICalendarStore::Entry
{
    std::unique_ptr<ICalendarSource> source;
    // The parse under way (0: none) and the source revision it reads.
    quint64 job = 0;
    quint64 jobRevision = 0;
    // What the events below were expanded from.
    quint64 parsedRevision = 0;
    QDateTime anchor;
    QTimeZone zone;
    bool isParsed = false;
    QString parseError;
    QList<CalendarEvent> events;
};

namespace {} // namespace

ICalendarStore::ICalendarStore(QNetworkAccessManager &network, QObject *parent)
    : ICalendarStore(network, Options(), parent)
{}

ICalendarStore::ICalendarStore(QNetworkAccessManager &network, Options options, QObject *parent)
    : CalendarStore(parent)
    , m_network(network)
    , m_options(std::move(options))
{
    if (m_options.cacheDirectory.isEmpty())
        m_options.cacheDirectory = defaultCacheDirectory();
    // libical is serialised anyway; one worker keeps a huge file from taking
    // both cores away from the rest of the desktop.
    m_parsers.setMaxThreadCount(1);

    m_refreshTimer.setInterval(m_options.refreshInterval);
    connect(&m_refreshTimer, &QTimer::timeout, this, &ICalendarStore::refresh);
    m_refreshTimer.start();
    refresh();
}

ICalendarStore::~ICalendarStore()
{
    m_parsers.clear();
    m_parsers.waitForDone();
}

QString ICalendarStore::defaultCacheDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/vostrel/calendars");
}

void ICalendarStore::requestFullAccess(const QObject *context, std::function<void(bool)> completion)
{
    m_requests.append({context, std::move(completion)});
    refresh();
    if (!isLoading())
        QTimer::singleShot(0, this, &ICalendarStore::settle);
}

QList<CalendarEvent> ICalendarStore::events(const QDateTime &from, const QDateTime &to) const
{
    QList<CalendarEvent> overlapping;
    for (const std::unique_ptr<Entry> &entry : m_entries) {
        for (const CalendarEvent &event : std::as_const(entry->events)) {
            if (event.start < to && event.end > from)
                overlapping.append(event);
        }
    }
    return overlapping;
}

void ICalendarStore::refresh()
{
    for (const std::unique_ptr<Entry> &entry : m_entries)
        entry->source->read();
}

bool ICalendarStore::isLoading() const
{
    return std::any_of(m_entries.cbegin(), m_entries.cend(), [](const auto &entry) {
        return entry->job != 0 || entry->source->isReading();
    });
}

QList<ICalendarStore::SourceState> ICalendarStore::sourceStates() const
{
    QList<SourceState> states;
    for (const std::unique_ptr<Entry> &entry : m_entries) {
        const QString error = !entry->source->errorString().isEmpty() ? entry->source->errorString()
                                                                      : entry->parseError;
        states.append({entry->source->location(), entry->isParsed, error});
    }
    return states;
}

void ICalendarStore::setLocations(const QStringList &locations)
{
    if (locations == m_locations)
        return;
    m_locations = locations;

    std::vector<std::unique_ptr<Entry>> entries;
    for (const QString &location : locations) {
        auto kept = std::find_if(m_entries.begin(), m_entries.end(), [&](const auto &entry) {
            return entry && entry->source->location() == location;
        });
        if (kept != m_entries.end()) {
            entries.push_back(std::move(*kept));
            continue;
        }
        auto entry = std::make_unique<Entry>();
        entry->source = std::make_unique<ICalendarSource>(
            location, m_network, m_options.cacheDirectory, m_options.maximumSourceSize);
        ICalendarSource *source = entry->source.get();
        connect(source, &ICalendarSource::finished, this,
                [this, source] { sourceFinished(source); });
        // A cached copy of an address is usable before the network answers.
        if (source->hasText())
            parse(*entry);
        source->read();
        entries.push_back(std::move(entry));
    }
    // Sources no longer listed go now; their parses still running are
    // recognised by their job number and dropped.
    m_entries = std::move(entries);
    settle();
}

void ICalendarStore::sourceFinished(ICalendarSource *source)
{
    Entry *entry = entryFor(source);
    if (!entry)
        return;
    if (!source->hasText()) {
        entry->job = 0;
        entry->parsedRevision = source->revision();
        entry->isParsed = false;
        entry->parseError.clear();
        entry->events.clear();
    } else {
        const quint64 revision = entry->job ? entry->jobRevision : entry->parsedRevision;
        const bool isStale = !entry->anchor.isValid() ||
                             qAbs(entry->anchor.secsTo(now())) > 24 * 3600 ||
                             entry->zone != localZone();
        if (revision != source->revision() || (!entry->job && isStale))
            parse(*entry);
    }
    settle();
}

void ICalendarStore::parse(Entry &entry)
{
    const quint64 job = m_nextJob++;
    entry.job = job;
    entry.jobRevision = entry.source->revision();
    entry.anchor = now();
    entry.zone = localZone();
    const QByteArray text = entry.source->text();
    const QDateTime from = entry.anchor.addSecs(-std::chrono::seconds(horizonBefore).count());
    const QDateTime to = entry.anchor.addSecs(std::chrono::seconds(horizonAfter).count());
    const QTimeZone zone = entry.zone;
    m_parsers.start([this, job, text, from, to, zone] {
        const ICalendarParser::Result result = ICalendarParser::parse(text, from, to, zone);
        QMetaObject::invokeMethod(
            this, [this, job, result] { parsed(job, result.isValid, result.error, result.events); },
            Qt::QueuedConnection);
    });
}

void ICalendarStore::parsed(quint64 job, bool isValid, const QString &error,
                            const QList<CalendarEvent> &events)
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [job](const auto &entry) { return entry->job == job; });
    if (found == m_entries.end())
        return;
    Entry &entry = **found;
    entry.job = 0;
    entry.parsedRevision = entry.jobRevision;
    entry.isParsed = isValid;
    entry.parseError = error;
    entry.events = events;
    if (!isValid)
        qCWarning(lcPlatform).noquote()
            << "Calendar source" << entry.source->location() << "could not be parsed:" << error;
    settle();
}

void ICalendarStore::settle()
{
    const bool granted = std::any_of(m_entries.cbegin(), m_entries.cend(),
                                     [](const auto &entry) { return entry->isParsed; });
    const bool isLoading = this->isLoading();
    // Access is withdrawn only once nothing is loading, so swapping one
    // source for another does not make it flicker.
    if (granted != m_hasFullAccess && (granted || !isLoading)) {
        m_hasFullAccess = granted;
        Q_EMIT accessChanged();
    }
    if (isLoading)
        return;
    const QList<Request> requests = std::exchange(m_requests, {});
    for (const Request &request : requests) {
        if (request.context)
            request.completion(m_hasFullAccess);
    }
    Q_EMIT loadingFinished();
}

ICalendarStore::Entry *ICalendarStore::entryFor(const ICalendarSource *source)
{
    for (const std::unique_ptr<Entry> &entry : m_entries) {
        if (entry->source.get() == source)
            return entry.get();
    }
    return nullptr;
}

QDateTime ICalendarStore::now() const
{
    return m_options.clock ? m_options.clock() : QDateTime::currentDateTimeUtc();
}

QTimeZone ICalendarStore::localZone() const
{
    return m_options.localZone.value_or(QTimeZone::systemTimeZone());
}
