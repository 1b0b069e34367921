#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/fakes/fakeidletimesource.h"
#include "triggers/countinglock.h"
#include "triggers/idlemonitor.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// The idle monitor over a fake idle time, polled by hand.
class TestIdleMonitor : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_defaults;
    std::unique_ptr<FakeIdleTimeSource> m_source;
    std::unique_ptr<CountingLock> m_lock;
    std::unique_ptr<IdleMonitor> m_monitor;

    void enable(qint64 minutes)
    {
        m_defaults->setBool(PreferenceKey::autoLockEnabled, true);
        m_defaults->setInteger(PreferenceKey::autoLockMinutes, minutes);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_defaults = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("d.json")));
        m_source = std::make_unique<FakeIdleTimeSource>();
        m_lock = std::make_unique<CountingLock>();
        m_monitor = std::make_unique<IdleMonitor>(*m_source, *m_defaults, m_lock->target);
    }

    void cleanup()
    {
        m_monitor.reset();
        m_lock.reset();
        m_source.reset();
        m_defaults.reset();
        m_dir.reset();
    }

    void thresholdMinutes_data()
    {
        QTest::addColumn<qint64>("stored");
        QTest::addColumn<int>("minutes");
        QTest::addRow("absent or 0") << qint64(0) << 10;
        QTest::addRow("one") << qint64(1) << 1;
        QTest::addRow("5") << qint64(5) << 5;
        QTest::addRow("longest that fits") << qint64(35791394) << 35791394;
        QTest::addRow("seconds beyond an int") << qint64(35791395) << 10;
    }

    void thresholdMinutes()
    {
        QFETCH(qint64, stored);
        QFETCH(int, minutes);
        QCOMPARE(IdleMonitor::thresholdMinutes(stored), minutes);
    }

    void poll_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QVariant>("minutes");
        QTest::addColumn<double>("idle");
        QTest::addColumn<bool>("alreadyLocked");
        QTest::addColumn<int>("queries");
        QTest::addColumn<int>("locks");

        const QVariant absent;
        const QVariant five(qint64(5));
        QTest::addRow("off, long idle") << false << five << 10000.0 << false << 0 << 0;
        QTest::addRow("absent minutes, 600 s") << true << absent << 600.0 << false << 1 << 1;
        QTest::addRow("0 minutes, 600 s")
            << true << QVariant(qint64(0)) << 600.0 << false << 1 << 1;
        QTest::addRow("minutes as a word, 599 s")
            << true << QVariant(QStringLiteral("soon")) << 599.0 << false << 1 << 0;
        QTest::addRow("5 min, exactly") << true << five << 300.0 << false << 1 << 1;
        QTest::addRow("unreadable idle time") << true << five << 0.0 << false << 1 << 0;
        QTest::addRow("already locked") << true << five << 10000.0 << true << 0 << 0;
    }

    void poll()
    {
        QFETCH(bool, enabled);
        QFETCH(QVariant, minutes);
        QFETCH(double, idle);
        QFETCH(bool, alreadyLocked);
        QFETCH(int, queries);
        QFETCH(int, locks);

        m_defaults->setBool(PreferenceKey::autoLockEnabled, enabled);
        if (minutes.isValid())
            m_defaults->setValue(PreferenceKey::autoLockMinutes, minutes);
        m_source->setIdleSeconds(idle);
        m_lock->isLocked = alreadyLocked;

        m_monitor->poll();
        QCOMPARE(m_source->queries(), queries);
        QCOMPARE(m_lock->locks, locks);
    }

    // The answer of a slow desktop service is judged by the state at its
    // arrival, not at the question.
    void lateAnswer_data()
    {
        QTest::addColumn<bool>("lockMeanwhile");
        QTest::addColumn<bool>("disableMeanwhile");
        QTest::addColumn<int>("locks");
        QTest::addRow("nothing changed") << false << false << 1;
        QTest::addRow("locked meanwhile") << true << false << 0;
        QTest::addRow("turned off meanwhile") << false << true << 0;
    }

    void lateAnswer()
    {
        QFETCH(bool, lockMeanwhile);
        QFETCH(bool, disableMeanwhile);
        QFETCH(int, locks);

        enable(5);
        m_source->setDeferred(true);
        m_source->setIdleSeconds(400);
        m_monitor->poll();
        QCOMPARE(m_lock->locks, 0);
        m_lock->isLocked = lockMeanwhile;
        if (disableMeanwhile)
            m_defaults->setBool(PreferenceKey::autoLockEnabled, false);
        m_source->answerPending();
        QCOMPARE(m_lock->locks, locks);
    }

    void answerAfterMonitorIsGone()
    {
        enable(5);
        m_source->setDeferred(true);
        m_source->setIdleSeconds(400);
        m_monitor->poll();
        m_monitor.reset();
        m_source->answerPending();
        QCOMPARE(m_lock->locks, 0);
    }

    // Lowered by something other than typed input (the D-Bus unlock) while
    // the idle time is still above the threshold: the next poll locks again.
    void relocksWhileStillIdle()
    {
        enable(5);
        m_source->setIdleSeconds(310);
        m_monitor->poll();
        QCOMPARE(m_lock->locks, 1);
        m_monitor->poll();
        QCOMPARE(m_lock->locks, 1);
        m_lock->isLocked = false;
        m_source->setIdleSeconds(315);
        m_monitor->poll();
        QCOMPARE(m_lock->locks, 2);

        // Typing the PIN resets the idle time: no lock until another period.
        m_lock->isLocked = false;
        m_source->setIdleSeconds(5);
        m_monitor->poll();
        QCOMPARE(m_lock->locks, 2);
    }

    // Every trigger reaches the lock through its target: a refused lock is
    // skipped at each tick and logged once per reason, until a lock goes up.
    void aRefusedLockIsSkippedAndLoggedOnce()
    {
        enable(5);
        m_source->setIdleSeconds(400);
        QString refusal = QStringLiteral("No PIN is set: open Vostrel to choose one");
        m_lock->target.setRefusal([&refusal] { return refusal; });
        QTest::failOnWarning(QRegularExpression(QStringLiteral("not locking")));
        QTest::ignoreMessage(QtWarningMsg,
                             "not locking: No PIN is set: open Vostrel to choose one");
        for (int tick = 0; tick < 3; ++tick)
            m_monitor->poll();
        QCOMPARE(m_lock->locks, 0);

        QTest::ignoreMessage(QtWarningMsg, "not locking: the session");
        refusal = QStringLiteral("the session");
        m_monitor->poll();
        m_monitor->poll();

        refusal.clear();
        m_monitor->poll();
        QCOMPARE(m_lock->locks, 1);
        // After a lock the same reason is worth saying again.
        m_lock->isLocked = false;
        refusal = QStringLiteral("the session");
        QTest::ignoreMessage(QtWarningMsg, "not locking: the session");
        m_monitor->poll();
        m_monitor->poll();
        QCOMPARE(m_lock->locks, 1);
    }

    void startPollsEveryFiveSecondsOnce()
    {
        QSignalSpy changed(m_monitor.get(), &IdleMonitor::isMonitoringChanged);
        QVERIFY(!m_monitor->isMonitoring());
        auto *timer = m_monitor->findChild<QTimer *>();
        QVERIFY(timer);
        QVERIFY(!timer->isActive());

        m_monitor->start();
        m_monitor->start();
        QVERIFY(m_monitor->isMonitoring());
        QCOMPARE(changed.count(), 1);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->intervalAsDuration(), std::chrono::milliseconds(5000));
        QVERIFY(!timer->isSingleShot());

        enable(5);
        m_source->setIdleSeconds(300);
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QCOMPARE(m_lock->locks, 1);
    }
};

QTEST_GUILESS_MAIN(TestIdleMonitor)
#include "tst_idlemonitor.moc"
