#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/linux/icalendarstore.h"
#include "triggers/calendartambermanager.h"
#include "triggers/locktarget.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QDateTime now(QDate(2024, 1, 9), QTime(12, 15), Qt::UTC);

QByteArray lunch(const QByteArray &transp)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\nBEGIN:VEVENT\r\nUID:lunch\r\n"
           "SUMMARY:Lunch\r\nDTSTART:20240109T120000Z\r\nDTEND:20240109T130000Z\r\n" +
           transp + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}
} // namespace

// The manager over the real iCalendar store: bad files never lock by mistake.
class TestCalendarLockFromFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void badOrFreeEventsDoNotLock_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("hasAccess");
        QTest::addColumn<int>("locks");

        const QByteArray freeLunch = lunch("TRANSP:TRANSPARENT\r\n");
        QTest::addRow("free lunch") << freeLunch << true << 0;
        QTest::addRow("free lunch cut before TRANSP")
            << freeLunch.left(freeLunch.indexOf("TRANSP")) << false << 0;
        QTest::addRow("binary") << QByteArray(2048, '\x01').append('\0') << false << 0;
        QTest::addRow("busy lunch") << lunch({}) << true << 1;
    }

    void badOrFreeEventsDoNotLock()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, hasAccess);
        QFETCH(int, locks);

        QTemporaryDir dir;
        Preferences defaults(dir.filePath(QStringLiteral("d.json")));
        QFile file(dir.filePath(QStringLiteral("calendar.ics")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        defaults.setString(PreferenceKey::calendarSources, file.fileName());
        defaults.setBool(PreferenceKey::calendarTamberEnabled, true);

        QNetworkAccessManager network;
        ICalendarStore::Options options;
        options.cacheDirectory = dir.filePath(QStringLiteral("cache"));
        options.clock = [] {
            return now;
        };
        ICalendarStore store(defaults, network, options);
        int raised = 0;
        bool active = false;
        LockTarget lock([&] { return active; },
                        [&] {
                            ++raised;
                            active = true;
                        });
        CalendarTamberManager manager(store, defaults, lock, [] { return now; });
        QSignalSpy loaded(&store, &ICalendarStore::loadingFinished);
        QVERIFY(loaded.wait(10000));
        QCOMPARE(manager.hasAccess(), hasAccess);
        QCOMPARE(manager.isMonitoring(), hasAccess);
        manager.checkEvents();
        QCOMPARE(raised, locks);
    }
};

QTEST_GUILESS_MAIN(TestCalendarLockFromFiles)
#include "tst_calendarlockfromfiles.moc"
