#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/fakes/fakeloginitem.h"
#include "settings/generalsettings.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

class TestGeneralSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        m_defaults.emplace(m_dir->filePath(QStringLiteral("defaults.json")));
        m_login.emplace();
        m_general.emplace(*m_defaults, *m_login);
    }
    void cleanup()
    {
        m_general.reset();
        m_login.reset();
        m_defaults.reset();
        m_dir.reset();
    }

    void appearanceIsStored_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("stored");
        QTest::addRow("dark") << QStringLiteral("dark") << QStringLiteral("dark");
        QTest::addRow("unknown") << QStringLiteral("sepia\n") << QStringLiteral("system");
    }
    void appearanceIsStored()
    {
        QFETCH(QString, choice);
        m_general->setAppearance(choice);
        QTEST(m_defaults->string(PreferenceKey::settingsAppearance).value_or(QString()), "stored");
    }

    void launchAtLoginRegisters()
    {
        QSignalSpy changed(&*m_general, &GeneralSettings::launchAtLoginChanged);
        m_general->setLaunchAtLogin(true);
        QVERIFY(m_login->isRegistered());
        QVERIFY(m_general->launchAtLogin());
        QVERIFY(m_general->loginError().isEmpty());
        m_general->setLaunchAtLogin(false);
        QVERIFY(!m_login->isRegistered());
        QCOMPARE(m_defaults->value(PreferenceKey::launchAtLogin), QVariant(false));
        QCOMPARE(changed.count(), 2);
        // No change, no call.
        m_general->setLaunchAtLogin(false);
        QCOMPARE(m_login->calls(), 2);
    }

    void launchAtLoginFailureRevertsTheSwitch()
    {
        m_login->setFailure(QStringLiteral("Could not create the folder /nowhere."));
        QSignalSpy error(&*m_general, &GeneralSettings::loginErrorChanged);
        m_general->setLaunchAtLogin(true);
        QVERIFY(!m_general->launchAtLogin());
        QCOMPARE(m_defaults->value(PreferenceKey::launchAtLogin), QVariant(false));
        QCOMPARE(m_general->loginError(), QStringLiteral("Could not create the folder /nowhere."));
        QCOMPARE(error.count(), 1);

        // Succeeding later clears the message.
        m_login->setFailure({});
        m_general->setLaunchAtLogin(true);
        QVERIFY(m_general->launchAtLogin());
        QVERIFY(m_general->loginError().isEmpty());

        // Turning off fails too: the switch goes back on.
        m_login->setFailure(QStringLiteral("Could not remove it."));
        m_general->setLaunchAtLogin(false);
        QVERIFY(m_general->launchAtLogin());
        QCOMPARE(m_general->loginError(), QStringLiteral("Could not remove it."));
    }

    void negativeDurationIsStoredAsNone()
    {
        m_general->setDefaultDuration(-5);
        QCOMPARE(m_defaults->integer(PreferenceKey::defaultDuration), 0);
    }

private:
    std::optional<QTemporaryDir> m_dir;
    std::optional<Preferences> m_defaults;
    std::optional<FakeLoginItem> m_login;
    std::optional<GeneralSettings> m_general;
};

QTEST_GUILESS_MAIN(TestGeneralSettings)
#include "tst_generalsettings.moc"
