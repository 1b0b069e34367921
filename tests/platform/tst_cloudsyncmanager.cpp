#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "integrations/cloudsyncmanager.h"
#include "platform/fakes/fakekeyvaluestore.h"
#include "platform/linux/folderkeyvaluestore.h"
#include "themes/thememanager.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace {
// One machine: its own preferences and theme manager over the shared folder.
// Made again over the same preferences file, it is that machine restarted.
struct Machine
{
    Machine(const QString &defaultsPath, const QString &folder, bool syncEnabled = true)
        : defaults(defaultsPath)
        , themes(defaults)
    {
        defaults.setString(PreferenceKey::cloudSyncFolder, folder);
        defaults.setBool(PreferenceKey::cloudSyncEnabled, syncEnabled);
        store.emplace(defaults);
        sync.emplace(*store, defaults, themes);
    }

    Preferences defaults;
    ThemeManager themes;
    std::optional<FolderKeyValueStore> store;
    std::optional<CloudSyncManager> sync;
};

// The theme manager follows a pull on the next turn of the event loop.
void runQueued()
{
    QCoreApplication::sendPostedEvents();
}
} // namespace

class TestCloudSyncManager : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<Machine> m_here;
    std::unique_ptr<Machine> m_there;

    // Pushes what is set on this machine and waits for the other to see it.
    bool pushHereAndWaitThere()
    {
        QSignalSpy seen(&*m_there->store, &KeyValueStore::didChangeExternally);
        m_here->sync->push();
        if (!seen.wait(10000))
            return false;
        runQueued();
        return true;
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_home = std::make_unique<QTemporaryDir>();
        m_here = std::make_unique<Machine>(m_home->filePath(QStringLiteral("here.json")),
                                           m_folder->path());
        m_there = std::make_unique<Machine>(m_home->filePath(QStringLiteral("there.json")),
                                            m_folder->path());
        QVERIFY(m_here->sync->isSignedIn());
        m_there->themes.setCurrentTheme(OverlayThemeID::glass);
    }

    void cleanup()
    {
        m_there.reset();
        m_here.reset();
        m_home.reset();
        m_folder.reset();
    }

    void pushOnOneMachineAppliesOnTheOther()
    {
        Preferences &here = m_here->defaults;
        here.setString(PreferenceKey::selectedTheme, QStringLiteral("aurora"));
        here.setString(PreferenceKey::overlayHeadline, QStringLiteral("Recording"));
        here.setString(PreferenceKey::overlaySubtext, QStringLiteral("Back at four"));
        here.setBool(PreferenceKey::showTaskTicker, false);
        here.setBool(PreferenceKey::showClock, false);
        here.setDouble(PreferenceKey::liveBlurRadius, 42.5);
        here.setBool(PreferenceKey::liveBlurShowDesktop, true);
        here.setString(PreferenceKey::customWebsiteURL, QStringLiteral("https://example.org"));
        // Not one of the synced keys.
        here.setBool(PreferenceKey::overlayBackgroundMotion, false);
        QVERIFY(pushHereAndWaitThere());

        const ThemeManager &themes = m_there->themes;
        QCOMPARE(themes.currentTheme(), OverlayThemeID::aurora);
        QCOMPARE(themes.customHeadline(), QStringLiteral("Recording"));
        QCOMPARE(themes.customSubtext(), QStringLiteral("Back at four"));
        QCOMPARE(themes.showTaskTicker(), false);
        QCOMPARE(themes.showClock(), false);
        QCOMPARE(themes.liveBlurRadius(), 42.5);
        QCOMPARE(themes.liveBlurShowDesktop(), true);
        QCOMPARE(themes.customWebsiteURL(), QStringLiteral("https://example.org"));
        QCOMPARE(m_there->defaults.value(PreferenceKey::showClock), QVariant(false));
        QVERIFY(!m_there->defaults.contains(PreferenceKey::overlayBackgroundMotion));
        QCOMPARE(themes.backgroundMotionEnabled(), true);
    }

    void fallBacksForAbsentOrMistypedValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("pushed");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("applied");

        QTest::addRow("unknown theme keeps the current one")
            << QString(PreferenceKey::selectedTheme) << QVariant(QStringLiteral("vaporwave"))
            << QStringLiteral("currentTheme") << QVariant(QStringLiteral("glass"));
        QTest::addRow("theme of another type")
            << QString(PreferenceKey::selectedTheme) << QVariant(qint64(3))
            << QStringLiteral("currentTheme") << QVariant(QStringLiteral("glass"));
        QTest::addRow("headline not a string")
            << QString(PreferenceKey::overlayHeadline) << QVariant(qint64(5))
            << QStringLiteral("customHeadline")
            << QVariant(QStringLiteral("Don't interrupt the tamber."));
        QTest::addRow("ticker as a string")
            << QString(PreferenceKey::showTaskTicker) << QVariant(QStringLiteral("no"))
            << QStringLiteral("showTaskTicker") << QVariant(true);
        QTest::addRow("radius as a string")
            << QString(PreferenceKey::liveBlurRadius) << QVariant(QStringLiteral("big"))
            << QStringLiteral("liveBlurRadius") << QVariant(30.0);
        QTest::addRow("website not a string")
            << QString(PreferenceKey::customWebsiteURL) << QVariant(true)
            << QStringLiteral("customWebsiteURL") << QVariant(QString());
    }

    void fallBacksForAbsentOrMistypedValues()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, pushed);
        QFETCH(QString, property);
        QFETCH(QVariant, applied);
        // The other machine starts away from every fall-back.
        ThemeManager &themes = m_there->themes;
        themes.setCustomHeadline(QStringLiteral("h"));
        themes.setCustomSubtext(QStringLiteral("s"));
        themes.setShowTaskTicker(false);
        themes.setShowClock(false);
        themes.setLiveBlurRadius(12.0);
        themes.setLiveBlurShowDesktop(true);
        themes.setCustomWebsiteURL(QStringLiteral("https://there.example"));

        // Something valid besides, to see the rest still applied.
        m_here->defaults.setString(PreferenceKey::overlayHeadline, QStringLiteral("Here"));
        m_here->defaults.setValue(key, pushed);
        QVERIFY(pushHereAndWaitThere());

        QCOMPARE(themes.property(property.toUtf8().constData()), applied);
        if (key != PreferenceKey::overlayHeadline)
            QCOMPARE(themes.customHeadline(), QStringLiteral("Here"));
        // The local preference ends as the theme manager stores what it took.
        const QVariant stored = key == PreferenceKey::customWebsiteURL ? QVariant() : applied;
        QCOMPARE(m_there->defaults.value(key), stored);
    }

    void aMachineJoiningLaterTakesTheSettingsAtStart()
    {
        m_here->defaults.setBool(PreferenceKey::showClock, false);
        m_here->sync->push();
        Machine late(m_home->filePath(QStringLiteral("late.json")), m_folder->path());
        QCOMPARE(late.defaults.value(PreferenceKey::showClock), QVariant(false));
        runQueued();
        QCOMPARE(late.themes.showClock(), false);
    }

    void reasons_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("applied");
        QTest::addRow("server change") << int(KeyValueStore::serverChange) << true;
        QTest::addRow("initial sync") << int(KeyValueStore::initialSyncChange) << true;
        QTest::addRow("quota violation") << int(KeyValueStore::quotaViolationChange) << false;
        QTest::addRow("unknown") << 7 << false;
    }

    void reasons()
    {
        QFETCH(int, reason);
        QFETCH(bool, applied);
        FakeKeyValueStore store;
        QTemporaryDir dir;
        Preferences defaults(dir.filePath(QStringLiteral("defaults.json")));
        ThemeManager themes(defaults);
        CloudSyncManager sync(store, defaults, themes);
        QCOMPARE(store.synchronizeCount(), 1);

        // While sync is off here, nothing others write is taken in.
        store.changeExternally({{QString(PreferenceKey::showClock), false}}, reason);
        runQueued();
        QVERIFY(!defaults.contains(PreferenceKey::showClock));

        defaults.setBool(PreferenceKey::cloudSyncEnabled, true);
        store.changeExternally({{QString(PreferenceKey::showClock), false}}, reason);
        runQueued();
        QCOMPARE(defaults.contains(PreferenceKey::showClock), applied);
        QCOMPARE(themes.showClock(), !applied);
    }

    // A shared file that differs from settings never pushed from here, with
    // sync off here: neither the first start, a restart nor another
    // machine's later push replaces them.
    void withSyncOffTheLocalSettingsStay()
    {
        m_there->defaults.setString(PreferenceKey::overlayHeadline, QStringLiteral("Shared"));
        m_there->defaults.setBool(PreferenceKey::showClock, false);
        m_there->sync->push();
        const QString path = m_home->filePath(QStringLiteral("off.json"));
        Preferences(path).setString(PreferenceKey::overlayHeadline, QStringLiteral("Mine"));

        for (const bool restart : {false, true}) {
            Machine off(path, m_folder->path(), false);
            runQueued();
            QCOMPARE(off.themes.customHeadline(), QStringLiteral("Mine"));
            QCOMPARE(off.themes.showClock(), true);
            QVERIFY(!off.defaults.contains(PreferenceKey::showClock));
            if (!restart)
                continue;
            QSignalSpy seen(&*off.store, &KeyValueStore::didChangeExternally);
            m_there->defaults.setString(PreferenceKey::overlayHeadline, QStringLiteral("Later"));
            m_there->sync->push();
            QVERIFY(seen.wait(10000));
            runQueued();
            QCOMPARE(off.defaults.string(PreferenceKey::overlayHeadline),
                     std::optional<QString>(QStringLiteral("Mine")));
        }
    }

    void pushLeavesKeysWithoutLocalValueAlone()
    {
        FakeKeyValueStore store;
        store.changeExternally(
            {{QString(PreferenceKey::overlayHeadline), QStringLiteral("Remote")}},
            KeyValueStore::quotaViolationChange);
        QTemporaryDir dir;
        Preferences defaults(dir.filePath(QStringLiteral("defaults.json")));
        defaults.setBool(PreferenceKey::showClock, false);
        ThemeManager themes(defaults);
        CloudSyncManager sync(store, defaults, themes);

        sync.push();
        QCOMPARE(store.values().value(PreferenceKey::overlayHeadline),
                 QVariant(QStringLiteral("Remote")));
        QCOMPARE(store.values().value(PreferenceKey::showClock), QVariant(false));
        QCOMPARE(store.setCount(), 1);
        QCOMPARE(store.synchronizeCount(), 2);
    }

    void signedOutDoesNothing()
    {
        FakeKeyValueStore store;
        store.setSignedIn(false);
        QTemporaryDir dir;
        Preferences defaults(dir.filePath(QStringLiteral("defaults.json")));
        defaults.setBool(PreferenceKey::showClock, false);
        defaults.setBool(PreferenceKey::cloudSyncEnabled, true);
        ThemeManager themes(defaults);
        CloudSyncManager sync(store, defaults, themes);
        QVERIFY(!sync.isSignedIn());

        sync.push();
        store.changeExternally({{QString(PreferenceKey::showClock), true}},
                               KeyValueStore::serverChange);
        sync.pull();
        runQueued();
        QCOMPARE(store.setCount(), 0);
        QCOMPARE(store.synchronizeCount(), 0);
        QCOMPARE(defaults.value(PreferenceKey::showClock), QVariant(false));

        // A folder chosen while running is used at once.
        store.setSignedIn(true);
        sync.push();
        QCOMPARE(store.values().value(PreferenceKey::showClock), QVariant(false));
    }
};

QTEST_GUILESS_MAIN(TestCloudSyncManager)
#include "tst_cloudsyncmanager.moc"
