#include "app/startupcontroller.h"
#include "core/preferencekeys.h"
#include "platform/fakes/fakekeygrabber.h"
#include "support/lockstack.h"
#include "triggers/hotkeymanager.h"

#include <QSignalSpy>
#include <QTest>

class TestStartupController : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LockStack> m_stack;
    std::unique_ptr<FakeKeyGrabber> m_grabber;
    std::unique_ptr<HotkeyManager> m_hotkey;
    std::unique_ptr<StartupController> m_delegate;
    Preferences *m_defaults = nullptr;
    OverlayManager *m_overlay = nullptr;

private Q_SLOTS:
    void init()
    {
        m_stack = std::make_unique<LockStack>();
        m_defaults = &m_stack->defaults;
        m_overlay = &m_stack->overlay;
        m_grabber = std::make_unique<FakeKeyGrabber>();
        m_hotkey = std::make_unique<HotkeyManager>(*m_defaults, *m_grabber);
        m_delegate = std::make_unique<StartupController>(
            StartupController::Managers{*m_overlay, m_stack->pins, *m_hotkey, *m_defaults});
    }

    void cleanup()
    {
        m_delegate.reset();
        m_hotkey.reset();
        m_grabber.reset();
        m_stack.reset();
    }

    void onboardingGate_data()
    {
        QTest::addColumn<bool>("completed");
        QTest::addColumn<QString>("storedPIN");
        QTest::addColumn<int>("settingsOpened");
        QTest::addColumn<int>("onboardingOpened");
        QTest::addColumn<int>("securityOpened");

        const QString pin = PINManager::encodePIN(QStringLiteral("1234"));
        QTest::addRow("first launch") << false << QString() << 0 << 1 << 0;
        QTest::addRow("set up") << true << pin << 1 << 0 << 0;
        // Nothing else could lead to a new PIN.
        QTest::addRow("PIN deleted after onboarding") << true << QString() << 0 << 0 << 1;
        QTest::addRow("PIN unreadable") << true << QStringLiteral("%%%") << 0 << 0 << 1;
        QTest::addRow("PIN without onboarding") << false << pin << 0 << 1 << 0;
    }

    void onboardingGate()
    {
        QFETCH(bool, completed);
        QFETCH(QString, storedPIN);
        QFETCH(int, settingsOpened);
        QFETCH(int, onboardingOpened);
        QFETCH(int, securityOpened);
        m_defaults->setBool(PreferenceKey::hasCompletedOnboarding, completed);
        if (storedPIN.isEmpty())
            m_defaults->remove(PreferenceKey::storedPIN);
        else
            m_defaults->setString(PreferenceKey::storedPIN, storedPIN);

        QSignalSpy settings(m_delegate.get(), &StartupController::settingsWindowRequested);
        QSignalSpy onboarding(m_delegate.get(), &StartupController::onboardingRequested);
        QSignalSpy security(m_delegate.get(), &StartupController::securityPageRequested);
        m_delegate->start();
        QCOMPARE(settings.count(), settingsOpened);
        QCOMPARE(onboarding.count(), onboardingOpened);
        QCOMPARE(security.count(), securityOpened);
        if (onboardingOpened)
            QCOMPARE(onboarding.first().first(), QVariant(false));

        // Launching again with a window open changes nothing; without one the
        // same gate applies.
        const int opened = settingsOpened + onboardingOpened + securityOpened;
        QVERIFY(m_delegate->reopen(true));
        QCOMPARE(settings.count() + onboarding.count() + security.count(), opened);
        QVERIFY(m_delegate->reopen(false));
        QCOMPARE(settings.count(), 2 * settingsOpened);
        QCOMPARE(onboarding.count(), 2 * onboardingOpened);
        QCOMPARE(security.count(), 2 * securityOpened);
    }

    // Started on demand (D-Bus activation, the systemd unit): no window,
    // but everything else of the launch.
    void aBackgroundLaunchOpensNoWindow()
    {
        m_defaults->remove(PreferenceKey::storedPIN);
        QSignalSpy settings(m_delegate.get(), &StartupController::settingsWindowRequested);
        QSignalSpy onboarding(m_delegate.get(), &StartupController::onboardingRequested);
        m_delegate->setLaunchedInBackground(true);
        m_delegate->start();
        QVERIFY(m_grabber->heldCombination().has_value());
        QCOMPARE(settings.count() + onboarding.count(), 0);
        // The launcher's Activate still opens what the gate calls for.
        QVERIFY(m_delegate->reopen(false));
        QCOMPARE(onboarding.count(), 1);
    }

    void aRefusedHotkeyOpensWhereAPINIsChosen_data()
    {
        QTest::addColumn<bool>("completed");
        QTest::addColumn<bool>("wayland");
        QTest::addColumn<QString>("opened");
        QTest::addRow("before onboarding") << false << false << QStringLiteral("onboarding");
        QTest::addRow("PIN deleted afterwards") << true << false << QStringLiteral("security");
        QTest::addRow("Wayland: no window can help") << true << true << QStringLiteral("message");
    }

    void aRefusedHotkeyOpensWhereAPINIsChosen()
    {
        QFETCH(bool, completed);
        QFETCH(bool, wayland);
        QFETCH(QString, opened);
        m_defaults->setBool(PreferenceKey::hasCompletedOnboarding, completed);
        m_delegate->setLaunchedInBackground(true);
        m_delegate->start();
        m_defaults->remove(PreferenceKey::storedPIN);
        m_overlay->setWaylandSession(wayland);
        QSignalSpy onboarding(m_delegate.get(), &StartupController::onboardingRequested);
        QSignalSpy security(m_delegate.get(), &StartupController::securityPageRequested);
        QSignalSpy refused(m_delegate.get(), &StartupController::lockRefused);

        QVERIFY(m_grabber->press());
        QTRY_COMPARE(onboarding.count() + security.count() + refused.count(), 1);
        QVERIFY(!m_overlay->isOverlayActive());
        QVERIFY(!m_stack->keepAwake.isActive());
        if (opened == QLatin1String("onboarding"))
            QCOMPARE(onboarding.first().first(), QVariant(true));
        else if (opened == QLatin1String("security"))
            QCOMPARE(security.count(), 1);
        else
            QVERIFY(refused.first().first().toString().contains(QLatin1String("Wayland")));
    }

    void hotkeyLocksButNeverTwice()
    {
        m_delegate->start();
        QVERIFY(m_grabber->heldCombination().has_value());

        QVERIFY(m_grabber->press());
        QTRY_VERIFY(m_overlay->isOverlayActive());
        QVERIFY(m_stack->keepAwake.isActive());
        const auto creations = m_stack->assertions.requests().size();

        QVERIFY(m_grabber->press());
        QCoreApplication::processEvents();
        QVERIFY(m_overlay->isOverlayActive());
        QCOMPARE(m_stack->assertions.requests().size(), creations);
    }

    void aChangedHotkeyIsRegisteredAgain()
    {
        m_delegate->start();
        m_hotkey->setKeyCode(40); // K
        QCOMPARE(m_grabber->heldCombination()->keyCode, quint16(40));
        QVERIFY(m_grabber->press());
        QTRY_VERIFY(m_overlay->isOverlayActive());
    }

    void aControllerGoneIgnoresTheHotkey()
    {
        m_delegate->start();
        m_delegate.reset();
        m_grabber->press();
        QCoreApplication::processEvents();
        QVERIFY(!m_overlay->isOverlayActive());
    }
};

QTEST_MAIN(TestStartupController)
#include "tst_startupcontroller.moc"
