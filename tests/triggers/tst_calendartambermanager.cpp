#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/fakes/fakecalendarstore.h"
#include "triggers/calendartambermanager.h"
#include "triggers/locktarget.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <memory>

using Availability = CalendarEvent::Availability;

namespace {
const QDateTime start = QDateTime(QDate(2024, 3, 12), QTime(10, 0), QTimeZone::utc());

CalendarEvent entry(const QString &title, qint64 startOffset, qint64 endOffset,
                    Availability availability = Availability::Busy)
{
    return {start.addSecs(startOffset), start.addSecs(endOffset), title, availability};
}
} // namespace

// Matching and the one-lock-per-run rule over a fake calendar, with the clock
// and the overlay in the test's hands.
class TestCalendarTamberManager : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_defaults;
    std::unique_ptr<FakeCalendarStore> m_store;
    std::unique_ptr<CalendarTamberManager> m_manager;
    QDateTime m_now;
    bool m_overlayActive = false;
    bool m_refused = false;
    int m_locks = 0;

    LockTarget m_lock{[this] { return m_overlayActive; },
                      [this] {
                          if (m_refused)
                              return;
                          ++m_locks;
                          m_overlayActive = true;
                      }};

    void create()
    {
        m_manager = std::make_unique<CalendarTamberManager>(*m_store, *m_defaults, m_lock,
                                                            [this] { return m_now; });
    }

    // The feature on, access granted, the clock at the test's start.
    void createMonitoring()
    {
        m_defaults->setBool(PreferenceKey::calendarTamberEnabled, true);
        m_store->setFullAccess(true);
        create();
        QVERIFY(m_manager->isMonitoring());
    }

    void unlock() { m_overlayActive = false; }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_defaults = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("d.json")));
        m_store = std::make_unique<FakeCalendarStore>();
        m_now = start;
        m_overlayActive = false;
        m_refused = false;
        m_locks = 0;
    }

    void cleanup()
    {
        m_manager.reset();
        m_store.reset();
        m_defaults.reset();
        m_dir.reset();
    }

    void matching_data()
    {
        QTest::addColumn<QList<CalendarEvent>>("events");
        QTest::addColumn<bool>("locks");
        QTest::addColumn<QString>("currentEvent");

        QTest::addRow("Team Meeting marked free, started a minute ago")
            << QList<CalendarEvent>{entry(QStringLiteral("Team Meeting"), -60, 1800,
                                          Availability::Free)}
            << true << "Team Meeting";
        QTest::addRow("Lunch marked busy")
            << QList<CalendarEvent>{entry(QStringLiteral("Lunch"), -60, 1800)} << true << "Lunch";
        for (const char *title : {"FOCUS time", "DnD", "Deep Work"})
            QTest::addRow("keyword in %s, free", title)
                << QList<CalendarEvent>{entry(QString::fromUtf8(title), -60, 60,
                                              Availability::Free)}
                << true << QString::fromUtf8(title);
        QTest::addRow("deep  work with two spaces is no keyword")
            << QList<CalendarEvent>{entry(QStringLiteral("deep  work"), -60, 60,
                                          Availability::Free)}
            << false << "";
        QTest::addRow("untitled busy event")
            << QList<CalendarEvent>{entry(QString(), -60, 60)} << true << "";
        QTest::addRow("starts in 30 s")
            << QList<CalendarEvent>{entry(QStringLiteral("Focus"), 30, 1800)} << false << "";
        QTest::addRow("ends exactly now")
            << QList<CalendarEvent>{entry(QStringLiteral("Focus"), -1800, 0)} << false << "";
        QTest::addRow("first match in store order wins")
            << QList<CalendarEvent>{entry(QStringLiteral("Lunch"), -60, 60, Availability::Free),
                                    entry(QStringLiteral("Design review"), -120, 60),
                                    entry(QStringLiteral("Focus"), -30, 60)}
            << true << "Design review";
    }

    void matching()
    {
        QFETCH(QList<CalendarEvent>, events);
        QFETCH(bool, locks);
        QFETCH(QString, currentEvent);

        m_store->setEvents(events);
        createMonitoring();
        QCOMPARE(m_locks, locks ? 1 : 0);
        QCOMPARE(m_manager->isCalendarLocked(), locks);
        QCOMPARE(m_manager->currentEventValue(), locks ? QVariant(currentEvent) : QVariant());
        // One query per check, for now ± 60 s.
        QCOMPARE(m_store->queries().size(), 1);
        QCOMPARE(m_store->queries().constFirst().from, start.addSecs(-60));
        QCOMPARE(m_store->queries().constFirst().to, start.addSecs(60));
    }

    void eventStartingSoonLocksOnceStarted()
    {
        m_store->setEvents({entry(QStringLiteral("Focus"), 30, 1800)});
        createMonitoring();
        QCOMPARE(m_locks, 0);
        m_now = start.addSecs(30);
        m_manager->checkEvents();
        QCOMPARE(m_locks, 1);
    }

    void onceLockPerRunOfMatchingEvents()
    {
        // Two overlapping matching events, a gap, then a third.
        m_store->setEvents({entry(QStringLiteral("Focus"), 0, 600),
                            entry(QStringLiteral("Meeting"), 300, 900),
                            entry(QStringLiteral("Deep work"), 1200, 1800)});
        createMonitoring();
        QCOMPARE(m_locks, 1);
        QCOMPARE(m_manager->currentEvent(), QStringLiteral("Focus"));

        unlock();
        for (qint64 at : {30, 330, 630, 870}) {
            m_now = start.addSecs(at);
            m_manager->checkEvents();
            QCOMPARE(m_locks, 1);
            QVERIFY(!m_overlayActive);
        }
        QSignalSpy currentChanged(m_manager.get(), &CalendarTamberManager::currentEventChanged);
        m_now = start.addSecs(930);
        m_manager->checkEvents();
        QVERIFY(!m_manager->isCalendarLocked());
        QVERIFY(!m_manager->currentEvent().has_value());
        QCOMPARE(currentChanged.size(), 1);

        m_now = start.addSecs(1230);
        m_manager->checkEvents();
        QCOMPARE(m_locks, 2);
        QCOMPARE(m_manager->currentEvent(), QStringLiteral("Deep work"));
    }

    void lockRaisedElsewhereLeavesTheFlagDown()
    {
        m_store->setEvents({entry(QStringLiteral("Focus"), -60, 1800)});
        m_overlayActive = true;
        createMonitoring();
        QCOMPARE(m_locks, 0);
        QVERIFY(!m_manager->isCalendarLocked());
        QVERIFY(!m_manager->currentEvent().has_value());

        // Unlocked inside the event: the next check brings the lock back.
        unlock();
        m_now = start.addSecs(30);
        m_manager->checkEvents();
        QCOMPARE(m_locks, 1);
        QVERIFY(m_manager->isCalendarLocked());
    }

    // No PIN yet when the event starts: one chosen during it brings the lock.
    void aRefusedLockIsTriedAgainInsideTheEvent()
    {
        m_store->setEvents({entry(QStringLiteral("Focus"), -60, 1800)});
        m_refused = true;
        createMonitoring();
        QCOMPARE(m_locks, 0);
        QVERIFY(!m_manager->isCalendarLocked());
        QVERIFY(!m_manager->currentEvent().has_value());

        m_refused = false;
        m_now = start.addSecs(30);
        m_manager->checkEvents();
        QCOMPARE(m_locks, 1);
        QVERIFY(m_manager->isCalendarLocked());
    }

    void calendarNeverLowersTheLock()
    {
        m_store->setEvents({entry(QStringLiteral("Focus"), -60, 60)});
        createMonitoring();
        m_now = start.addSecs(120);
        m_manager->checkEvents();
        QVERIFY(!m_manager->isCalendarLocked());
        QVERIFY(m_overlayActive);
    }

    void checksNothingWhenOffOrWithoutAccess_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("access");
        QTest::addRow("off") << false << true;
        QTest::addRow("no access") << true << false;
    }

    void checksNothingWhenOffOrWithoutAccess()
    {
        QFETCH(bool, enabled);
        QFETCH(bool, access);

        m_store->setEvents({entry(QStringLiteral("Focus"), -60, 60)});
        m_defaults->setBool(PreferenceKey::calendarTamberEnabled, enabled);
        m_store->setFullAccess(access);
        create();
        QVERIFY(!m_manager->isMonitoring());
        m_manager->startMonitoring();
        QVERIFY(!m_manager->isMonitoring());
        m_manager->checkEvents();
        QVERIFY(m_store->queries().isEmpty());
        QCOMPARE(m_locks, 0);
        // No access request at launch.
        QCOMPARE(m_store->pendingRequests(), 0);
    }

    void accessGrantedStartsMonitoring()
    {
        // On at launch but never granted: nothing until the toggle asks again.
        m_store->setEvents({entry(QStringLiteral("Focus"), -60, 60)});
        m_defaults->setBool(PreferenceKey::calendarTamberEnabled, true);
        create();
        QVERIFY(!m_manager->hasAccess());
        QVERIFY(!m_manager->isMonitoring());

        QSignalSpy accessChanged(m_manager.get(), &CalendarTamberManager::hasAccessChanged);
        m_manager->requestAccess();
        QCOMPARE(m_store->pendingRequests(), 1);
        QVERIFY(!m_manager->hasAccess());
        m_store->answerRequests(true);
        QVERIFY(m_manager->hasAccess());
        QCOMPARE(accessChanged.size(), 1);
        QVERIFY(m_manager->isMonitoring());
        QCOMPARE(m_locks, 1);
    }

    void answerAfterTheManagerIsGoneIsDropped()
    {
        create();
        m_manager->requestAccess();
        m_manager.reset();
        m_store->answerRequests(true); // must not touch the destroyed manager
        QCOMPARE(m_store->pendingRequests(), 0);
    }

    void followsAccessDecidedByTheStore()
    {
        m_store->setEvents({entry(QStringLiteral("Focus"), -60, 60)});
        m_defaults->setBool(PreferenceKey::calendarTamberEnabled, true);
        create();
        m_store->changeAccess(true);
        QVERIFY(m_manager->hasAccess());
        QVERIFY(m_manager->isMonitoring());
        QCOMPARE(m_locks, 1);

        m_store->changeAccess(false);
        QVERIFY(!m_manager->hasAccess());
        QVERIFY(!m_manager->isMonitoring());
    }
};

QTEST_GUILESS_MAIN(TestCalendarTamberManager)
#include "tst_calendartambermanager.moc"
