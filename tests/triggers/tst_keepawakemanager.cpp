#include "platform/fakes/fakepowerassertions.h"
#include "triggers/keepawakemanager.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace std::chrono_literals;
using Kind = PowerAssertions::Kind;

Q_DECLARE_METATYPE(PowerAssertions::Kind)

// The keep-awake manager over fake assertions and a private notification
// centre, with its clock driven by hand.
class TestKeepAwakeManager : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakePowerAssertions> m_assertions;
    std::unique_ptr<KeepAwakeManager> m_manager;
    // What the manager announced, in order: "state" and "tick".
    QStringList m_events;

    [[nodiscard]] qsizetype posts(QLatin1String name) const { return m_events.count(name); }

    void verifyIdle() const
    {
        QVERIFY(!m_manager->isActive());
        QCOMPARE(m_manager->remainingSeconds(), 0.0);
        QVERIFY(!m_manager->totalDuration().has_value());
        QVERIFY(!m_manager->totalDurationValue().isValid());
        QVERIFY(m_manager->remainingTimeText().isEmpty());
        QVERIFY(m_assertions->held().isEmpty());
        QVERIFY(m_assertions->pending().isEmpty());
    }

private Q_SLOTS:
    void init()
    {
        m_assertions = std::make_unique<FakePowerAssertions>();
        m_manager = std::make_unique<KeepAwakeManager>(*m_assertions);
        m_events.clear();
        connect(m_manager.get(), &KeepAwakeManager::stateChanged, this,
                [this] { m_events << QStringLiteral("state"); });
        connect(m_manager.get(), &KeepAwakeManager::ticked, this,
                [this] { m_events << QStringLiteral("tick"); });
    }

    void cleanup()
    {
        m_manager.reset();
        m_assertions.reset();
    }

    void countdownText_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::addRow("under a minute") << 45 << QStringLiteral("45s");
        QTest::addRow("one minute") << 60 << QStringLiteral("1:00");
        QTest::addRow("seconds padded") << 125 << QStringLiteral("2:05");
        QTest::addRow("over an hour") << 7384 << QStringLiteral("123:04");
        QTest::addRow("nothing left") << 0 << QString();
    }

    void countdownText()
    {
        QFETCH(int, seconds);
        QFETCH(QString, text);
        m_manager->start(std::chrono::seconds(seconds));
        QVERIFY(m_manager->isActive());
        QCOMPARE(m_manager->totalDuration(), std::optional<double>(seconds));
        QCOMPARE(m_manager->totalDurationValue(), QVariant(double(seconds)));
        QCOMPARE(m_manager->remainingSeconds(), double(seconds));
        QCOMPARE(m_manager->remainingTimeText(), text);
    }

    void unlimitedPeriodHoldsBothAssertionsWithoutCountdown()
    {
        QSignalSpy activeChanged(m_manager.get(), &KeepAwakeManager::isActiveChanged);
        QSignalSpy settled(m_manager.get(), &KeepAwakeManager::settled);
        m_manager->start();
        // Running while the desktop is asked: the lock that started it is up already.
        QVERIFY(m_manager->isActive());
        QVERIFY(m_manager->isAsking());
        QCOMPARE(activeChanged.count(), 1);
        QCOMPARE(m_assertions->pending().size(), 2);
        m_assertions->settle();
        QVERIFY(!m_manager->isAsking());
        QCOMPARE(settled.count(), 1);
        QVERIFY(m_assertions->isHeld(Kind::Display));
        QVERIFY(m_assertions->isHeld(Kind::System));
        QVERIFY(!m_manager->totalDuration().has_value());
        QCOMPARE(m_manager->remainingSeconds(), 0.0);
        QVERIFY(m_manager->remainingTimeText().isEmpty());
        QCOMPARE(posts(QLatin1String("state")), 1);

        // An unlimited period has nothing to count down.
        m_manager->tick();
        QCOMPARE(posts(QLatin1String("tick")), 0);
        m_manager->durationElapsed();
        QVERIFY(m_manager->isActive());

        m_manager->stop();
        QCOMPARE(activeChanged.count(), 2);
        QCOMPARE(posts(QLatin1String("state")), 2);
        QCOMPARE(settled.count(), 1);
        verifyIdle();
    }

    void startWhileActiveChangesNothing_data()
    {
        QTest::addColumn<std::optional<int>>("running");
        QTest::addColumn<std::optional<int>>("requested");
        QTest::addRow("timed over unlimited") << std::optional<int>() << std::optional<int>(900);
        QTest::addRow("unlimited over timed") << std::optional<int>(900) << std::optional<int>();
    }

    void startWhileActiveChangesNothing()
    {
        QFETCH(std::optional<int>, running);
        QFETCH(std::optional<int>, requested);
        const auto seconds = [](std::optional<int> value) {
            return value ? std::optional<std::chrono::seconds>(*value) : std::nullopt;
        };
        m_manager->start(seconds(running));
        m_manager->tick();
        const QString text = m_manager->remainingTimeText();
        const double remaining = m_manager->remainingSeconds();
        m_events.clear();

        m_manager->start(seconds(requested));
        QVERIFY(m_manager->isActive());
        QCOMPARE(m_events.size(), 0);
        QCOMPARE(m_assertions->requests().size(), 2);
        QCOMPARE(m_manager->remainingTimeText(), text);
        QCOMPARE(m_manager->remainingSeconds(), remaining);
        QCOMPARE(m_manager->totalDuration().has_value(), running.has_value());
    }

    void oneRefusalKeepsWhatWasGranted_data()
    {
        QTest::addColumn<Kind>("refused");
        QTest::addRow("display") << Kind::Display;
        QTest::addRow("system") << Kind::System;
    }

    void oneRefusalKeepsWhatWasGranted()
    {
        QFETCH(Kind, refused);
        m_assertions->setRefused(refused);
        QSignalSpy settled(m_manager.get(), &KeepAwakeManager::settled);
        m_manager->start(900s);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("may sleep")));
        m_assertions->settle(refused);
        QVERIFY(m_manager->isAsking());
        QCOMPARE(settled.count(), 0);
        m_assertions->settle();
        QCOMPARE(settled.count(), 1);
        QVERIFY(m_manager->isActive());
        QVERIFY(m_manager->refusal().isEmpty());
        QCOMPARE(m_assertions->held().size(), 1);
        QCOMPARE(posts(QLatin1String("state")), 1);

        m_manager->stop();
        verifyIdle();
    }

    void refusedByEverythingEndsThePeriodAndSaysWhy()
    {
        m_assertions->setRefused(Kind::Display);
        m_assertions->setRefused(Kind::System);
        QSignalSpy settled(m_manager.get(), &KeepAwakeManager::settled);
        QSignalSpy refusalChanged(m_manager.get(), &KeepAwakeManager::refusalChanged);
        m_manager->start(900s);
        m_manager->tick();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("may sleep")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("may sleep")));
        m_assertions->settle();

        QCOMPARE(settled.count(), 1);
        QCOMPARE(refusalChanged.count(), 1);
        QVERIFY(m_manager->refusal().contains(QLatin1String("no screen saver")));
        QVERIFY(m_manager->refusal().contains(QLatin1String("no logind")));
        QCOMPARE(posts(QLatin1String("state")), 2);
        verifyIdle();
        // The countdown ended with it.
        m_manager->tick();
        QCOMPARE(posts(QLatin1String("tick")), 1);

        // Asking again forgets the old reason; the desktop may answer otherwise now.
        m_assertions->setRefused(Kind::Display, false);
        m_manager->start();
        QVERIFY(m_manager->refusal().isEmpty());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("may sleep")));
        m_assertions->settle();
        QVERIFY(m_manager->isActive());
        QCOMPARE(refusalChanged.count(), 2);
    }

    void stopWhileAskingWithdrawsTheRequests()
    {
        QSignalSpy settled(m_manager.get(), &KeepAwakeManager::settled);
        m_manager->start(900s);
        m_manager->stop();
        QCOMPARE(settled.count(), 1);
        QCOMPARE(posts(QLatin1String("state")), 2);
        verifyIdle();
        for (const auto &request : m_assertions->requests())
            QCOMPARE(request.state, FakePowerAssertions::State::Withdrawn);

        // A grant meant for the old period is let go, not taken for the new one.
        m_manager->start();
        const PowerAssertions::Id stale = m_assertions->requests().at(0).id;
        Q_EMIT m_assertions->granted(stale);
        QVERIFY(m_manager->isAsking());
        m_assertions->settle();
        QCOMPARE(m_assertions->held().size(), 2);
    }

    void timedPeriodEnds()
    {
        m_manager->start(900s);
        m_assertions->settle();
        QCOMPARE(m_assertions->held().size(), 2);
        m_manager->tick();
        m_events.clear();
        QSignalSpy activeChanged(m_manager.get(), &KeepAwakeManager::isActiveChanged);
        QSignalSpy totalChanged(m_manager.get(), &KeepAwakeManager::totalDurationChanged);
        QSignalSpy textChanged(m_manager.get(), &KeepAwakeManager::remainingTimeTextChanged);

        m_manager->durationElapsed();
        verifyIdle();
        QCOMPARE(m_events.size(), 1);
        QCOMPARE(posts(QLatin1String("state")), 1);
        QCOMPARE(activeChanged.count(), 1);
        QCOMPARE(totalChanged.count(), 1);
        QCOMPARE(textChanged.count(), 1);

        // The countdown stopped with the period.
        m_manager->tick();
        QCOMPARE(m_events.size(), 1);
    }

    void tickPostsOncePerSecond()
    {
        m_manager->start(900s);
        QCOMPARE(m_manager->remainingTimeText(), QStringLiteral("15:00"));
        m_events.clear();
        QSignalSpy remainingChanged(m_manager.get(), &KeepAwakeManager::remainingSecondsChanged);
        QSignalSpy textChanged(m_manager.get(), &KeepAwakeManager::remainingTimeTextChanged);

        m_manager->tick();
        QCOMPARE(m_manager->remainingSeconds(), 899.0);
        QCOMPARE(m_manager->remainingTimeText(), QStringLiteral("14:59"));
        QCOMPARE(posts(QLatin1String("tick")), 1);
        QCOMPARE(remainingChanged.count(), 1);
        QCOMPARE(textChanged.count(), 1);

        for (int i = 0; i < 899; ++i)
            m_manager->tick();
        QCOMPARE(m_manager->remainingSeconds(), 0.0);
        QVERIFY(m_manager->remainingTimeText().isEmpty());
        QCOMPARE(posts(QLatin1String("tick")), 900);
        QCOMPARE(m_events.size(), 900);

        // The count stops at 0, but only the duration timer ends the period.
        m_manager->tick();
        QCOMPARE(m_events.size(), 900);
        QCOMPARE(remainingChanged.count(), 900);
        QVERIFY(m_manager->isActive());
        QCOMPARE(m_manager->totalDuration(), std::optional<double>(900));
    }

    void badDurations_data()
    {
        QTest::addColumn<qint64>("requested");
        QTest::addColumn<double>("kept");
        QTest::addRow("negative") << qint64(-60) << 0.0;
        QTest::addRow("beyond the timer's reach")
            << qint64(600'000'000) << double(KeepAwakeManager::maximumDuration.count());
    }

    void badDurations()
    {
        QFETCH(qint64, requested);
        QFETCH(double, kept);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("duration")));
        m_manager->start(std::chrono::seconds(requested));
        QVERIFY(m_manager->isActive());
        QCOMPARE(m_manager->totalDuration(), std::optional<double>(kept));
        QCOMPARE(m_manager->remainingSeconds(), kept);
        m_manager->durationElapsed();
        verifyIdle();
    }

    void destroyedManagerReleasesWhatItHolds()
    {
        m_manager->start();
        m_assertions->settle(Kind::Display);
        m_manager.reset();
        QVERIFY(m_assertions->held().isEmpty());
        QVERIFY(m_assertions->pending().isEmpty());
        QCOMPARE(m_events.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestKeepAwakeManager)
#include "tst_keepawakemanager.moc"
