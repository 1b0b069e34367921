#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "themes/thememanager.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestThemeManager : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_defaults;

    [[nodiscard]] QString path() const { return m_dir->filePath(QStringLiteral("defaults.json")); }
    // A second reader of the same file, as the next launch would be.
    [[nodiscard]] std::unique_ptr<Preferences> relaunch() const
    {
        return std::make_unique<Preferences>(path());
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_defaults = std::make_unique<Preferences>(path());
    }

    void cleanup()
    {
        m_defaults.reset();
        m_dir.reset();
    }

    void emptyStoreGivesTheDefaultsAndWritesNothing()
    {
        ThemeManager manager(*m_defaults);
        QCOMPARE(manager.currentTheme(), OverlayThemeID::liveBlur);
        QVERIFY(relaunch()->keys().isEmpty());
    }

    // Each stored value and what the manager makes of it at creation.
    void readRules_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char *name, QLatin1String key, const QVariant &stored,
                            const char *property, const QVariant &expected) {
            QTest::addRow("%s", name)
                << QString(key) << stored << QString::fromLatin1(property) << expected;
        };
        using namespace PreferenceKey;
        row("theme charcoal", selectedTheme, QStringLiteral("charcoal"), "currentTheme",
            QStringLiteral("charcoal"));
        row("theme unknown", selectedTheme, QStringLiteral("plaid"), "currentTheme",
            QStringLiteral("live_blur"));
        row("theme as number", selectedTheme, qint64(3), "currentTheme",
            QStringLiteral("live_blur"));
        row("headline empty stays empty", overlayHeadline, QString(), "customHeadline", QString());
        row("headline as Bool", overlayHeadline, true, "customHeadline",
            QStringLiteral("Don't interrupt the tamber."));
        row("ticker as 0", showTaskTicker, qint64(0), "showTaskTicker", true);
        row("clock as \"no\"", showClock, QStringLiteral("no"), "showClock", true);
        row("photo path as data", customPhotoPath, QByteArray("/tmp/p.jpg"), "customPhotoPath",
            QString());
        row("radius integer", liveBlurRadius, qint64(3), "liveBlurRadius", 3.0);
        row("radius as text", liveBlurRadius, QStringLiteral("20"), "liveBlurRadius", 15.0);
        row("desktop as 1", liveBlurShowDesktop, qint64(1), "liveBlurShowDesktop", false);
        row("fill Solid", overlayBackgroundFill, QStringLiteral("Solid"), "backgroundFillMode",
            QStringLiteral("gradient"));
        row("motion as text", overlayBackgroundMotion, QStringLiteral("false"),
            "backgroundMotionEnabled", true);
    }

    void readRules()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QString, property);
        QFETCH(QVariant, expected);
        QVERIFY(m_defaults->setValue(key, stored));
        ThemeManager manager(*m_defaults);
        QCOMPARE(manager.property(property.toLatin1().constData()), expected);
        // Reading never repairs the file.
        QCOMPARE(relaunch()->value(key), stored);
    }

    void setsWriteThroughAndNotifyOnChange()
    {
        ThemeManager manager(*m_defaults);
        QSignalSpy themeSpy(&manager, &ThemeManager::currentThemeChanged);
        QSignalSpy radiusSpy(&manager, &ThemeManager::liveBlurRadiusChanged);

        // Setting the value it already has still stores it.
        manager.setBackgroundMotionEnabled(true);
        QCOMPARE(relaunch()->value(PreferenceKey::overlayBackgroundMotion), QVariant(true));
        manager.setCurrentTheme(OverlayThemeID::liveBlur);
        QCOMPARE(themeSpy.count(), 0);
        QCOMPARE(relaunch()->value(PreferenceKey::selectedTheme),
                 QVariant(QStringLiteral("live_blur")));

        manager.setCurrentTheme(OverlayThemeID::deepOcean);
        QCOMPARE(themeSpy.count(), 1);

        // No clamping: the manager keeps what it is given.
        manager.setLiveBlurRadius(3);
        QCOMPARE(radiusSpy.count(), 1);
        QCOMPARE(relaunch()->value(PreferenceKey::liveBlurRadius), QVariant(3.0));

        manager.setBackgroundFillMode(OverlayBackgroundFillMode::solid);

        // What was written is what the next launch reads.
        ThemeManager next(*relaunch());
        QCOMPARE(next.currentTheme(), OverlayThemeID::deepOcean);
        QCOMPARE(next.liveBlurRadius(), 3.0);
        QCOMPARE(next.backgroundFillMode(), OverlayBackgroundFillMode::solid);
    }

    void noneRemovesTheKey()
    {
        ThemeManager manager(*m_defaults);
        QSignalSpy spy(&manager, &ThemeManager::customWebsiteURLChanged);
        manager.setCustomWebsiteURL(QStringLiteral("https://example.org"));
        QCOMPARE(relaunch()->value(PreferenceKey::customWebsiteURL),
                 QVariant(QStringLiteral("https://example.org")));
        manager.setCustomWebsiteURL(std::nullopt);
        QCOMPARE(spy.count(), 2);
        QVERIFY(!relaunch()->contains(PreferenceKey::customWebsiteURL));
        QVERIFY(!ThemeManager(*relaunch()).customWebsiteURL());

        // From QML, undefined resets: the same removal.
        manager.setCustomPhotoPath(QStringLiteral("/tmp/p.png"));
        QVERIFY(manager.metaObject()
                    ->property(manager.metaObject()->indexOfProperty("customPhotoPath"))
                    .reset(&manager));
        QVERIFY(!manager.customPhotoPath());
        QVERIFY(!relaunch()->contains(PreferenceKey::customPhotoPath));

        // An empty string is a value, not none.
        manager.setCustomHTMLPath(QString());
        QVERIFY(relaunch()->contains(PreferenceKey::customHTMLPath));
    }

    void qmlFacesRefuseUnknownRawValues()
    {
        ThemeManager manager(*m_defaults);
        QSignalSpy spy(&manager, &ThemeManager::currentThemeChanged);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("names no theme")));
        QVERIFY(manager.setProperty("currentTheme", QStringLiteral("Glass")));
        QCOMPARE(manager.currentTheme(), OverlayThemeID::liveBlur);
        QCOMPARE(spy.count(), 0);
        QVERIFY(!relaunch()->contains(PreferenceKey::selectedTheme));

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no fill mode")));
        manager.setProperty("backgroundFillMode", QStringLiteral("Solid"));
        QCOMPARE(manager.backgroundFillMode(), OverlayBackgroundFillMode::gradient);

        manager.setProperty("currentTheme", QStringLiteral("glass"));
        QCOMPARE(manager.currentTheme(), OverlayThemeID::glass);
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestThemeManager)
#include "tst_thememanager.moc"
