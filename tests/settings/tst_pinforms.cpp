#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "overlay/pinmanager.h"
#include "platform/fakes/fakebiometricauthenticator.h"
#include "settings/onboardingflow.h"
#include "settings/pinrules.h"
#include "settings/securitysettings.h"
#include "themes/thememanager.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

// The two PIN forms: onboarding's and the Security page's. They share the
// rule but not the order of their checks.
class TestPinForms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        m_defaults.emplace(m_dir->filePath(QStringLiteral("defaults.json")));
        m_pins.emplace(*m_defaults, m_biometrics);
        m_themes.emplace(*m_defaults);
    }
    void cleanup()
    {
        m_themes.reset();
        m_pins.reset();
        m_defaults.reset();
        m_dir.reset();
    }

    void rule_data()
    {
        QTest::addColumn<QString>("pin");
        QTest::addColumn<bool>("valid");
        QTest::addRow("four ASCII digits") << QStringLiteral("1234") << true;
        QTest::addRow("three digits") << QStringLiteral("123") << false;
        QTest::addRow("seven digits") << QStringLiteral("1234567") << false;
        QTest::addRow("empty") << QString() << false;
        QTest::addRow("letter") << QStringLiteral("12a4") << false;
        QTest::addRow("control character") << QStringLiteral("12\n34") << false;
        QTest::addRow("Arabic-Indic digits") << QStringLiteral("\u0661\u0662\u0663\u0664") << true;
        QTest::addRow("vulgar fraction counts as a number") << QStringLiteral("12\u00BD4") << true;
        // Four mathematical digits are eight UTF-16 units but four characters.
        QTest::addRow("digits outside the BMP")
            << QString::fromUcs4(U"\U0001D7CF\U0001D7D0\U0001D7D1\U0001D7D2", 4) << true;
        QTest::addRow("three digits outside the BMP")
            << QString::fromUcs4(U"\U0001D7CF\U0001D7D0\U0001D7D1", 3) << false;
    }
    void rule()
    {
        QFETCH(QString, pin);
        QTEST(PinRules::isValid(pin), "valid");
    }

    void onboardingChecksLengthFirst_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<QString>("error");
        const QString length = QStringLiteral("PIN must be 4–6 digits");
        const QString mismatch = QStringLiteral("PINs don't match");
        QTest::addRow("three digits twice")
            << QStringLiteral("123") << QStringLiteral("123") << length;
        QTest::addRow("valid, other confirmation")
            << QStringLiteral("1234") << QStringLiteral("1235") << mismatch;
        QTest::addRow("five digits twice")
            << QStringLiteral("12345") << QStringLiteral("12345") << QString();
    }
    void onboardingChecksLengthFirst()
    {
        QFETCH(QString, input);
        QFETCH(QString, confirm);
        QFETCH(QString, error);
        OnboardingFlow flow(*m_defaults, *m_themes);
        flow.advance();
        QCOMPARE(flow.currentStep(), int(OnboardingFlow::pin));
        flow.setPinInput(input);
        flow.setPinConfirm(confirm);
        flow.advance();
        QCOMPARE(flow.pinError(), error);
        QCOMPARE(flow.currentStep(),
                 int(error.isEmpty() ? OnboardingFlow::theme : OnboardingFlow::pin));
        QCOMPARE(m_pins->hasPIN(), error.isEmpty());
    }

    void onboardingStoresAsItGoes()
    {
        OnboardingFlow flow(*m_defaults, *m_themes);
        QSignalSpy completed(&flow, &OnboardingFlow::completed);
        QCOMPARE(flow.selectedTheme(), QStringLiteral("live_blur"));
        flow.goBack();
        QCOMPARE(flow.currentStep(), 0);
        flow.advance();
        flow.setPinInput(QStringLiteral("12345"));
        flow.setPinConfirm(QStringLiteral("12345"));
        flow.advance();
        // Stored on leaving step 1, before anything else is done.
        QCOMPARE(m_pins->storedPIN(), QStringLiteral("12345"));
        QCOMPARE(m_pins->expectedPINLength(), 5);
        QVERIFY(!m_defaults->contains(PreferenceKey::selectedTheme));

        // An unknown theme is refused; an offered one is taken.
        flow.setSelectedTheme(QStringLiteral("minimal_light"));
        QCOMPARE(flow.selectedTheme(), QStringLiteral("live_blur"));
        flow.setSelectedTheme(QStringLiteral("av_dark"));
        flow.goBack();
        flow.setPinInput(QStringLiteral("4321"));
        flow.setPinConfirm(QStringLiteral("4321"));
        flow.advance();
        QCOMPARE(m_pins->storedPIN(), QStringLiteral("4321"));
        flow.advance();
        QCOMPARE(m_defaults->string(PreferenceKey::selectedTheme), QStringLiteral("av_dark"));
        QCOMPARE(m_themes->currentTheme(), OverlayThemeID::avDark);
        QVERIFY(!m_defaults->boolValue(PreferenceKey::hasCompletedOnboarding));
        QVERIFY(flow.isLastStep());
        flow.advance();
        QVERIFY(m_defaults->boolValue(PreferenceKey::hasCompletedOnboarding));
        QCOMPARE(completed.count(), 1);
        QCOMPARE(flow.currentStep(), 3);
    }

    void onboardingUntouchedThemeAppliesLiveBlur()
    {
        m_themes->setCurrentTheme(OverlayThemeID::minimalDark);
        OnboardingFlow flow(*m_defaults, *m_themes);
        flow.advance();
        flow.setPinInput(QStringLiteral("1234"));
        flow.setPinConfirm(QStringLiteral("1234"));
        flow.advance();
        flow.advance();
        QCOMPARE(m_themes->currentTheme(), OverlayThemeID::liveBlur);
    }

    void securityChecksMatchFirst_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("newPIN");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("success");
        QTest::addRow("different and too short")
            << QStringLiteral("1234") << QStringLiteral("12") << QStringLiteral("13")
            << QStringLiteral("PINs don't match") << false;
        QTest::addRow("seven digits confirmed")
            << QStringLiteral("1234") << QStringLiteral("1234567") << QStringLiteral("1234567")
            << QStringLiteral("PIN must be 4–6 digits") << false;
        QTest::addRow("wrong current PIN")
            << QStringLiteral("9999") << QStringLiteral("12345") << QStringLiteral("12345")
            << QStringLiteral("Current PIN is incorrect") << false;
        QTest::addRow("five digits in Arabic-Indic")
            << QStringLiteral("1234") << QStringLiteral("\u0661\u0662\u0663\u0664\u0665")
            << QStringLiteral("\u0661\u0662\u0663\u0664\u0665")
            << QStringLiteral("PIN updated successfully") << true;
    }
    void securityChecksMatchFirst()
    {
        QFETCH(QString, current);
        QFETCH(QString, newPIN);
        QFETCH(QString, confirm);
        m_defaults->setString(PreferenceKey::storedPIN,
                              PINManager::encodePIN(QStringLiteral("1234")));
        SecuritySettings security(*m_defaults, *m_pins);
        security.setCurrentPIN(current);
        security.setNewPIN(newPIN);
        security.setConfirmPIN(confirm);
        QVERIFY(security.canUpdate());
        QFETCH(bool, success);
        QCOMPARE(security.updatePIN(), success);
        QTEST(security.pinMessage(), "message");
        QCOMPARE(security.pinSuccess(), success);
        if (success) {
            QCOMPARE(m_pins->storedPIN(), newPIN);
            QCOMPARE(m_pins->expectedPINLength(), 5);
            QVERIFY(security.currentPIN().isEmpty() && security.newPIN().isEmpty() &&
                    security.confirmPIN().isEmpty());
        } else {
            QCOMPARE(m_pins->storedPIN(), QStringLiteral("1234"));
            // The fields keep their text so one can be corrected.
            QCOMPARE(security.newPIN(), newPIN);
            QCOMPARE(security.confirmPIN(), confirm);
            // A wrong current PIN never counts as a failed unlock.
            QCOMPARE(m_pins->failedAttempts(), 0);
        }
    }

    // The PIN removed to get back in: the form sets a new one and asks for
    // no current PIN (whatever its hidden field held does not count).
    void securityWithoutStoredPINSetsOne()
    {
        SecuritySettings security(*m_defaults, *m_pins);
        QVERIFY(!security.hasPIN());
        security.setNewPIN(QStringLiteral("5678"));
        security.setConfirmPIN(QStringLiteral("5678"));
        QVERIFY(security.canUpdate());
        security.setCurrentPIN(QStringLiteral("1234"));
        QSignalSpy form(&security, &SecuritySettings::formChanged);
        QVERIFY(security.updatePIN());
        QVERIFY(m_pins->verifyPIN(QStringLiteral("5678")));
        QVERIFY(security.hasPIN());
        QVERIFY(security.pinSuccess());
        QVERIFY(!form.isEmpty());

        // From now on the current PIN is asked for again.
        security.setNewPIN(QStringLiteral("2468"));
        security.setConfirmPIN(QStringLiteral("2468"));
        QVERIFY(!security.canUpdate());
    }

    void updateNeedsAllThreeFields()
    {
        SecuritySettings security(*m_defaults, *m_pins);
        security.setCurrentPIN(QStringLiteral("1234"));
        security.setNewPIN(QStringLiteral("5678"));
        QVERIFY(!security.canUpdate());
        security.setConfirmPIN(QStringLiteral("5"));
        QVERIFY(security.canUpdate());
    }

    void securityPreferences()
    {
        SecuritySettings security(*m_defaults, *m_pins);
        // A fresh domain shows the switch on while the key stays unwritten.
        QVERIFY(security.fingerprintEnabled());
        QVERIFY(!m_defaults->contains(PreferenceKey::fingerprintEnabled));
        QSignalSpy attempts(&security, &SecuritySettings::maxPINAttemptsChanged);
        security.setMaxPINAttempts(3);
        QCOMPARE(m_defaults->integer(PreferenceKey::maxPINAttempts), 3);
        QCOMPARE(m_pins->maxPINAttempts(), 3);
        QCOMPARE(attempts.count(), 1);
        security.setMaxPINAttempts(0);
        QCOMPARE(m_defaults->integer(PreferenceKey::maxPINAttempts), 3);
    }

private:
    std::optional<QTemporaryDir> m_dir;
    std::optional<Preferences> m_defaults;
    FakeBiometricAuthenticator m_biometrics;
    std::optional<PINManager> m_pins;
    std::optional<ThemeManager> m_themes;
};

QTEST_GUILESS_MAIN(TestPinForms)
#include "tst_pinforms.moc"
