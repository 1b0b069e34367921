#include "core/preferencekeys.h"
#include "integrations/automationactions.h"
#include "platform/fakes/fakeapplicationwindows.h"
#include "platform/fakes/fakeprocesslister.h"
#include "support/lockstack.h"
#include "tasks/processmonitor.h"

#include <QSignalSpy>
#include <QTest>

#include <optional>

class TestAutomationActions : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LockStack> m_stack;
    FakeProcessLister m_processes;
    FakeApplicationWindows m_windows;
    std::unique_ptr<ProcessMonitor> m_tasks;
    std::unique_ptr<AutomationActions> m_actions;

    // The answer of a lock that answers at once, as every lock here does.
    QString lock()
    {
        std::optional<QString> answer;
        m_actions->lockScreen([&answer](const QString &refusal) { answer = refusal; });
        if (!answer)
            QTest::qFail("the lock did not answer at once", __FILE__, __LINE__);
        return answer.value_or(QStringLiteral("(no answer)"));
    }
    OverlayManager *m_overlay = nullptr;
    KeepAwakeManager *m_keepAwake = nullptr;

private Q_SLOTS:
    void init()
    {
        m_stack = std::make_unique<LockStack>(QStringLiteral("2468"));
        m_overlay = &m_stack->overlay;
        m_keepAwake = &m_stack->keepAwake;
        m_processes.setCommandNames(QByteArray());
        m_windows.setWindows({});
        m_tasks = std::make_unique<ProcessMonitor>(m_processes, m_windows,
                                                   QStringList{m_stack->dir.path()});
        m_actions =
            std::make_unique<AutomationActions>(*m_overlay, m_stack->pins, *m_keepAwake, *m_tasks);
    }

    void cleanup()
    {
        m_actions.reset();
        m_tasks.reset();
        m_stack.reset();
    }

    void statusFollowsTheManagers()
    {
        QCOMPARE(m_actions->status(), QStringLiteral("Vostrel: Idle."));
        QCOMPARE(lock(), QString());
        QCOMPARE(m_actions->status(), QStringLiteral("Vostrel: Screen locked. Keeping awake. "));

        // The grab lost, or never had: scripts must not take it for a safe lock.
        m_stack->guard.setGrabbed(false);
        QCOMPARE(m_actions->status(),
                 QStringLiteral("Vostrel: Screen locked (keyboard not held). Keeping awake. "));
        m_stack->guard.setGrabbed(true);
        QCOMPARE(m_actions->status(), QStringLiteral("Vostrel: Screen locked. Keeping awake. "));
    }

    void statusNamesTheRunningAgents()
    {
        ApplicationWindows::Window cursor;
        cursor.id = 1;
        cursor.pid = 4242;
        cursor.className = QStringLiteral("Cursor");
        m_windows.setWindows({cursor});
        m_processes.setCommandNames("bash\ncargo\nclaude\nnode\naider\n");
        QSignalSpy refreshed(m_tasks.get(), &ProcessMonitor::refreshed);
        m_tasks->refresh();
        QVERIFY(refreshed.wait(5000));
        QCOMPARE(m_actions->status(),
                 QStringLiteral("Vostrel: AI agents: Cursor — IDE active, "
                                "Claude Code — agent running, Aider — coding. Idle."));
        QCOMPARE(lock(), QString());
        QCOMPARE(m_actions->status(),
                 QStringLiteral("Vostrel: Screen locked. Keeping awake. AI agents: Cursor — IDE "
                                "active, Claude Code — agent running, Aider — coding. "));

        // Builds and tools are not agents.
        m_windows.setWindows({});
        m_processes.setCommandNames("cargo\nnode\n");
        m_tasks->refresh();
        QVERIFY(refreshed.wait(5000));
        QCOMPARE(m_actions->status(), QStringLiteral("Vostrel: Screen locked. Keeping awake. "));
    }

    void aRefusedLockSaysWhyAndChangesNothing()
    {
        m_stack->defaults.remove(PreferenceKey::storedPIN);
        const QString noPIN = QStringLiteral("No PIN is set: open Vostrel to choose one");
        QCOMPARE(lock(), noPIN);
        QVERIFY(!m_overlay->isOverlayActive());
        QVERIFY(!m_keepAwake->isActive());
        QCOMPARE(m_actions->status(), QStringLiteral("Vostrel: Idle. %1.").arg(noPIN));

        m_overlay->setWaylandSession(true);
        const QString wayland = lock();
        QVERIFY(wayland.contains(QLatin1String("Wayland")));
        QVERIFY(m_actions->status().endsWith(wayland + QLatin1Char('.')));
        // Keep-awake is not the lock's to refuse.
        m_actions->keepAwake(0, [](const QString &) {});
        QVERIFY(m_keepAwake->isActive());
        QCOMPARE(m_actions->status(), QStringLiteral("Vostrel: Keeping awake. %1.").arg(wayland));
    }

    void lockingTwiceStartsOnePeriod()
    {
        QCOMPARE(lock(), QString());
        const auto creations = m_stack->assertions.requests().size();
        QCOMPARE(lock(), QString());
        QCOMPARE(m_stack->assertions.requests().size(), creations);
        QVERIFY(m_overlay->isOverlayActive());
    }

    void unlockNeedsTheRightPIN()
    {
        QCOMPARE(lock(), QString());
        QVERIFY(!m_actions->unlockScreen(QStringLiteral("1357")));
        QVERIFY(m_overlay->isOverlayActive());
        QCOMPARE(m_stack->pins.failedAttempts(), 1);
        QVERIFY(m_actions->unlockScreen(QStringLiteral("2468")));
        QVERIFY(!m_overlay->isOverlayActive());
        QVERIFY(m_keepAwake->isActive()); // unlocking never ends keep-awake
    }

    void unlockCountsTowardsTheSameLockout()
    {
        QCOMPARE(lock(), QString());
        for (int i = 0; i < 5; ++i)
            QVERIFY(!m_actions->unlockScreen(QStringLiteral("0000")));
        QVERIFY(m_stack->pins.isLockedOut());
        QVERIFY(!m_actions->unlockScreen(QStringLiteral("2468")));
        QVERIFY(m_overlay->isOverlayActive());
    }

    void keepAwakeMinutes_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QVariant>("total");
        QTest::addRow("default 0 is unlimited") << 0 << QVariant();
        QTest::addRow("negative is unlimited") << -5 << QVariant();
        QTest::addRow("15 minutes") << 15 << QVariant(900.0);
    }

    void keepAwakeMinutes()
    {
        QFETCH(int, minutes);
        QFETCH(QVariant, total);
        m_actions->keepAwake(minutes, [](const QString &) {});
        QVERIFY(m_keepAwake->isActive());
        QCOMPARE(m_keepAwake->totalDuration().has_value(), total.isValid());
        if (total.isValid())
            QCOMPARE(*m_keepAwake->totalDuration(), total.toDouble());

        m_actions->keepAwake(60, [](const QString &) {}); // a running period is left alone
        QCOMPARE(m_keepAwake->totalDuration().has_value(), total.isValid());
        m_actions->stopKeepAwake();
        QVERIFY(!m_keepAwake->isActive());
    }

    void keepAwakeAnswersOnceTheDesktopHas()
    {
        QStringList answers;
        const auto record = [&answers](const QString &refusal) {
            answers << refusal;
        };
        m_actions->keepAwake(0, record);
        m_actions->keepAwake(5, record); // waits for the same period
        QVERIFY(answers.isEmpty());
        m_stack->assertions.settle();
        QCOMPARE(answers, (QStringList{QString(), QString()}));
        m_actions->keepAwake(5, record);
        QCOMPARE(answers.size(), 3);
        m_actions->stopKeepAwake();

        m_stack->assertions.setRefused(PowerAssertions::Kind::Display);
        m_stack->assertions.setRefused(PowerAssertions::Kind::System);
        m_actions->keepAwake(0, record);
        m_stack->assertions.settle();
        QCOMPARE(answers.size(), 4);
        QVERIFY(!answers.last().isEmpty());
        QCOMPARE(m_actions->status(), QStringLiteral("Vostrel: Idle. ") + answers.last() + u'.');
    }
};

QTEST_MAIN(TestAutomationActions)
#include "tst_automationactions.moc"
