#include "core/preferencekeys.h"
#include "overlay/lockavailability.h"
#include "overlay/lockscreencontent.h"
#include "overlay/overlaypanel.h"
#include "overlay/unlockflow.h"
#include "support/lockstack.h"

#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QProcessEnvironment>
#include <QRegularExpression>
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
        QCOMPARE(m_stack->posted, QStringList{Event::overlayDidActivate});
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

    void aRefusedLockCoversNothing_data()
    {
        QTest::addColumn<bool>("pin");
        QTest::addColumn<bool>("wayland");
        QTest::addColumn<LockRefusal>("refusal");
        QTest::addRow("no PIN") << false << false << LockRefusal::noPIN;
        QTest::addRow("Wayland") << true << true << LockRefusal::waylandSession;
        QTest::addRow("both: the session first") << false << true << LockRefusal::waylandSession;
    }

    void aRefusedLockCoversNothing()
    {
        QFETCH(bool, pin);
        QFETCH(bool, wayland);
        QFETCH(LockRefusal, refusal);
        m_stack = std::make_unique<LockStack>(pin ? QStringLiteral("1234") : QString());
        m_overlay = &m_stack->overlay;
        m_overlay->setWaylandSession(wayland);
        QVERIFY(m_overlay->lockRefusal() == refusal);
        QVERIFY(m_overlay->lock() == refusal);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^not locking: ")));
        m_overlay->activate();
        // A relaunch after a crash cannot lock either, and still relieves the
        // guard that started it.
        bool relieved = false;
        m_overlay->takeOverFromCrashGuard([&relieved] { relieved = true; });
        QVERIFY(relieved);
        QVERIFY(!m_overlay->isOverlayActive());
        QVERIFY(m_overlay->builtPanels().isEmpty());
        QVERIFY(!m_stack->keepAwake.isActive());
        QVERIFY(!m_stack->crashGuard.isRunning());
        QCOMPARE(m_stack->guard.engageCount, 0);
        QVERIFY(m_stack->posted.isEmpty());
        QVERIFY(!LockAvailability::message(refusal).isEmpty());

        // A PIN chosen later (in an X11 session) is enough.
        m_stack->defaults.setString(PreferenceKey::storedPIN,
                                    PINManager::encodePIN(QStringLiteral("1234")));
        m_overlay->setWaylandSession(false);
        QVERIFY(!m_overlay->lock());
        QVERIFY(m_overlay->isOverlayActive());
    }

    void aWaylandSessionIsReadFromTheEnvironment_data()
    {
        QTest::addColumn<QStringList>("variables");
        QTest::addColumn<bool>("wayland");
        const QString x11 = QStringLiteral("DISPLAY=:0");
        QTest::addRow("X11") << QStringList{x11, QStringLiteral("XDG_SESSION_TYPE=x11")} << false;
        QTest::addRow("a Wayland display, XWayland too")
            << QStringList{x11, QStringLiteral("WAYLAND_DISPLAY=wayland-0")} << true;
        QTest::addRow("the session type alone")
            << QStringList{x11, QStringLiteral("XDG_SESSION_TYPE=wayland")} << true;
    }

    void aWaylandSessionIsReadFromTheEnvironment()
    {
        QFETCH(QStringList, variables);
        QFETCH(bool, wayland);
        QProcessEnvironment environment;
        for (const QString &variable : std::as_const(variables))
            environment.insert(variable.section(QLatin1Char('='), 0, 0),
                               variable.section(QLatin1Char('='), 1));
        QCOMPARE(LockAvailability::isWaylandSession(environment), wayland);
    }

    void activateTwiceThenDeactivateOnce()
    {
        m_overlay->activate();
        const QList<OverlayPanel *> first = m_overlay->overlayPanels();
        m_overlay->activate();
        QCOMPARE(m_overlay->overlayPanels(), first);
        QCOMPARE(m_stack->guard.engageCount, 1);
        QCOMPARE(m_stack->posted.count(Event::overlayDidActivate), 1);

        m_overlay->deactivate();
        QVERIFY(!m_overlay->isOverlayActive());
        QVERIFY(m_overlay->overlayPanels().isEmpty());
        QCOMPARE(m_stack->guard.releaseCount, 1);
        QVERIFY(!m_stack->guard.isInputGrabbed());
        QCOMPARE(m_stack->posted.last(), QString(Event::overlayDidDeactivate));
    }

    void panelsAreHiddenBetweenLocksAndComeBackFresh()
    {
        m_overlay->activate();
        const QList<OverlayPanel *> panels = m_overlay->overlayPanels();
        OverlayPanel *focus = m_overlay->focusPanel();
        type(focus, QStringLiteral("12"));
        QCOMPARE(focus->unlockFlow()->enteredCount(), 2);
        QVERIFY(focus->content()->areAnimationsEnabled());

        m_overlay->deactivate();
        QCOMPARE(m_overlay->builtPanels(), panels);
        for (OverlayPanel *panel : panels) {
            QVERIFY(!panel->isVisible());
            // Nothing of a hidden lock screen moves or ticks.
            QVERIFY(!panel->content()->isActive());
            QVERIFY(!panel->content()->areAnimationsEnabled());
        }
        QCOMPARE(focus->unlockFlow()->enteredCount(), 0);
        QVERIFY(!focus->unlockFlow()->showPINField());

        m_overlay->activate();
        QCOMPARE(m_overlay->overlayPanels(), panels);
        for (OverlayPanel *panel : panels) {
            QVERIFY(panel->isVisible());
            QVERIFY(panel->content()->isActive());
        }
        QCOMPARE(m_stack->guard.guarded.size(), panels.size());
        type(m_overlay->focusPanel(), QStringLiteral("1234"));
        QVERIFY(!m_overlay->isOverlayActive());
    }

    void preparedPanelsWaitHiddenForTheFirstLock()
    {
        m_overlay->preparePanels();
        const QList<OverlayPanel *> prepared = m_overlay->builtPanels();
        QCOMPARE(prepared.size(), QGuiApplication::screens().size());
        QVERIFY(m_overlay->overlayPanels().isEmpty());
        for (OverlayPanel *panel : prepared) {
            QVERIFY(!panel->isVisible());
            QVERIFY(!panel->content()->isActive());
        }
        // Black from the first map, though no lock asked for them yet.
        QCOMPARE(m_stack->guard.prepared.size(), prepared.size());
        QVERIFY(!m_stack->crashGuard.isRunning());

        m_overlay->preparePanels(); // built once
        QCOMPARE(m_overlay->builtPanels(), prepared);
        m_overlay->activate();
        QCOMPARE(m_overlay->overlayPanels(), prepared);
    }

    void deactivateWhileUnlockedAnnouncesNoChange()
    {
        m_stack->defaults.setBool(PreferenceKey::lockSoundsEnabled, true);
        m_overlay->deactivate();
        QVERIFY(m_stack->posted.isEmpty());
        QCOMPARE(m_stack->sounds.played, QStringList{QStringLiteral("Blow")});
        QCOMPARE(m_stack->guard.releaseCount, 0);
    }

    void lockKeepsAwakeOnceAndUnlockLeavesItRunning()
    {
        m_overlay->lock();
        QVERIFY(m_stack->keepAwake.isActive());
        QVERIFY(m_overlay->isOverlayActive());
        const auto creations = m_stack->assertions.requests().size();

        m_overlay->lock(); // a trigger while locked changes nothing
        QCOMPARE(m_stack->assertions.requests().size(), creations);
        QCOMPARE(m_stack->posted.count(Event::keepAwakeStateChanged), 1);

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

    void thePINOfTheLockHoldsUntilItComesDown_data()
    {
        QTest::addColumn<QByteArray>("preferences");
        QTest::addRow("corrupted") << QByteArray("{\"app.vostrel.pin.st");
        QTest::addRow("emptied") << QByteArray();
        QTest::addRow("replaced") << QByteArray("{\"maxPINAttempts\": 3}");
    }

    void thePINOfTheLockHoldsUntilItComesDown()
    {
        QFETCH(QByteArray, preferences);
        m_stack->defaults.setString(PreferenceKey::storedPIN,
                                    PINManager::encodePIN(QStringLiteral("135790")));
        m_overlay->activate();
        QFile file(m_stack->defaults.filePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(preferences), preferences.size());
        file.close();
        QVERIFY(!m_stack->pins.hasPIN());

        type(m_overlay->focusPanel(), QStringLiteral("135790"));
        QVERIFY(!m_overlay->isOverlayActive());
        // Only the lock that was up keeps it.
        QVERIFY(!m_stack->pins.verifyPIN(QStringLiteral("135790")));
        QCOMPARE(m_stack->pins.expectedPINLength(), 4);
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

    void anUnlockFromAHiddenPanelDoesNothing()
    {
        m_overlay->activate();
        UnlockFlow *flow = m_overlay->focusPanel()->unlockFlow();
        m_overlay->deactivate();
        const qsizetype posted = m_stack->posted.size();
        Q_EMIT flow->unlockRequested();
        QCOMPARE(m_stack->posted.size(), posted);
    }

    void aFingerprintAnswerForTheLastLockLeavesTheNextUp()
    {
        m_stack->defaults.setBool(PreferenceKey::fingerprintEnabled, true);
        m_overlay->activate();
        QTRY_VERIFY(m_stack->reader.isWaiting());
        m_overlay->deactivate();
        m_overlay->activate();
        m_stack->reader.answer(true);
        QVERIFY(m_overlay->isOverlayActive());
    }

    void aNewThemeWhileLockedTriesTheFingerprintAgain()
    {
        m_stack->defaults.setBool(PreferenceKey::fingerprintEnabled, true);
        m_overlay->activate();
        QTRY_VERIFY(m_stack->reader.isWaiting());
        m_stack->reader.answer(false); // no finger came in time
        m_stack->themes.setCurrentTheme(OverlayThemeID::glass);
        QTRY_VERIFY(m_stack->reader.isWaiting());
        QCOMPARE(m_stack->reader.requestCount(), 2);
        m_stack->reader.answer(true);
        QVERIFY(!m_overlay->isOverlayActive());
    }
};

QTEST_MAIN(TestOverlayManager)
#include "tst_overlaymanager.moc"
