#include "fakebiometricauthenticator.h"
#include "fakelockwindowguard.h"
#include "fakepowerassertions.h"
#include "fakesoundplayer.h"
#include "keepawakemanager.h"
#include "notificationcenter.h"
#include "notificationnames.h"
#include "overlaymanager.h"
#include "overlaypanel.h"
#include "pinmanager.h"
#include "preferencekeys.h"
#include "unlockflow.h"
#include "userdefaults.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

class TestOverlayManager : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<NotificationCenter> m_notifications;
    std::unique_ptr<FakePowerAssertions> m_assertions;
    std::unique_ptr<KeepAwakeManager> m_keepAwake;
    std::unique_ptr<FakeBiometricAuthenticator> m_reader;
    std::unique_ptr<PINManager> m_pins;
    std::unique_ptr<FakeLockWindowGuard> m_guard;
    std::unique_ptr<FakeSoundPlayer> m_sounds;
    std::unique_ptr<OverlayManager> m_overlay;
    QStringList m_posted;

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
        QFile::remove(m_dir.filePath(QStringLiteral("defaults.json")));
        m_defaults =
            std::make_unique<UserDefaults>(m_dir.filePath(QStringLiteral("defaults.json")));
        m_defaults->setString(PreferenceKey::storedPIN,
                              PINManager::encodePIN(QStringLiteral("1234")));
        m_notifications = std::make_unique<NotificationCenter>();
        m_assertions = std::make_unique<FakePowerAssertions>();
        m_keepAwake = std::make_unique<KeepAwakeManager>(*m_assertions, *m_notifications);
        m_reader = std::make_unique<FakeBiometricAuthenticator>();
        m_pins = std::make_unique<PINManager>(*m_defaults, *m_reader);
        m_guard = std::make_unique<FakeLockWindowGuard>();
        m_sounds = std::make_unique<FakeSoundPlayer>();
        m_overlay = std::make_unique<OverlayManager>(OverlayManager::Services{
            *m_keepAwake, *m_pins, *m_defaults, *m_notifications, *m_guard, *m_sounds});
        m_posted.clear();
        connect(m_notifications.get(), &NotificationCenter::posted, this,
                [this](const QString &name) { m_posted << name; });
    }

    void cleanup()
    {
        m_overlay.reset();
        m_guard.reset();
        m_pins.reset();
        m_keepAwake.reset();
    }

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
        QCOMPARE(m_guard->guarded.size(), panels.size());
        QCOMPARE(m_guard->focus.data(), panels.last());
        QVERIFY(m_overlay->isOverlayActive());
        QCOMPARE(m_posted, QStringList{Notification::overlayDidActivate});
    }

    void activateTwiceThenDeactivateOnce()
    {
        m_overlay->activate();
        const QList<OverlayPanel *> first = m_overlay->overlayPanels();
        m_overlay->activate();
        QCOMPARE(m_overlay->overlayPanels(), first);
        QCOMPARE(m_guard->engageCount, 1);
        QCOMPARE(m_posted.count(Notification::overlayDidActivate), 1);

        QPointer<OverlayPanel> panel = first.first();
        m_overlay->deactivate();
        QVERIFY(!m_overlay->isOverlayActive());
        QVERIFY(m_overlay->overlayPanels().isEmpty());
        QCOMPARE(m_guard->releaseCount, 1);
        QVERIFY(!m_guard->isInputGrabbed());
        QCOMPARE(m_posted.last(), QString(Notification::overlayDidDeactivate));
        QTRY_VERIFY(panel.isNull());
    }

    void deactivateWhileUnlockedStillAnnounces()
    {
        m_defaults->setBool(PreferenceKey::lockSoundsEnabled, true);
        m_overlay->deactivate();
        QCOMPARE(m_posted, QStringList{Notification::overlayDidDeactivate});
        QCOMPARE(m_sounds->played, QStringList{QStringLiteral("Blow")});
        QCOMPARE(m_guard->releaseCount, 0);
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
        m_defaults->setBool(PreferenceKey::lockSoundsEnabled, enabled);
        m_overlay->activate();
        m_overlay->deactivate();
        QCOMPARE(m_sounds->played, played);
    }

    void lockKeepsAwakeOnceAndUnlockLeavesItRunning()
    {
        m_overlay->lock();
        QVERIFY(m_keepAwake->isActive());
        QVERIFY(m_overlay->isOverlayActive());
        const auto creations = m_assertions->creations().size();

        m_overlay->lock(); // a trigger while locked changes nothing
        QCOMPARE(m_assertions->creations().size(), creations);
        QCOMPARE(m_posted.count(Notification::keepAwakeStateChanged), 1);

        m_overlay->deactivate();
        QVERIFY(m_keepAwake->isActive());
    }

    void typedPINLowersTheLock()
    {
        m_overlay->activate();
        OverlayPanel *focus = m_overlay->focusPanel();
        type(focus, QStringLiteral("9999"));
        QVERIFY(m_overlay->isOverlayActive());
        QCOMPARE(m_pins->failedAttempts(), 1);

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
