#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "themes/thememanager.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {
QString encode(const QByteArray &json)
{
    return QString::fromLatin1(json.toBase64());
}

QString encode(const QJsonObject &object)
{
    return encode(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// A complete document unlike the defaults in every value.
QJsonObject fullDocument()
{
    return {
        {QStringLiteral("theme"), QStringLiteral("charcoal")},
        {QStringLiteral("headline"), QStringLiteral("Deploying")},
        {QStringLiteral("subtext"), QStringLiteral("Back at four")},
        {QStringLiteral("showTicker"), false},
        {QStringLiteral("showClock"), false},
        {QStringLiteral("blurRadius"), 40.0},
        {QStringLiteral("fillMode"), QStringLiteral("solid")},
        {QStringLiteral("motion"), false},
        {QStringLiteral("liveBlurDesktop"), true},
    };
}

QJsonObject decodeExport(const ThemeManager &manager)
{
    const auto base64 = manager.exportConfig();
    if (!base64)
        return {};
    return QJsonDocument::fromJson(QByteArray::fromBase64(base64->toLatin1())).object();
}
} // namespace

class TestThemeShareLinks : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_defaults;
    std::unique_ptr<ThemeManager> m_manager;

    [[nodiscard]] QString path() const { return m_dir->filePath(QStringLiteral("defaults.json")); }

    // Every published property of the manager, to see that nothing moved.
    [[nodiscard]] QVariantMap snapshot() const
    {
        QVariantMap values;
        const QMetaObject *meta = m_manager->metaObject();
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
            values.insert(QString::fromLatin1(meta->property(i).name()),
                          meta->property(i).read(m_manager.get()));
        return values;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_defaults = std::make_unique<Preferences>(path());
        m_manager = std::make_unique<ThemeManager>(*m_defaults);
    }

    void cleanup()
    {
        m_manager.reset();
        m_defaults.reset();
        m_dir.reset();
    }

    void defaultsRoundTripToAnotherMachine()
    {
        const auto base64 = m_manager->exportConfig();
        QVERIFY(base64);
        const QJsonObject document = decodeExport(*m_manager);
        QCOMPARE(document.value(QLatin1String("theme")).toString(), QStringLiteral("live_blur"));
        QCOMPARE(document.value(QLatin1String("fillMode")).toString(), QStringLiteral("gradient"));
        QVERIFY(document.contains(QLatin1String("motion")));
        QVERIFY(document.contains(QLatin1String("liveBlurDesktop")));
        QVERIFY(!document.contains(QLatin1String("websiteURL")));

        QTemporaryDir otherDir;
        Preferences otherDefaults(otherDir.filePath(QStringLiteral("defaults.json")));
        ThemeManager other(otherDefaults);
        QVERIFY(other.importConfig(encode(fullDocument())));
        QCOMPARE(other.currentTheme(), OverlayThemeID::charcoal);

        QVERIFY(other.importConfig(*base64));
        QCOMPARE(other.currentTheme(), OverlayThemeID::liveBlur);
        QCOMPARE(other.customHeadline(), QStringLiteral("Don't interrupt the tamber."));
        QCOMPARE(other.customSubtext(), QStringLiteral("The lab is busy."));
        QVERIFY(other.showTaskTicker());
        QVERIFY(other.showClock());
        QCOMPARE(other.liveBlurRadius(), 15.0);
        QCOMPARE(other.backgroundFillMode(), OverlayBackgroundFillMode::gradient);
        QVERIFY(other.backgroundMotionEnabled());
        QVERIFY(!other.liveBlurShowDesktop());
        // Applied through the setters: stored for the next launch.
        const Preferences relaunched(otherDir.filePath(QStringLiteral("defaults.json")));
        QCOMPARE(relaunched.string(PreferenceKey::selectedTheme), QStringLiteral("live_blur"));
        QCOMPARE(relaunched.doubleValue(PreferenceKey::liveBlurRadius), 15.0);
    }

    void websiteTravelsOnlyWithTheWebsiteTheme()
    {
        m_manager->setCustomWebsiteURL(QStringLiteral("https://status.example.org"));
        m_manager->setCustomHTMLPath(QStringLiteral("/home/me/lock.html"));
        m_manager->setCustomPhotoPath(QStringLiteral("/home/me/cat.png"));
        m_manager->setCurrentTheme(OverlayThemeID::charcoal);
        QVERIFY(!decodeExport(*m_manager).contains(QLatin1String("websiteURL")));
        m_manager->setCurrentTheme(OverlayThemeID::customWebsite);
        const QJsonObject document = decodeExport(*m_manager);
        QCOMPARE(document.value(QLatin1String("websiteURL")).toString(),
                 QStringLiteral("https://status.example.org"));
        // Local files never travel.
        const QByteArray json = QJsonDocument(document).toJson();
        QVERIFY(!json.contains("lock.html"));
        QVERIFY(!json.contains("cat.png"));
        m_manager->setCustomWebsiteURL(std::nullopt);
        QVERIFY(!decodeExport(*m_manager).contains(QLatin1String("websiteURL")));
    }

    void radiusThatIsNoNumberCannotBeExported()
    {
        m_manager->setLiveBlurRadius(qInf());
        QVERIFY(!m_manager->exportConfig());
        m_manager->setLiveBlurRadius(qQNaN());
        QVERIFY(!m_manager->exportConfig());
    }

    // The three optional settings stay as they were when a document omits
    // them or gives null.
    void missingOptionalKeysLeaveTheirSettings_data()
    {
        QTest::addColumn<QJsonValue>("absent");
        QTest::addRow("absent") << QJsonValue(QJsonValue::Undefined);
        QTest::addRow("null") << QJsonValue(QJsonValue::Null);
    }

    void missingOptionalKeysLeaveTheirSettings()
    {
        QFETCH(QJsonValue, absent);
        m_manager->setBackgroundFillMode(OverlayBackgroundFillMode::solid);
        m_manager->setBackgroundMotionEnabled(false);
        m_manager->setLiveBlurShowDesktop(true);
        QJsonObject document = fullDocument();
        for (const char *key : {"fillMode", "motion", "liveBlurDesktop"}) {
            document.remove(QLatin1String(key));
            if (absent.isNull())
                document.insert(QLatin1String(key), absent);
        }
        document[QStringLiteral("headline")] = QString();
        QVERIFY(m_manager->importConfig(encode(document)));
        QCOMPARE(m_manager->customHeadline(), QString());
        QCOMPARE(m_manager->currentTheme(), OverlayThemeID::charcoal);
        QCOMPARE(m_manager->backgroundFillMode(), OverlayBackgroundFillMode::solid);
        QVERIFY(!m_manager->backgroundMotionEnabled());
        QVERIFY(m_manager->liveBlurShowDesktop());
    }

    void unknownThemeAndFillModeKeepTheirSettings()
    {
        m_manager->setCurrentTheme(OverlayThemeID::aurora);
        QJsonObject document = fullDocument();
        document[QStringLiteral("theme")] = QStringLiteral("Charcoal");
        document[QStringLiteral("fillMode")] = QStringLiteral("striped");
        document[QStringLiteral("futureKey")] = QJsonArray{1, 2};
        QSignalSpy themeChanged(m_manager.get(), &ThemeManager::currentThemeChanged);
        QVERIFY(m_manager->importConfig(encode(document)));
        QCOMPARE(m_manager->currentTheme(), OverlayThemeID::aurora);
        QCOMPARE(themeChanged.count(), 0);
        QCOMPARE(m_manager->backgroundFillMode(), OverlayBackgroundFillMode::gradient);
        QCOMPARE(m_manager->customHeadline(), QStringLiteral("Deploying"));
        QVERIFY(!m_manager->showTaskTicker());
        QVERIFY(m_manager->liveBlurShowDesktop());
    }

    void websiteURLAppliesOnlyToTheWebsiteTheme_data()
    {
        QTest::addColumn<QString>("currentTheme");
        QTest::addColumn<QString>("documentTheme");
        QTest::addColumn<QString>("websiteURL");
        QTest::addColumn<QString>("expected");
        const QString web = QStringLiteral("custom_website");
        const QString kept = QStringLiteral("https://kept.example");
        QTest::addRow("trimmed") << web << web << QStringLiteral("  https://new.example/a \n\t")
                                 << QStringLiteral("https://new.example/a");
        QTest::addRow("document switches to website")
            << QStringLiteral("charcoal") << web << QStringLiteral("https://new.example")
            << QStringLiteral("https://new.example");
        QTest::addRow("other theme ignores it")
            << web << QStringLiteral("charcoal") << QStringLiteral("https://new.example") << kept;
        QTest::addRow("unknown theme, website current")
            << web << QStringLiteral("plaid") << QStringLiteral("https://new.example")
            << QStringLiteral("https://new.example");
        // No URL rule here: the website view applies its own.
        QTest::addRow("not checked")
            << web << web << QStringLiteral("ftp://files") << QStringLiteral("ftp://files");
    }

    void websiteURLAppliesOnlyToTheWebsiteTheme()
    {
        QFETCH(QString, currentTheme);
        QFETCH(QString, documentTheme);
        QFETCH(QString, websiteURL);
        QFETCH(QString, expected);
        m_manager->setCurrentThemeRawValue(currentTheme);
        m_manager->setCustomWebsiteURL(QStringLiteral("https://kept.example"));
        QJsonObject document = fullDocument();
        document[QStringLiteral("theme")] = documentTheme;
        document[QStringLiteral("websiteURL")] = websiteURL;
        QVERIFY(m_manager->importConfig(encode(document)));
        QCOMPARE(m_manager->customWebsiteURL(), expected);
    }

    void radiusIsNotClamped()
    {
        QJsonObject document = fullDocument();
        document[QStringLiteral("blurRadius")] = 500;
        QVERIFY(m_manager->importConfig(encode(document)));
        QCOMPARE(m_manager->liveBlurRadius(), 500.0);
        QCOMPARE(Preferences(path()).doubleValue(PreferenceKey::liveBlurRadius), 500.0);
    }

    void linksOfAnyHostAndPath_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("accepted");
        const QString config = encode(fullDocument());
        QVERIFY(config.contains(QLatin1Char('+')) || config.contains(QLatin1Char('/')) ||
                config.contains(QLatin1Char('=')));
        QTest::addRow("maker") << QStringLiteral("https://vostrel.app/theme?config=") + config
                               << true;
        QTest::addRow("other host and path")
            << QStringLiteral("http://mirror.example.org:8080/x/y?a=1&config=") + config << true;
        QTest::addRow("no scheme") << QStringLiteral("theme?config=") + config << true;
        QTest::addRow("first config wins")
            << QStringLiteral("https://a.example/?config=") + config + QStringLiteral("&config=x")
            << true;
        QTest::addRow("first config is bad")
            << QStringLiteral("https://a.example/?config=x&config=") + config << false;
        QTest::addRow("name differs")
            << QStringLiteral("https://a.example/?Config=") + config << false;
        QTest::addRow("empty value") << QStringLiteral("https://a.example/?config=") << false;
        QTest::addRow("no query") << QStringLiteral("https://a.example/theme") << false;
        QTest::addRow("leading blank")
            << QStringLiteral(" https://vostrel.app/theme?config=") + config << false;
        QTest::addRow("trailing new line")
            << QStringLiteral("https://vostrel.app/theme?config=") + config + QStringLiteral("\n")
            << false;
    }

    void linksOfAnyHostAndPath()
    {
        QFETCH(QString, link);
        QFETCH(bool, accepted);
        QCOMPARE(m_manager->importFromURL(link), accepted);
        QCOMPARE(m_manager->currentTheme(),
                 accepted ? OverlayThemeID::charcoal : OverlayThemeID::liveBlur);
    }

    // Every one of these must leave the manager and the store untouched.
    void malformedInputChangesNothing_data()
    {
        QTest::addColumn<QString>("text");
        const QJsonObject valid = fullDocument();
        const QString good = encode(valid);
        QTest::addRow("empty") << QString();
        QTest::addRow("not Base64") << QStringLiteral("not a theme!");
        QTest::addRow("padding missing") << QString(good).remove(QLatin1Char('='));
        QTest::addRow("leading blank") << QStringLiteral(" ") + good;
        QTest::addRow("trailing new line") << good + QStringLiteral("\n");
        QTest::addRow("beyond Latin-1")
            << good.left(4) + QStringLiteral("\u00e9\u4e2d") + good.mid(6);
        // The same bytes in the URL-safe alphabet.
        QJsonObject unsafe = valid;
        unsafe[QStringLiteral("headline")] =
            QString(QString(6, QLatin1Char('?')) + QString(6, QLatin1Char('>')));
        const QByteArray unsafeJson = QJsonDocument(unsafe).toJson(QJsonDocument::Compact);
        const QString standard = encode(unsafeJson);
        const QString urlSafe =
            QString::fromLatin1(unsafeJson.toBase64(QByteArray::Base64UrlEncoding));
        QVERIFY(standard != urlSafe);
        QTest::addRow("URL-safe alphabet") << urlSafe;
        QTest::addRow("not JSON") << encode(QByteArray("theme=charcoal"));
        QTest::addRow("truncated JSON") << encode(QJsonDocument(valid).toJson().chopped(3));
        QTest::addRow("array") << encode(QJsonDocument(QJsonArray{valid}).toJson());
        QTest::addRow("radius out of range") << encode(QByteArray(
            "{\"theme\":\"charcoal\",\"headline\":\"a\",\"subtext\":\"b\",\"showTicker\":true,"
            "\"showClock\":true,\"blurRadius\":1e999}"));
        for (const char *key :
             {"theme", "headline", "subtext", "showTicker", "showClock", "blurRadius"}) {
            QJsonObject missing = valid;
            missing.remove(QLatin1String(key));
            QTest::addRow("%s missing", key) << encode(missing);
            QJsonObject null = valid;
            null[QLatin1String(key)] = QJsonValue::Null;
            QTest::addRow("%s null", key) << encode(null);
        }
        const QList<std::pair<const char *, QJsonValue>> wrongTypes = {
            {"theme", 3},
            {"headline", true},
            {"subtext", QJsonArray{QStringLiteral("a")}},
            {"showTicker", QStringLiteral("true")},
            {"showClock", 1},
            {"blurRadius", QStringLiteral("15")},
            {"blurRadius", false},
            {"fillMode", 0},
            {"motion", QStringLiteral("yes")},
            {"liveBlurDesktop", QJsonObject{}},
            {"websiteURL", 42},
        };
        for (const auto &[key, value] : wrongTypes) {
            QJsonObject wrong = valid;
            wrong[QLatin1String(key)] = value;
            wrong[QStringLiteral("theme")] =
                key == QByteArray("theme") ? value : QJsonValue(QStringLiteral("custom_website"));
            QTest::addRow("%s of type %d", key, int(value.type())) << encode(wrong);
        }
        QJsonObject huge = valid;
        huge[QStringLiteral("padding")] = QString(60 * 1024, QLatin1Char('x'));
        QTest::addRow("huge") << encode(huge);
    }

    void malformedInputChangesNothing()
    {
        QFETCH(QString, text);
        const QVariantMap before = snapshot();
        QVERIFY(!m_manager->importConfig(text));
        QVERIFY(!m_manager->importFromURL(QStringLiteral("https://vostrel.app/theme?config=") +
                                          QString::fromLatin1(QUrl::toPercentEncoding(text))));
        QCOMPARE(snapshot(), before);
        QVERIFY(Preferences(path()).keys().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestThemeShareLinks)
#include "tst_themesharelinks.moc"
