#include "platform/calendarlocation.h"
#include "platform/linux/icalendarstore.h"
#include "standins/standinhttpserver.h"

#include <algorithm>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <memory>

namespace {
// The weekly meeting of weekly.ics is on, 09:00-10:00 UTC.
const QDateTime now(QDate(2024, 1, 9), QTime(9, 30), QTimeZone::utc());

QByteArray calendarFile(const QString &name)
{
    QFile file(QFINDTESTDATA(QStringLiteral("../data/calendar/") + name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test calendar %s", qPrintable(name));
    return file.readAll();
}

QByteArray singleEvent(const QByteArray &title, const QByteArray &uid = "single")
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\nBEGIN:VEVENT\r\nUID:" + uid +
           "\r\nSUMMARY:" + title +
           "\r\nDTSTART:20240109T090000Z\r\nDTEND:20240109T100000Z\r\nEND:VEVENT\r\n"
           "END:VCALENDAR\r\n";
}

// About 10 MB of one-hour events spread over years, recurring ones among
// them, and one in progress at `now`.
QByteArray hugeCalendar()
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//huge//EN\r\n";
    const QDateTime first(QDate(2015, 1, 1), QTime(8, 0), QTimeZone::utc());
    for (int i = 0; text.size() < 10 * 1024 * 1024; ++i) {
        const QDateTime start = first.addSecs(qint64(i) * 7 * 3600);
        text += "BEGIN:VEVENT\r\nUID:huge-" + QByteArray::number(i) +
                "\r\nDTSTAMP:20240101T000000Z\r\nSUMMARY:Filler event number " +
                QByteArray::number(i) + "\r\nDESCRIPTION:" + QByteArray(120, 'x') +
                "\r\nDTSTART:" + start.toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1() +
                "\r\nDURATION:PT1H\r\nTRANSP:TRANSPARENT\r\n" +
                (i % 50 == 0 ? QByteArray("RRULE:FREQ=WEEKLY;COUNT=20\r\n") : QByteArray()) +
                "END:VEVENT\r\n";
    }
    text += "BEGIN:VEVENT\r\nUID:huge-focus\r\nSUMMARY:Huge file focus\r\n"
            "DTSTART:20240109T091500Z\r\nDTEND:20240109T094500Z\r\nEND:VEVENT\r\n"
            "END:VCALENDAR\r\n";
    return text;
}

int requestsFor(const StandinHttpServer &server, const QByteArray &path)
{
    return int(std::count_if(server.requests().cbegin(), server.requests().cend(),
                             [&](const auto &request) { return request.path == path; }));
}

QString closedPortUrl()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1/gone.ics").arg(port);
}
} // namespace

// The iCalendar store on real files and on addresses served from 127.0.0.1,
// bad input included.
class TestICalendarStore : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_sources;
    QPointer<ICalendarStore> m_store;
    std::unique_ptr<QNetworkAccessManager> m_network;

    QString writeFile(const QString &name, const QByteArray &text)
    {
        const QString path = m_dir->filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    void setSources(const QStringList &sources)
    {
        m_sources = sources;
        if (m_store)
            m_store->setLocations(sources);
    }

    std::unique_ptr<ICalendarStore> makeStore(qint64 maximumSize = 32 * 1024 * 1024)
    {
        ICalendarStore::Options options;
        options.cacheDirectory = m_dir->filePath(QStringLiteral("cache"));
        options.clock = [] {
            return now;
        };
        options.localZone = QTimeZone("Europe/Prague");
        options.maximumSourceSize = maximumSize;
        auto store = std::make_unique<ICalendarStore>(*m_network, options);
        store->setLocations(m_sources);
        m_store = store.get();
        return store;
    }

    static bool waitLoaded(ICalendarStore &store)
    {
        if (!store.isLoading())
            return true;
        QSignalSpy finished(&store, &ICalendarStore::loadingFinished);
        return finished.wait(20000);
    }

    static QStringList titlesNow(const ICalendarStore &store)
    {
        QStringList titles;
        for (const CalendarEvent &event : store.events(now.addSecs(-60), now.addSecs(60)))
            titles.append(event.title);
        return titles;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_sources.clear();
        m_network = std::make_unique<QNetworkAccessManager>();
    }

    void cleanup()
    {
        m_network.reset();
        m_dir.reset();
    }

    void readsFilesAndAddresses()
    {
        StandinHttpServer server;
        QVERIFY(server.listen());
        server.setReply("/team.ics", 200, "text/calendar", singleEvent("Remote planning"));
        const QString unreachable = closedPortUrl();
        setSources({QFINDTESTDATA("../data/calendar/weekly.ics"),
                    server.url(QStringLiteral("/team.ics")).toString(), unreachable,
                    QStringLiteral("relative/path.ics")});

        const auto store = makeStore();
        QVERIFY(store->isLoading());
        QVERIFY(waitLoaded(*store));
        QVERIFY(store->hasFullAccess());
        QCOMPARE(titlesNow(*store),
                 QStringList({QStringLiteral("Team Meeting"), QStringLiteral("Remote planning")}));

        const QList<ICalendarStore::SourceState> states = store->sourceStates();
        QCOMPARE(states.size(), 4);
        QVERIFY(states[0].isReadable && states[0].error.isEmpty());
        QVERIFY(states[1].isReadable && states[1].error.isEmpty());
        QCOMPARE(states[2].location, unreachable);
        QVERIFY(!states[2].isReadable);
        QVERIFY(!states[2].error.isEmpty());
        QVERIFY(!states[3].isReadable);
        QVERIFY(states[3].error.contains(QStringLiteral("absolute")));
    }

    void badInputKeepsTheGoodSources()
    {
        const QByteArray good = calendarFile(QStringLiteral("weekly.ics"));
        const QByteArray huge = hugeCalendar();
        QByteArray binary(4096, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char((i * 7919) & 0xff);
        setSources({writeFile(QStringLiteral("truncated.ics"),
                              good.left(good.indexOf("TRANSP:TRANSPARENT"))),
                    writeFile(QStringLiteral("binary.ics"), binary),
                    writeFile(QStringLiteral("huge.ics"), huge),
                    writeFile(QStringLiteral("missing-then-gone.ics"), good),
                    QFINDTESTDATA("../data/calendar/floating.ics")});
        QFile::remove(m_dir->filePath(QStringLiteral("missing-then-gone.ics")));

        QElapsedTimer clock;
        clock.start();
        const auto store = makeStore();
        // Reading happened; parsing did not block the constructor.
        QVERIFY(store->isLoading());
        QVERIFY(waitLoaded(*store));
        qInfo("10 MB source (%lld bytes) read, parsed and expanded on the worker in %lld ms",
              qint64(huge.size()), clock.elapsed());

        QVERIFY(store->hasFullAccess());
        QCOMPARE(titlesNow(*store), QStringList({QStringLiteral("Huge file focus")}));
        const QList<ICalendarStore::SourceState> states = store->sourceStates();
        QVERIFY(states[0].error.contains(QStringLiteral("incomplete")));
        QVERIFY(states[1].error.contains(QStringLiteral("not a text file")));
        QVERIFY(states[2].isReadable);
        QVERIFY(states[3].error.contains(QStringLiteral("no such file")));
        QVERIFY(states[4].isReadable);
        for (int i : {0, 1, 3})
            QVERIFY(!states[i].isReadable);
    }

    void refusesSourcesOverTheLimit()
    {
        StandinHttpServer server;
        QVERIFY(server.listen());
        server.setReply("/big.ics", 200, "text/calendar",
                        calendarFile(QStringLiteral("weekly.ics")));
        setSources({QFINDTESTDATA("../data/calendar/weekly.ics"),
                    server.url(QStringLiteral("/big.ics")).toString()});
        const auto store = makeStore(200);
        QVERIFY(waitLoaded(*store));
        QVERIFY(!store->hasFullAccess());
        for (const ICalendarStore::SourceState &state : store->sourceStates())
            QVERIFY2(state.error.contains(QStringLiteral("larger than")), qPrintable(state.error));
    }

    void addressesKeepTheirLastGoodCopy()
    {
        StandinHttpServer server;
        QVERIFY(server.listen());
        server.setReply("/team.ics", 200, "text/calendar", singleEvent("Remote planning"),
                        "\"v1\"");
        setSources({server.url(QStringLiteral("/team.ics")).toString()});
        {
            const auto store = makeStore();
            QVERIFY(waitLoaded(*store));
            QCOMPARE(titlesNow(*store), QStringList{QStringLiteral("Remote planning")});

            // The check reads the parsed copy only.
            for (int i = 0; i < 10; ++i)
                (void)store->events(now.addSecs(-60), now.addSecs(60));
            QCOMPARE(requestsFor(server, "/team.ics"), 1);

            // Unchanged on the server (304), then replaced by a portal's page.
            store->refresh();
            QVERIFY(waitLoaded(*store));
            QCOMPARE(requestsFor(server, "/team.ics"), 2);
            QCOMPARE(titlesNow(*store), QStringList{QStringLiteral("Remote planning")});
            server.setReply("/team.ics", 200, "text/calendar", "<html>Log in to the Wi-Fi</html>");
            store->refresh();
            QVERIFY(waitLoaded(*store));
            QCOMPARE(requestsFor(server, "/team.ics"), 3);
            QVERIFY(store->hasFullAccess());
            QCOMPARE(titlesNow(*store), QStringList{QStringLiteral("Remote planning")});
        }

        // Offline at the next start: the cache file serves at once.
        server.close();
        const auto store = makeStore();
        QVERIFY(waitLoaded(*store));
        QVERIFY(store->hasFullAccess());
        QCOMPARE(titlesNow(*store), QStringList{QStringLiteral("Remote planning")});
        QVERIFY(!store->sourceStates().constFirst().error.isEmpty());
    }

    void storedLocationsSkipCommentsBlanksAndRepeats()
    {
        const QString stored = QStringLiteral("# work\n /a.ics \n\nhttps://x.org/b.ics\n/a.ics\n");
        QCOMPARE(CalendarLocation::locations(stored),
                 (QStringList{QStringLiteral("/a.ics"), QStringLiteral("https://x.org/b.ics")}));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("is not text")));
        QVERIFY(CalendarLocation::locations(QVariant(qint64(3))).isEmpty());
        QVERIFY(CalendarLocation::locations(QVariant()).isEmpty());
    }

    void followsTheLocations()
    {
        const auto store = makeStore();
        QVERIFY(!store->hasFullAccess());
        QSignalSpy accessChanged(store.get(), &CalendarStore::accessChanged);

        setSources({QFINDTESTDATA("../data/calendar/weekly.ics")});
        QVERIFY(waitLoaded(*store));
        QVERIFY(store->hasFullAccess());
        QCOMPARE(accessChanged.size(), 1);

        setSources({writeFile(QStringLiteral("other.ics"), singleEvent("Focus"))});
        QVERIFY(waitLoaded(*store));
        QCOMPARE(titlesNow(*store), QStringList{QStringLiteral("Focus")});

        setSources({});
        QVERIFY(!store->hasFullAccess());
        QCOMPARE(accessChanged.size(), 2);
        QVERIFY(store->events(now.addDays(-1), now.addDays(1)).isEmpty());
    }

    void requestAccessAnswersWhetherASourceReads_data()
    {
        QTest::addColumn<bool>("withUnreachable");
        QTest::addColumn<bool>("withGoodSource");
        QTest::addRow("no sources") << false << false;
        QTest::addRow("only an unreachable address") << true << false;
        QTest::addRow("an unreachable address and a file") << true << true;
    }

    void requestAccessAnswersWhetherASourceReads()
    {
        QFETCH(bool, withUnreachable);
        QFETCH(bool, withGoodSource);
        QStringList sources;
        if (withUnreachable)
            sources.append(closedPortUrl());
        if (withGoodSource)
            sources.append(QFINDTESTDATA("../data/calendar/weekly.ics"));
        setSources(sources);
        const auto store = makeStore();
        QVERIFY(waitLoaded(*store));

        QObject context;
        std::optional<bool> answer;
        store->requestFullAccess(&context, [&](bool granted) { answer = granted; });
        QVERIFY(!answer.has_value());
        QTRY_VERIFY(answer.has_value());
        QCOMPARE(*answer, withGoodSource);
        QCOMPARE(store->hasFullAccess(), withGoodSource);

        // Nobody left to answer: the request is dropped.
        {
            QObject gone;
            store->requestFullAccess(&gone, [](bool) { QFAIL("answered a destroyed context"); });
        }
        QVERIFY(waitLoaded(*store));
    }
};

QTEST_GUILESS_MAIN(TestICalendarStore)
#include "tst_icalendarstore.moc"
