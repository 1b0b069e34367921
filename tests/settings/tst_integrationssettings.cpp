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
        QTest::addRow("other") << QStringLiteral("abc") << true;
        QTest::addRow("app-level token") << QStringLiteral("xapp-1") << true;
        QTest::addRow("leading blank") << QStringLiteral(" xoxb-1") << true;
    }
    void tokenWarning()
    {
        QFETCH(QString, token);
        QFETCH(bool, warns);
        m_settings->setSlackToken(token);
        QCOMPARE(!m_settings->slackError().isEmpty(), warns);
        // Stored whatever it holds.
        QCOMPARE(m_defaults->string(PreferenceKey::slackBotToken), std::optional<QString>(token));
        QCOMPARE(m_settings->slackToken(), token);
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
        QVERIFY(!m_settings->syncMessage().isEmpty());
        QVERIFY(m_settings->syncError().isEmpty());
        QCOMPARE(m_kvStore->values().value(PreferenceKey::overlaySubtext).toString(),
                 QStringLiteral("Later"));
        QVERIFY(m_settings->isSyncMessageTimerActive());
        m_settings->syncMessageExpired();
        QVERIFY(m_settings->syncMessage().isEmpty());
    }

    void syncNowFollowsTheStoreAsItIsNow_data()
    {
        QTest::addColumn<bool>("signedInAtLaunch");
        QTest::addColumn<bool>("signedInNow");
        QTest::addRow("never signed in") << false << false;
        QTest::addRow("signed out since launch") << true << false;
        QTest::addRow("signed in since launch") << false << true;
    }
    void syncNowFollowsTheStoreAsItIsNow()
    {
        QFETCH(bool, signedInAtLaunch);
        QFETCH(bool, signedInNow);
        m_kvStore->setSignedIn(signedInAtLaunch);
        build();
        m_kvStore->setSignedIn(signedInNow);
        m_defaults->setString(PreferenceKey::overlaySubtext, QStringLiteral("Later"));
        const int writes = m_kvStore->setCount();
        m_settings->syncNow();
        QCOMPARE(m_settings->syncError().isEmpty(), signedInNow);
        QCOMPARE(m_settings->syncMessage().isEmpty(), !signedInNow);
        QCOMPARE(m_kvStore->setCount() > writes, signedInNow);
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
        QTest::addRow("relative path") << QStringLiteral("work.ics");
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

private:
    void build()
    {
        m_settings.reset();
        m_focus.reset();
        m_calendar.reset();
        m_cloud.reset();
        m_themes.reset();
        m_themes = std::make_unique<ThemeManager>(*m_defaults);
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
    // Not an optional: GCC 14 warns that emplacing one reads its unset strings.
    std::unique_ptr<ThemeManager> m_themes;
    std::optional<CloudSyncManager> m_cloud;
    std::optional<CalendarTamberManager> m_calendar;
    std::optional<FocusModeManager> m_focus;
    std::optional<IntegrationsSettings> m_settings;
};

QTEST_GUILESS_MAIN(TestIntegrationsSettings)
#include "tst_integrationssettings.moc"
