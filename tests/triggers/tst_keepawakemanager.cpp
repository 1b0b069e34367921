#include "fakepowerassertions.h"
#include "keepawakemanager.h"
#include "notificationcenter.h"
#include "notificationnames.h"

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
    std::unique_ptr<NotificationCenter> m_center;
    std::unique_ptr<KeepAwakeManager> m_manager;
    std::unique_ptr<QSignalSpy> m_posted;

    [[nodiscard]] qsizetype posts(QLatin1String name) const
    {
        qsizetype count = 0;
        for (const QList<QVariant> &arguments : std::as_const(*m_posted))
            count += arguments.at(0).toString() == name ? 1 : 0;
        return count;
    }

    void verifyIdle() const
    {
        QVERIFY(!m_manager->isActive());
        QCOMPARE(m_manager->remainingSeconds(), 0.0);
        QVERIFY(!m_manager->totalDuration().has_value());
        QVERIFY(!m_manager->totalDurationValue().isValid());
        QVERIFY(m_manager->remainingTimeText().isEmpty());
        QVERIFY(m_assertions->held().isEmpty());
    }

private Q_SLOTS:
    void init()
    {
        m_assertions = std::make_unique<FakePowerAssertions>();
        m_center = std::make_unique<NotificationCenter>();
        m_manager = std::make_unique<KeepAwakeManager>(*m_assertions, *m_center);
        m_posted = std::make_unique<QSignalSpy>(m_center.get(), &NotificationCenter::posted);
    }

    void cleanup()
    {
        m_posted.reset();
        m_manager.reset();
        m_center.reset();
        m_assertions.reset();
    }

    void countdownText_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::addRow("under a minute") << 45 << QStringLiteral("45s");
        QTest::addRow("one second") << 1 << QStringLiteral("1s");
        QTest::addRow("just under a minute") << 59 << QStringLiteral("59s");
        QTest::addRow("one minute") << 60 << QStringLiteral("1:00");
        QTest::addRow("seconds padded") << 125 << QStringLiteral("2:05");
        QTest::addRow("quarter hour") << 900 << QStringLiteral("15:00");
        QTest::addRow("an hour stays minutes") << 3600 << QStringLiteral("60:00");
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
        m_manager->start();
        QVERIFY(m_manager->isActive());
        QCOMPARE(activeChanged.count(), 1);
        QVERIFY(m_assertions->isHeld(Kind::Display));
        QVERIFY(m_assertions->isHeld(Kind::System));
        QCOMPARE(m_assertions->creations().at(0).name,
                 QStringLiteral("Vostrel is keeping display awake"));
        QCOMPARE(m_assertions->creations().at(1).name,
                 QStringLiteral("Vostrel is preventing system sleep"));
        QVERIFY(!m_manager->totalDuration().has_value());
        QCOMPARE(m_manager->remainingSeconds(), 0.0);
        QVERIFY(m_manager->remainingTimeText().isEmpty());
        QCOMPARE(posts(Notification::keepAwakeStateChanged), 1);

        // An unlimited period has nothing to count down.
        m_manager->tick();
        QCOMPARE(posts(Notification::keepAwakeTickUpdate), 0);
        m_manager->durationElapsed();
        QVERIFY(m_manager->isActive());

        m_manager->stop();
        QCOMPARE(activeChanged.count(), 2);
        QCOMPARE(posts(Notification::keepAwakeStateChanged), 2);
        verifyIdle();
        QCOMPARE(m_assertions->releases().size(), 2);
    }

    void startWhileActiveChangesNothing_data()
    {
        QTest::addColumn<std::optional<int>>("running");
        QTest::addColumn<std::optional<int>>("requested");
        QTest::addRow("timed over unlimited") << std::optional<int>() << std::optional<int>(900);
        QTest::addRow("unlimited over timed") << std::optional<int>(900) << std::optional<int>();
        QTest::addRow("longer over timed") << std::optional<int>(900) << std::optional<int>(3600);
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
        m_posted->clear();

        m_manager->start(seconds(requested));
        QVERIFY(m_manager->isActive());
        QCOMPARE(m_posted->count(), 0);
        QCOMPARE(m_assertions->creations().size(), 2);
        QCOMPARE(m_manager->remainingTimeText(), text);
        QCOMPARE(m_manager->remainingSeconds(), remaining);
        QCOMPARE(m_manager->totalDuration().has_value(), running.has_value());
    }

    void stopWhenIdlePostsNothing()
    {
        m_manager->stop();
        QCOMPARE(m_posted->count(), 0);
        QVERIFY(m_assertions->releases().isEmpty());

        m_manager->start();
        m_manager->stop();
        m_posted->clear();
        m_manager->stop();
        QCOMPARE(m_posted->count(), 0);
        QCOMPARE(m_assertions->releases().size(), 2);
    }

    void failedAssertion_data()
    {
        QTest::addColumn<Kind>("refused");
        QTest::addRow("display") << Kind::Display;
        QTest::addRow("system") << Kind::System;
    }

    void failedAssertion()
    {
        QFETCH(Kind, refused);
        m_assertions->setRefused(refused);
        QSignalSpy activeChanged(m_manager.get(), &KeepAwakeManager::isActiveChanged);

        m_manager->start(900s);
        QVERIFY(!m_manager->isActive());
        QCOMPARE(activeChanged.count(), 0);
        // Both were asked for; the one granted is not kept on its own.
        QCOMPARE(m_assertions->creations().size(), 2);
        QCOMPARE(m_assertions->releases().size(), 1);
        QVERIFY(m_assertions->held().isEmpty());
        // The request is still announced and still counts down.
        QCOMPARE(posts(Notification::keepAwakeStateChanged), 1);
        QCOMPARE(m_manager->totalDuration(), std::optional<double>(900));
        m_manager->tick();
        QCOMPARE(m_manager->remainingTimeText(), QStringLiteral("14:59"));
        QCOMPARE(posts(Notification::keepAwakeTickUpdate), 1);

        // stop() has no period to end; the elapsed countdown clears quietly.
        m_manager->stop();
        QCOMPARE(m_manager->totalDuration(), std::optional<double>(900));
        m_manager->durationElapsed();
        QCOMPARE(posts(Notification::keepAwakeStateChanged), 1);
        verifyIdle();
        QCOMPARE(m_assertions->releases().size(), 1);
        m_manager->tick();
        QCOMPARE(posts(Notification::keepAwakeTickUpdate), 1);

        // Nothing is retried behind the caller's back, but the next start asks again.
        m_assertions->setRefused(refused, false);
        m_manager->start();
        QVERIFY(m_manager->isActive());
        QCOMPARE(m_assertions->held().size(), 2);
    }

    void refusedUnlimitedRequestAfterRefusedTimedOneStopsTheCountdown()
    {
        m_assertions->setRefused(Kind::System);
        m_manager->start(900s);
        m_manager->start();
        QCOMPARE(posts(Notification::keepAwakeStateChanged), 2);
        verifyIdle();
        m_manager->tick();
        QCOMPARE(posts(Notification::keepAwakeTickUpdate), 0);
    }

    void timedPeriodEnds()
    {
        m_manager->start(900s);
        QCOMPARE(m_assertions->held().size(), 2);
        m_manager->tick();
        m_posted->clear();
        QSignalSpy activeChanged(m_manager.get(), &KeepAwakeManager::isActiveChanged);
        QSignalSpy totalChanged(m_manager.get(), &KeepAwakeManager::totalDurationChanged);
        QSignalSpy textChanged(m_manager.get(), &KeepAwakeManager::remainingTimeTextChanged);

        m_manager->durationElapsed();
        verifyIdle();
        QCOMPARE(m_assertions->releases().size(), 2);
        QCOMPARE(m_posted->count(), 1);
        QCOMPARE(posts(Notification::keepAwakeStateChanged), 1);
        QCOMPARE(activeChanged.count(), 1);
        QCOMPARE(totalChanged.count(), 1);
        QCOMPARE(textChanged.count(), 1);

        // The countdown stopped with the period.
        m_manager->tick();
        QCOMPARE(m_posted->count(), 1);
    }

    void durationTimerEndsThePeriod()
    {
        m_manager->start(1s);
        QVERIFY(m_manager->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!m_manager->isActive(), 5000);
        QVERIFY(m_assertions->held().isEmpty());
        QCOMPARE(posts(Notification::keepAwakeStateChanged), 2);
    }

    void tickPostsOncePerSecond()
    {
        m_manager->start(900s);
        QCOMPARE(m_manager->remainingTimeText(), QStringLiteral("15:00"));
        m_posted->clear();
        QSignalSpy remainingChanged(m_manager.get(), &KeepAwakeManager::remainingSecondsChanged);
        QSignalSpy textChanged(m_manager.get(), &KeepAwakeManager::remainingTimeTextChanged);

        m_manager->tick();
        QCOMPARE(m_manager->remainingSeconds(), 899.0);
        QCOMPARE(m_manager->remainingTimeText(), QStringLiteral("14:59"));
        QCOMPARE(posts(Notification::keepAwakeTickUpdate), 1);
        QCOMPARE(remainingChanged.count(), 1);
        QCOMPARE(textChanged.count(), 1);

        for (int i = 0; i < 840; ++i)
            m_manager->tick();
        QCOMPARE(m_manager->remainingTimeText(), QStringLiteral("59s"));
        for (int i = 0; i < 58; ++i)
            m_manager->tick();
        QCOMPARE(m_manager->remainingTimeText(), QStringLiteral("1s"));
        m_manager->tick();
        QCOMPARE(m_manager->remainingSeconds(), 0.0);
        QVERIFY(m_manager->remainingTimeText().isEmpty());
        QCOMPARE(posts(Notification::keepAwakeTickUpdate), 900);
        QCOMPARE(m_posted->count(), 900);

        // The count stops at 0, but only the duration timer ends the period.
        m_manager->tick();
        QCOMPARE(m_posted->count(), 900);
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
        m_manager.reset();
        QVERIFY(m_assertions->held().isEmpty());
        QCOMPARE(m_posted->count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestKeepAwakeManager)
#include "tst_keepawakemanager.moc"
