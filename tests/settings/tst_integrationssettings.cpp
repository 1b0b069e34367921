#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "integrations/cloudsyncmanager.h"
#include "platform/fakes/fakecalendarstore.h"
#include "platform/fakes/fakefocusstate.h"
#include "platform/fakes/fakekeyvaluestore.h"
#include "settings/calendarsourcelist.h"
#include "settings/integrationssettings.h"
#include "themes/thememanager.h"
#include "triggers/calendartambermanager.h"
#include "triggers/focusmodemanager.h"
#include "triggers/locktarget.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <optional>

// The managers the page works through, over fakes; the cloud store is
// signed in unless a test says otherwise before build().
class TestIntegrationsSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        m_defaults.emplace(m_dir->filePath(QStringLiteral("defaults.json")));
        m_kvStore = std::make_unique<FakeKeyValueStore>();
        m_calendarStore = std::make_unique<FakeCalendarStore>();
        m_focusState = std::make_unique<FakeFocusState>();
        build();
    }
    void cleanup()
    {
        m_settings.reset();
        m_focus.reset();
        m_calendar.reset();
        m_cloud.reset();
        m_themes.reset();
        m_defaults.reset();
        m_dir.reset();
    }

    void tokenWarning_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<bool>("warns");
        QTest::addRow("empty") << QString() << false;
        QTest::addRow("bot") << QStringLiteral("xoxb-123-abc") << false;
        QTest::addRow("user") << QStringLiteral("xoxp-123") << false;
        QTest::addRow("bare prefix") << QStringLiteral("xoxb-") << false;
        QTest::addRow("other") << QStringLiteral("abc") << true;
        QTest::addRow("app-level token") << QStringLiteral("xapp-1") << true;
        QTest::addRow("upper case") << QStringLiteral("XOXB-1") << true;
        QTest::addRow("leading blank") << QStringLiteral(" xoxb-1") << true;
        QTest::addRow("prefix without dash") << QStringLiteral("xoxb") << true;
    }
    void tokenWarning()
    {
        QFETCH(QString, token);
        QFETCH(bool, warns);
        m_settings->setSlackToken(token);
        QCOMPARE(m_settings->slackError(),
                 warns ? QStringLiteral("Token should start with xoxb- or xoxp-") : QString());
        // Stored whatever it holds.
        QCOMPARE(m_defaults->string(PreferenceKey::slackBotToken), std::optional<QString>(token));
        QCOMPARE(m_settings->slackToken(), token);
    }

    void clearingTheTokenClearsTheWarning()
    {
        QSignalSpy warning(m_settings.operator->(), &IntegrationsSettings::slackErrorChanged);
        m_settings->setSlackToken(QStringLiteral("a"));
        m_settings->setSlackToken(QStringLiteral("ab"));
        m_settings->setSlackToken(QStringLiteral("abc"));
        QCOMPARE(warning.count(), 1);
        m_settings->setSlackToken(QString());
        QVERIFY(m_settings->slackError().isEmpty());
        QCOMPARE(warning.count(), 2);
    }

    void slackFieldsWriteTheirKeys()
    {
        QSignalSpy enabled(m_settings.operator->(), &IntegrationsSettings::slackSyncEnabledChanged);
        m_settings->setSlackSyncEnabled(true);
        m_settings->setSlackStatusText(QStringLiteral("Heads down"));
        m_settings->setSlackStatusEmoji(QStringLiteral(":lock:"));
        QVERIFY(m_defaults->boolValue(PreferenceKey::slackSyncEnabled));
        QCOMPARE(enabled.count(), 1);
        QCOMPARE(m_defaults->string(PreferenceKey::slackStatusText).value_or(QString()),
                 QStringLiteral("Heads down"));
        QCOMPARE(m_defaults->string(PreferenceKey::slackStatusEmoji).value_or(QString()),
                 QStringLiteral(":lock:"));
        // Empty text is stored as empty, not removed.
        m_settings->setSlackStatusText(QString());
        QCOMPARE(m_defaults->string(PreferenceKey::slackStatusText),
                 std::optional<QString>(QString()));
    }

    void switchingCloudSyncOnPushes()
    {
        m_defaults->setString(PreferenceKey::overlayHeadline, QStringLiteral("Busy"));
        m_settings->setCloudSyncEnabled(false);
        QVERIFY(m_kvStore->values().isEmpty());
        m_settings->setCloudSyncEnabled(true);
        QVERIFY(m_defaults->boolValue(PreferenceKey::cloudSyncEnabled));
        QCOMPARE(m_kvStore->values().value(PreferenceKey::overlayHeadline).toString(),
                 QStringLiteral("Busy"));
    }

    void syncNowPushesAndTheMessageExpires()
    {
        m_defaults->setString(PreferenceKey::overlaySubtext, QStringLiteral("Later"));
        m_settings->syncNow();
        QCOMPARE(m_settings->syncMessage(), QStringLiteral("Synced to Cloud Sync"));
        QVERIFY(m_settings->syncError().isEmpty());
        QCOMPARE(m_kvStore->values().value(PreferenceKey::overlaySubtext).toString(),
                 QStringLiteral("Later"));
        QVERIFY(m_settings->isSyncMessageTimerActive());
        m_settings->syncMessageExpired();
        QVERIFY(m_settings->syncMessage().isEmpty());
    }

    void syncNowWithoutAStoreShowsTheErrorAndPushesNothing_data()
    {
        QTest::addColumn<bool>("signedInAtLaunch");
        QTest::addRow("never signed in") << false;
        QTest::addRow("signed out since launch") << true;
    }
    void syncNowWithoutAStoreShowsTheErrorAndPushesNothing()
    {
        QFETCH(bool, signedInAtLaunch);
        m_kvStore->setSignedIn(signedInAtLaunch);
        build();
        m_kvStore->setSignedIn(false);
        m_defaults->setString(PreferenceKey::overlaySubtext, QStringLiteral("Later"));
        const int writes = m_kvStore->setCount();
        m_settings->syncNow();
        QCOMPARE(m_settings->syncError(),
                 QStringLiteral("Cloud Sync not available. Choose a sync folder that exists."));
        QVERIFY(m_settings->syncMessage().isEmpty());
        QCOMPARE(m_kvStore->setCount(), writes);
    }

    void aStoreSignedInAfterLaunchIsUsed()
    {
        m_kvStore->setSignedIn(false);
        build();
        m_kvStore->setSignedIn(true);
        m_defaults->setString(PreferenceKey::overlaySubtext, QStringLiteral("Later"));
        m_settings->syncNow();
        QVERIFY(m_settings->syncError().isEmpty());
        QCOMPARE(m_kvStore->values().value(PreferenceKey::overlaySubtext).toString(),
                 QStringLiteral("Later"));
    }

    void cloudFolderIsTrimmed()
    {
        m_settings->setCloudSyncFolder(QStringLiteral("  /srv/sync/vostrel\n"));
        QCOMPARE(m_defaults->string(PreferenceKey::cloudSyncFolder).value_or(QString()),
                 QStringLiteral("/srv/sync/vostrel"));
        m_settings->setCloudSyncFolder(QStringLiteral("~/Sync"));
        QCOMPARE(m_defaults->string(PreferenceKey::cloudSyncFolder).value_or(QString()),
                 QDir::homePath() + QStringLiteral("/Sync"));
        m_settings->setCloudSyncFolder(QStringLiteral(" "));
        QVERIFY(!m_defaults->contains(PreferenceKey::cloudSyncFolder));
    }

    void calendarSwitchAsksForAccessAndStops()
    {
        m_settings->setCalendarEnabled(true);
        QVERIFY(m_defaults->boolValue(PreferenceKey::calendarTamberEnabled));
        QCOMPARE(m_calendarStore->pendingRequests(), 1);
        QVERIFY(m_settings->isCalendarAccessMissing());
        m_calendarStore->answerRequests(true);
        QTRY_VERIFY(!m_settings->isCalendarAccessMissing());
        QVERIFY(m_calendar->isMonitoring());

        m_settings->setCalendarEnabled(false);
        QVERIFY(!m_calendar->isMonitoring());
        QVERIFY(!m_settings->calendarEnabled());
        QVERIFY(!m_settings->isCalendarAccessMissing());
    }

    void focusSwitchObserves()
    {
        QSignalSpy changed(m_settings.operator->(), &IntegrationsSettings::focusChanged);
        m_settings->setFocusEnabled(true);
        QVERIFY(m_focus->isObserving());
        QVERIFY(m_defaults->boolValue(PreferenceKey::focusModeAutoLock));
        m_settings->setFocusEnabled(false);
        QVERIFY(!m_focus->isObserving());
        QCOMPARE(changed.count(), 2);
    }

    void calendarSourcesAddAndRemove()
    {
        CalendarSourceList list(*m_defaults);
        QSignalSpy changed(&list, &CalendarSourceList::sourcesChanged);
        QVERIFY(list.add(QStringLiteral("  /home/me/work.ics ")));
        QVERIFY(list.add(QStringLiteral("https://cal.example.org/a.ics\n\n/home/me/b.ics\r\n")));
        QCOMPARE(list.sources(), (QStringList{QStringLiteral("/home/me/work.ics"),
                                              QStringLiteral("https://cal.example.org/a.ics"),
                                              QStringLiteral("/home/me/b.ics")}));
        QCOMPARE(
            m_defaults->string(PreferenceKey::calendarSources).value_or(QString()),
            QStringLiteral("/home/me/work.ics\nhttps://cal.example.org/a.ics\n/home/me/b.ics"));
        QCOMPARE(changed.count(), 2);

        list.remove(1);
        QCOMPARE(list.sources(), (QStringList{QStringLiteral("/home/me/work.ics"),
                                              QStringLiteral("/home/me/b.ics")}));
        list.remove(7);
        list.remove(-1);
        QCOMPARE(list.sources().size(), 2);
        list.remove(0);
        list.remove(0);
        QVERIFY(!m_defaults->contains(PreferenceKey::calendarSources));
    }

    void calendarSourcesRefuseWhatTheyCannotRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addRow("blank") << QStringLiteral(" \n ");
        QTest::addRow("relative path") << QStringLiteral("work.ics");
        QTest::addRow("other scheme") << QStringLiteral("ftp://example.org/a.ics");
        QTest::addRow("one bad line among good")
            << QStringLiteral("/home/me/a.ics\nnot a calendar");
        QTest::addRow("duplicate") << QStringLiteral("/home/me/existing.ics");
    }
    void calendarSourcesRefuseWhatTheyCannotRead()
    {
        QFETCH(QString, text);
        m_defaults->setString(PreferenceKey::calendarSources,
                              QStringLiteral("/home/me/existing.ics"));
        CalendarSourceList list(*m_defaults);
        QVERIFY(!list.add(text));
        QVERIFY(!list.error().isEmpty());
        QCOMPARE(list.sources(), QStringList{QStringLiteral("/home/me/existing.ics")});
        QVERIFY(list.add(QStringLiteral("/home/me/new.ics")));
        QVERIFY(list.error().isEmpty());
    }

    void storedSourcesAreReadLineByLine()
    {
        m_defaults->setString(PreferenceKey::calendarSources,
                              QStringLiteral("\n /a.ics \r\n\r\nhttps://b.example/c.ics\n"));
        CalendarSourceList list(*m_defaults);
        QCOMPARE(list.sources(), (QStringList{QStringLiteral("/a.ics"),
                                              QStringLiteral("https://b.example/c.ics")}));
    }

    void automationCommandsNameTheFiveActions()
    {
        const QStringList commands = IntegrationsSettings::automationCommands();
        QCOMPARE(commands.size(), 5);
        const char *const actions[] = {"lock", "unlock PIN", "keep-awake", "stop-keep-awake",
                                       "status"};
        for (const char *action : actions) {
            const QString prefix = QStringLiteral("vostrel ") + QLatin1String(action);
            QVERIFY2(std::any_of(commands.cbegin(), commands.cend(),
                                 [&](const QString &line) { return line.startsWith(prefix); }),
                     action);
        }
    }

private:
    void build()
    {
        m_settings.reset();
        m_focus.reset();
        m_calendar.reset();
        m_cloud.reset();
        m_themes.reset();
        m_themes.emplace(*m_defaults);
        m_cloud.emplace(*m_kvStore, *m_defaults, *m_themes);
        m_calendar.emplace(*m_calendarStore, *m_defaults, m_target);
        m_focus.emplace(*m_focusState, *m_defaults, m_target);
        m_settings.emplace(
            IntegrationsSettings::Services{*m_defaults, *m_cloud, *m_calendar, *m_focus});
    }

    std::optional<QTemporaryDir> m_dir;
    std::optional<Preferences> m_defaults;
    std::unique_ptr<FakeKeyValueStore> m_kvStore;
    std::unique_ptr<FakeCalendarStore> m_calendarStore;
    std::unique_ptr<FakeFocusState> m_focusState;
    LockTarget m_target;
    std::optional<ThemeManager> m_themes;
    std::optional<CloudSyncManager> m_cloud;
    std::optional<CalendarTamberManager> m_calendar;
    std::optional<FocusModeManager> m_focus;
    std::optional<IntegrationsSettings> m_settings;
};

QTEST_GUILESS_MAIN(TestIntegrationsSettings)
#include "tst_integrationssettings.moc"
