#include "automationactions.h"
#include "fakebiometricauthenticator.h"
#include "fakelockwindowguard.h"
#include "fakepowerassertions.h"
#include "fakesoundplayer.h"
#include "keepawakemanager.h"
#include "notificationcenter.h"
#include "overlaymanager.h"
#include "pinmanager.h"
#include "preferencekeys.h"
#include "userdefaults.h"

#include <QTemporaryDir>
#include <QTest>

class TestAutomationActions : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    NotificationCenter m_notifications;
    std::unique_ptr<FakePowerAssertions> m_assertions;
    FakeBiometricAuthenticator m_reader;
    FakeLockWindowGuard m_guard;
    FakeSoundPlayer m_sounds;
    std::unique_ptr<KeepAwakeManager> m_keepAwake;
    std::unique_ptr<PINManager> m_pins;
    std::unique_ptr<OverlayManager> m_overlay;
    std::unique_ptr<AutomationActions> m_actions;

private Q_SLOTS:
    void init()
    {
        QFile::remove(m_dir.filePath(QStringLiteral("defaults.json")));
        m_defaults =
            std::make_unique<UserDefaults>(m_dir.filePath(QStringLiteral("defaults.json")));
        m_defaults->setString(PreferenceKey::storedPIN,
                              PINManager::encodePIN(QStringLiteral("2468")));
        m_assertions = std::make_unique<FakePowerAssertions>();
        m_keepAwake = std::make_unique<KeepAwakeManager>(*m_assertions, m_notifications);
        m_pins = std::make_unique<PINManager>(*m_defaults, m_reader);
        m_overlay = std::make_unique<OverlayManager>(OverlayManager::Services{
            *m_keepAwake, *m_pins, *m_defaults, m_notifications, m_guard, m_sounds});
        m_actions = std::make_unique<AutomationActions>(*m_overlay, *m_pins, *m_keepAwake);
    }

    void cleanup()
    {
        m_actions.reset();
        m_overlay.reset();
        m_pins.reset();
        m_keepAwake.reset();
    }

    void statusText_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("awake");
        QTest::addColumn<QStringList>("agents");
        QTest::addColumn<QString>("text");

        QTest::addRow("idle") << false << false << QStringList{}
                              << QStringLiteral("Vostrel: Idle.");
        QTest::addRow("locked and awake")
            << true << true << QStringList{}
            << QStringLiteral("Vostrel: Screen locked. Keeping awake. ");
        QTest::addRow("awake only")
            << false << true << QStringList{} << QStringLiteral("Vostrel: Keeping awake. ");
        QTest::addRow("two agents, idle")
            << false << false << QStringList{QStringLiteral("Claude Code"), QStringLiteral("Codex")}
            << QStringLiteral("Vostrel: AI agents: Claude Code, Codex. Idle.");
        QTest::addRow("locked with an agent")
            << true << false << QStringList{QStringLiteral("Aider")}
            << QStringLiteral("Vostrel: Screen locked. AI agents: Aider. ");
    }

    void statusText()
    {
        QFETCH(bool, locked);
        QFETCH(bool, awake);
        QFETCH(QStringList, agents);
        QFETCH(QString, text);
        QCOMPARE(AutomationActions::statusText(locked, awake, agents), text);
    }

    void statusFollowsTheManagers()
    {
        QCOMPARE(m_actions->status(), QStringLiteral("Vostrel: Idle."));
        m_actions->lockScreen();
        QCOMPARE(m_actions->status(), QStringLiteral("Vostrel: Screen locked. Keeping awake. "));
    }

    void lockingTwiceStartsOnePeriod()
    {
        m_actions->lockScreen();
        const auto creations = m_assertions->creations().size();
        m_actions->lockScreen();
        QCOMPARE(m_assertions->creations().size(), creations);
        QVERIFY(m_overlay->isOverlayActive());
    }

    void unlockNeedsTheRightPIN()
    {
        m_actions->lockScreen();
        QVERIFY(!m_actions->unlockScreen(QStringLiteral("1357")));
        QVERIFY(m_overlay->isOverlayActive());
        QCOMPARE(m_pins->failedAttempts(), 1);
        QVERIFY(m_actions->unlockScreen(QStringLiteral("2468")));
        QVERIFY(!m_overlay->isOverlayActive());
        QVERIFY(m_keepAwake->isActive()); // unlocking never ends keep-awake
    }

    void unlockCountsTowardsTheSameLockout()
    {
        m_actions->lockScreen();
        for (int i = 0; i < 5; ++i)
            QVERIFY(!m_actions->unlockScreen(QStringLiteral("0000")));
        QVERIFY(m_pins->isLockedOut());
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
        m_actions->keepAwake(minutes);
        QVERIFY(m_keepAwake->isActive());
        QCOMPARE(m_keepAwake->totalDuration().has_value(), total.isValid());
        if (total.isValid())
            QCOMPARE(*m_keepAwake->totalDuration(), total.toDouble());

        m_actions->keepAwake(60); // a running period is left alone
        QCOMPARE(m_keepAwake->totalDuration().has_value(), total.isValid());
        m_actions->stopKeepAwake();
        QVERIFY(!m_keepAwake->isActive());
    }
};

QTEST_MAIN(TestAutomationActions)
#include "tst_automationactions.moc"
