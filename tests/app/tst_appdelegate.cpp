#include "appdelegate.h"
#include "fakebiometricauthenticator.h"
#include "fakekeygrabber.h"
#include "fakelockwindowguard.h"
#include "fakepowerassertions.h"
#include "fakesoundplayer.h"
#include "hotkeymanager.h"
#include "keepawakemanager.h"
#include "notificationcenter.h"
#include "overlaymanager.h"
#include "pinmanager.h"
#include "preferencekeys.h"
#include "userdefaults.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestAppDelegate : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    NotificationCenter m_notifications;
    FakePowerAssertions m_assertions;
    FakeBiometricAuthenticator m_reader;
    FakeLockWindowGuard m_guard;
    FakeSoundPlayer m_sounds;
    std::unique_ptr<FakeKeyGrabber> m_grabber;
    std::unique_ptr<KeepAwakeManager> m_keepAwake;
    std::unique_ptr<PINManager> m_pins;
    std::unique_ptr<OverlayManager> m_overlay;
    std::unique_ptr<HotkeyManager> m_hotkey;
    std::unique_ptr<AppDelegate> m_delegate;

private Q_SLOTS:
    void init()
    {
        QFile::remove(m_dir.filePath(QStringLiteral("defaults.json")));
        m_defaults =
            std::make_unique<UserDefaults>(m_dir.filePath(QStringLiteral("defaults.json")));
        m_grabber = std::make_unique<FakeKeyGrabber>();
        m_keepAwake = std::make_unique<KeepAwakeManager>(m_assertions, m_notifications);
        m_pins = std::make_unique<PINManager>(*m_defaults, m_reader);
        m_overlay = std::make_unique<OverlayManager>(OverlayManager::Services{
            *m_keepAwake, *m_pins, *m_defaults, m_notifications, m_guard, m_sounds});
        m_hotkey = std::make_unique<HotkeyManager>(*m_defaults, *m_grabber, m_notifications);
        m_delegate = std::make_unique<AppDelegate>(AppDelegate::Managers{
            *m_overlay, *m_keepAwake, *m_pins, *m_hotkey, *m_defaults, m_notifications});
    }

    void cleanup()
    {
        m_delegate.reset();
        m_hotkey.reset();
        m_overlay.reset();
        m_pins.reset();
        m_keepAwake.reset();
        m_grabber.reset();
    }

    void onboardingGate_data()
    {
        QTest::addColumn<bool>("completed");
        QTest::addColumn<QString>("storedPIN");
        QTest::addColumn<int>("settingsOpened");
        QTest::addColumn<int>("onboardingOpened");

        const QString pin = PINManager::encodePIN(QStringLiteral("1234"));
        QTest::addRow("first launch") << false << QString() << 0 << 1;
        QTest::addRow("set up") << true << pin << 1 << 0;
        QTest::addRow("PIN deleted after onboarding") << true << QString() << 0 << 0;
        QTest::addRow("PIN unreadable") << true << QStringLiteral("%%%") << 0 << 0;
        QTest::addRow("PIN without onboarding") << false << pin << 0 << 1;
    }

    void onboardingGate()
    {
        QFETCH(bool, completed);
        QFETCH(QString, storedPIN);
        QFETCH(int, settingsOpened);
        QFETCH(int, onboardingOpened);
        m_defaults->setBool(PreferenceKey::hasCompletedOnboarding, completed);
        if (!storedPIN.isEmpty())
            m_defaults->setString(PreferenceKey::storedPIN, storedPIN);

        QSignalSpy settings(m_delegate.get(), &AppDelegate::settingsWindowRequested);
        QSignalSpy onboarding(m_delegate.get(), &AppDelegate::onboardingRequested);
        m_delegate->applicationDidFinishLaunching();
        QCOMPARE(settings.count(), settingsOpened);
        QCOMPARE(onboarding.count(), onboardingOpened);

        // Launching again with a window open changes nothing; without one the
        // same gate applies.
        QVERIFY(m_delegate->applicationShouldHandleReopen(true));
        QCOMPARE(settings.count() + onboarding.count(), settingsOpened + onboardingOpened);
        QVERIFY(m_delegate->applicationShouldHandleReopen(false));
        QCOMPARE(settings.count(), 2 * settingsOpened);
        QCOMPARE(onboarding.count(), 2 * onboardingOpened);
    }

    void hotkeyLocksButNeverTwice()
    {
        m_delegate->applicationDidFinishLaunching();
        QVERIFY(m_grabber->heldCombination().has_value());

        QVERIFY(m_grabber->press());
        QTRY_VERIFY(m_overlay->isOverlayActive());
        QVERIFY(m_keepAwake->isActive());
        const auto creations = m_assertions.creations().size();

        QVERIFY(m_grabber->press());
        QCoreApplication::processEvents();
        QVERIFY(m_overlay->isOverlayActive());
        QCOMPARE(m_assertions.creations().size(), creations);
    }

    void aChangedHotkeyIsRegisteredAgain()
    {
        m_delegate->applicationDidFinishLaunching();
        m_hotkey->setKeyCode(40); // K
        QCOMPARE(m_grabber->heldCombination()->keyCode, quint16(40));
        QVERIFY(m_grabber->press());
        QTRY_VERIFY(m_overlay->isOverlayActive());
    }

    void aDelegateGoneIgnoresTheHotkey()
    {
        m_delegate->applicationDidFinishLaunching();
        m_delegate.reset();
        m_grabber->press();
        QCoreApplication::processEvents();
        QVERIFY(!m_overlay->isOverlayActive());
    }
};

QTEST_MAIN(TestAppDelegate)
#include "tst_appdelegate.moc"
