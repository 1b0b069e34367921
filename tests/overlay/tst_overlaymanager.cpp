#include "lockstack.h"
#include "notificationnames.h"
#include "overlaypanel.h"
#include "preferencekeys.h"
#include "unlockflow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTest>
#include <QWindow>

class TestOverlayManager : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LockStack> m_stack;
    OverlayManager *m_overlay = nullptr;

    void type(QWindow *window, const QString &text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + c.digitValue(), Qt::NoModifier,
                            QString(c));
            QGuiApplication::sendEvent(window, &press);
        }
    }

private Q_SLOTS:
    void init()
    {
        m_stack = std::make_unique<LockStack>();
        m_overlay = &m_stack->overlay;
    }

    void cleanup() { m_stack.reset(); }

    void everyScreenIsCoveredAndTheLastTakesTheKeys()
    {
        m_overlay->activate();
        const QList<QScreen *> screens = QGuiApplication::screens();
        const QList<OverlayPanel *> panels = m_overlay->overlayPanels();
        QCOMPARE(panels.size(), screens.size());
        for (qsizetype i = 0; i < panels.size(); ++i) {
            QCOMPARE(panels[i]->targetScreen(), screens[i]);
            QCOMPARE(panels[i]->geometry(), screens[i]->geometry());
            QVERIFY(panels[i]->isVisible());
            QVERIFY(panels[i]->flags() & Qt::WindowStaysOnTopHint);
        }
        QCOMPARE(m_overlay->focusPanel(), panels.last());
        QCOMPARE(m_stack->guard.prepared.size(), panels.size());
        QVERIFY(m_stack->crashGuard.isRunning());
        QCOMPARE(m_stack->guard.guarded.size(), panels.size());
        QCOMPARE(m_stack->guard.focus.data(), panels.last());
        QVERIFY(m_overlay->isOverlayActive());
        QCOMPARE(m_stack->posted, QStringList{Notification::overlayDidActivate});
    }

    void theLockSaysWhileAnotherClientHoldsTheKeyboard()
    {
        m_stack->guard.grabSucceeds = false;
        m_overlay->activate();
        UnlockFlow *flow = m_overlay->focusPanel()->unlockFlow();
        QVERIFY(flow->isWaitingForInput());
        m_stack->guard.setGrabbed(true);
        QVERIFY(!flow->isWaitingForInput());
    }

    void theCrashGuardFollowsTheLock()
    {
        m_overlay->activate();
        m_overlay->activate();
        QCOMPARE(m_stack->crashGuard.starts, 1);
        m_overlay->deactivate();
        QVERIFY(!m_stack->crashGuard.isRunning());

        m_overlay->setWindowed(true); // development windows need no guard
        m_overlay->activate();
        QCOMPARE(m_stack->crashGuard.starts, 1);
    }

    void aRelockRelievesTheCrashGuardOnlyOnceCovered()
    {
        bool coveredWhenRelieved = false;
        m_overlay->takeOverFromCrashGuard(
            [this, &coveredWhenRelieved] { coveredWhenRelieved = m_overlay->isOverlayActive(); });
        QVERIFY(coveredWhenRelieved);
        QCOMPARE(m_stack->guard.seizeCount, 1);
        QVERIFY(m_stack->keepAwake.isActive());
    }

    void activateTwiceThenDeactivateOnce()
    {
        m_overlay->activate();
        const QList<OverlayPanel *> first = m_overlay->overlayPanels();
        m_overlay->activate();
        QCOMPARE(m_overlay->overlayPanels(), first);
        QCOMPARE(m_stack->guard.engageCount, 1);
        QCOMPARE(m_stack->posted.count(Notification::overlayDidActivate), 1);

        QPointer<OverlayPanel> panel = first.first();
        m_overlay->deactivate();
        QVERIFY(!m_overlay->isOverlayActive());
        QVERIFY(m_overlay->overlayPanels().isEmpty());
        QCOMPARE(m_stack->guard.releaseCount, 1);
        QVERIFY(!m_stack->guard.isInputGrabbed());
        QCOMPARE(m_stack->posted.last(), QString(Notification::overlayDidDeactivate));
        QTRY_VERIFY(panel.isNull());
    }

    void deactivateWhileUnlockedStillAnnounces()
    {
        m_stack->defaults.setBool(PreferenceKey::lockSoundsEnabled, true);
        m_overlay->deactivate();
        QCOMPARE(m_stack->posted, QStringList{Notification::overlayDidDeactivate});
        QCOMPARE(m_stack->sounds.played, QStringList{QStringLiteral("Blow")});
        QCOMPARE(m_stack->guard.releaseCount, 0);
    }

    void lockSounds_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QStringList>("played");
        QTest::addRow("on") << true << QStringList{QStringLiteral("Tink"), QStringLiteral("Blow")};
        QTest::addRow("off") << false << QStringList{};
    }

    void lockSounds()
    {
        QFETCH(bool, enabled);
        QFETCH(QStringList, played);
        m_stack->defaults.setBool(PreferenceKey::lockSoundsEnabled, enabled);
        m_overlay->activate();
        m_overlay->deactivate();
        QCOMPARE(m_stack->sounds.played, played);
    }

    void lockKeepsAwakeOnceAndUnlockLeavesItRunning()
    {
        m_overlay->lock();
        QVERIFY(m_stack->keepAwake.isActive());
        QVERIFY(m_overlay->isOverlayActive());
        const auto creations = m_stack->assertions.creations().size();

        m_overlay->lock(); // a trigger while locked changes nothing
        QCOMPARE(m_stack->assertions.creations().size(), creations);
        QCOMPARE(m_stack->posted.count(Notification::keepAwakeStateChanged), 1);

        m_overlay->deactivate();
        QVERIFY(m_stack->keepAwake.isActive());
    }

    void typedPINLowersTheLock()
    {
        m_overlay->activate();
        OverlayPanel *focus = m_overlay->focusPanel();
        type(focus, QStringLiteral("9999"));
        QVERIFY(m_overlay->isOverlayActive());
        QCOMPARE(m_stack->pins.failedAttempts(), 1);

        // Keys reaching any window while locked belong to the lock.
        QWindow other;
        type(&other, QStringLiteral("12"));
        type(m_overlay->overlayPanels().first(), QStringLiteral("34"));
        QVERIFY(!m_overlay->isOverlayActive());
    }

    void keysAfterUnlockReachTheirWindow()
    {
        struct CountingWindow : QWindow
        {
            int presses = 0;
            void keyPressEvent(QKeyEvent *) override { ++presses; }
        } other;
        m_overlay->activate();
        type(&other, QStringLiteral("1"));
        QCOMPARE(other.presses, 0);
        m_overlay->deactivate();
        type(&other, QStringLiteral("1"));
        QCOMPARE(other.presses, 1);
    }

    void anUnlockFromAClosedPanelDoesNothing()
    {
        m_overlay->activate();
        QPointer<UnlockFlow> stale = m_overlay->focusPanel()->unlockFlow();
        m_overlay->deactivate();
        m_overlay->activate();
        QVERIFY(stale); // its panel is closed but not yet destroyed
        Q_EMIT stale->unlockRequested();
        QVERIFY(m_overlay->isOverlayActive());
    }
};

QTEST_MAIN(TestOverlayManager)
#include "tst_overlaymanager.moc"
