#pragma once

#include "platform/calendarstore.h"

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <QTimeZone>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ICalendarSource;
class QNetworkAccessManager;

// The calendars the user subscribed to (file paths or http(s) addresses,
// handed over by setLocations()), read with libical.
//
// Sources are read at start, every few minutes and on an access request;
// events() only ever reads what the last parse left, so the 30-second check
// never waits for a disk or the network. Parsing runs on a worker thread: a
// huge file costs that thread time, never the user interface. Occurrences are
// expanded for a horizon of days around the present and expanded again as
// the present moves on or the system time zone changes.
//
// Access is granted while at least one configured source could be read.
class ICalendarStore : public CalendarStore
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ICalendarStore)

public:
    struct Options
    {
        std::chrono::milliseconds refreshInterval = std::chrono::minutes(5);
        // Empty: $XDG_CACHE_HOME/vostrel/calendars.
        QString cacheDirectory;
        // A larger file or download is refused.
        qint64 maximumSourceSize = 32 * 1024 * 1024;
        // Empty: the system clock.
        std::function<QDateTime()> clock;
        // Empty: the system time zone, looked up at each expansion.
        std::optional<QTimeZone> localZone;
    };

    struct SourceState
    {
        QString location;
        // Its events are in use.
        bool isReadable = false;
        // Why the last read or parse failed; empty when it succeeded.
        QString error;
    };

    // Occurrences are known from this far before the present...
    static constexpr std::chrono::hours horizonBefore{48};
    // ...to this far after it, and expanded again once the present has moved
    // by a day.
    static constexpr std::chrono::hours horizonAfter{24 * 9};

    // Reads nothing until it is given locations.
    explicit ICalendarStore(QNetworkAccessManager &network, QObject *parent = nullptr);
    explicit ICalendarStore(QNetworkAccessManager &network, Options options,
                            QObject *parent = nullptr);
    ~ICalendarStore() override;

    [[nodiscard]] bool hasFullAccess() const override { return m_hasFullAccess; }
    // Reads every source again; answers once all of them have been read and
    // parsed.
    void requestFullAccess(const QObject *context,
                           std::function<void(bool granted)> completion) override;
    [[nodiscard]] QList<CalendarEvent> events(const QDateTime &from,
                                              const QDateTime &to) const override;

    // The sources to read, in this order: new ones are read at once, the
    // ones kept keep what they hold, the others go.
    void setLocations(const QStringList &locations);
    // The refresh timer's callback: reads every source again and parses what
    // changed.
    void refresh();
    // A source is being read or parsed.
    [[nodiscard]] bool isLoading() const;
    // In the order of the locations.
    [[nodiscard]] QList<SourceState> sourceStates() const;

    [[nodiscard]] static QString defaultCacheDirectory();

Q_SIGNALS:
    // Every source has been read and parsed.
    void loadingFinished();

private:
    struct Entry;
    struct Request
    {
        QPointer<const QObject> context;
        std::function<void(bool)> completion;
    };

    void sourceFinished(ICalendarSource *source);
    void parse(Entry &entry);
    void parsed(quint64 job, bool isValid, const QString &error,
                const QList<CalendarEvent> &events);
    void settle();
    [[nodiscard]] Entry *entryFor(const ICalendarSource *source);
    [[nodiscard]] QDateTime now() const;
    [[nodiscard]] QTimeZone localZone() const;

    QNetworkAccessManager &m_network;
    Options m_options;
    QStringList m_locations;
    std::vector<std::unique_ptr<Entry>> m_entries;
    QList<Request> m_requests;
    QTimer m_refreshTimer;
    bool m_hasFullAccess = false;
    quint64 m_nextJob = 1;
    // Declared last, so its threads are joined before anything they report to
    // goes away.
    QThreadPool m_parsers;
};
