#include "themes/backdroplayers.h"
#include "themes/backdropstyle.h"
#include "themes/overlaybackgroundfillmode.h"
#include "themes/overlaythemeid.h"
#include "themes/themecatalog.h"

#include <QSet>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(OverlayThemeID)

class TestOverlayThemeID : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Raw values are what preference files and share links hold.
    void rawValuesRoundTripAndStayDistinct()
    {
        QSet<QString> seen;
        for (OverlayThemeID id : OverlayTheme::allCases()) {
            const QString raw = OverlayTheme::rawValue(id);
            QCOMPARE(OverlayTheme::fromRawValue(raw), id);
            QVERIFY2(!seen.contains(raw), qPrintable(raw));
            seen.insert(raw);
            QVERIFY(!OverlayTheme::displayName(id).isEmpty());
        }
        QCOMPARE(OverlayTheme::rawValue(OverlayThemeID::liveBlur), QStringLiteral("live_blur"));
        QCOMPARE(OverlayTheme::rawValue(OverlayThemeID::avYellow), QStringLiteral("av_yellow"));
    }

    void onlyExactRawValuesParse_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addRow("capital letter") << QStringLiteral("Charcoal");
        QTest::addRow("leading blank") << QStringLiteral(" glass");
        QTest::addRow("trailing newline") << QStringLiteral("aurora\n");
        QTest::addRow("case name, not raw value") << QStringLiteral("avDark");
        QTest::addRow("display name") << QStringLiteral("Frosted Glass");
    }

    void onlyExactRawValuesParse()
    {
        QFETCH(QString, raw);
        QVERIFY(!OverlayTheme::fromRawValue(raw).has_value());
        ThemeCatalog catalog;
        QVERIFY(!catalog.isTheme(raw));
        QVERIFY(catalog.theme(raw).isEmpty());
    }

    void layersFollowTheThemeFillMotionAndPhoto_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("fill");
        QTest::addColumn<bool>("motion");
        QTest::addColumn<QString>("photo");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("layers");
        const QString gradient = QStringLiteral("gradient");
        const QString solid = QStringLiteral("solid");
        const QString none;
        const QString photo = QStringLiteral("/photos/me.jpg");
        QTest::addRow("unknown theme draws the default")
            << QStringLiteral("Glass") << gradient << true << none << QStringLiteral("live_blur")
            << QStringLiteral("liveBlur motion time");
        QTest::addRow("av_dark gradient")
            << QStringLiteral("av_dark") << gradient << true << none << QStringLiteral("av_dark")
            << QStringLiteral("base glow motion particles time");
        QTest::addRow("an odd fill mode is a gradient")
            << QStringLiteral("av_dark") << QStringLiteral("Solid") << false << none
            << QStringLiteral("av_dark") << QStringLiteral("base glow particles time");
        QTest::addRow("photo theme with a photo")
            << QStringLiteral("custom_photo") << gradient << false << photo
            << QStringLiteral("custom_photo") << QStringLiteral("base photo");
        QTest::addRow("a photo path alone shows no photo")
            << QStringLiteral("deep_ocean") << gradient << false << photo
            << QStringLiteral("deep_ocean") << QStringLiteral("base");
        QTest::addRow("web themes never move")
            << QStringLiteral("custom_website") << gradient << true << none
            << QStringLiteral("custom_website") << QStringLiteral("base");
    }

    void layersFollowTheThemeFillMotionAndPhoto()
    {
        QFETCH(QString, theme);
        QFETCH(QString, fill);
        QFETCH(bool, motion);
        QFETCH(QString, photo);
        QFETCH(QString, shown);
        QFETCH(QString, layers);

        BackdropLayers backdrop;
        QSignalSpy changed(&backdrop, &BackdropLayers::changed);
        backdrop.setTheme(theme);
        backdrop.setFillMode(fill);
        backdrop.setMotionAllowed(motion);
        backdrop.setPhotoPath(photo);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(backdrop.shownTheme(), shown);
        const QList<std::pair<QString, bool>> flags = {
            {QStringLiteral("base"), backdrop.isBaseShown()},
            {QStringLiteral("glow"), backdrop.isGlowShown()},
            {QStringLiteral("liveBlur"), backdrop.isLiveBlurShown()},
            {QStringLiteral("photo"), backdrop.isPhotoShown()},
            {QStringLiteral("watermark"), backdrop.isWatermarkShown()},
            {QStringLiteral("glass"), backdrop.isGlassShown()},
            {QStringLiteral("motion"), backdrop.isMotionShown()},
            {QStringLiteral("particles"), backdrop.areParticlesShown()},
            {QStringLiteral("time"), backdrop.needsTime()},
        };
        QStringList actual;
        for (const auto &[name, on] : flags) {
            if (on)
                actual.append(name);
        }
        QCOMPARE(actual.join(QLatin1Char(' ')), layers);
        // The style and accent are the drawn theme's, not the raw value's.
        const auto id = *OverlayTheme::fromRawValue(shown);
        QCOMPARE(backdrop.accentColor(), OverlayTheme::accentColor(id));
        QCOMPARE(backdrop.style().value(QStringLiteral("glow")).isValid(), backdrop.isGlowShown());
    }
};

QTEST_GUILESS_MAIN(TestOverlayThemeID)
#include "tst_overlaythemeid.moc"
