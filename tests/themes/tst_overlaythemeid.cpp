#include "backdropstyle.h"
#include "overlaybackgroundfillmode.h"
#include "overlaythemeid.h"
#include "themecatalog.h"

#include <QTest>

Q_DECLARE_METATYPE(OverlayThemeID)

namespace {
QColor rgb(double r, double g, double b, double a = 1.0)
{
    return QColor::fromRgbF(float(r), float(g), float(b), float(a));
}
} // namespace

class TestOverlayThemeID : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rows_data()
    {
        QTest::addColumn<OverlayThemeID>("id");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QColor>("preview");
        QTest::addColumn<QColor>("accent");
        auto row = [](OverlayThemeID id, const char *raw, const char *name, const char *icon,
                      QColor preview, QColor accent) {
            QTest::addRow("%s", raw) << id << QString::fromLatin1(raw) << QString::fromUtf8(name)
                                     << QString::fromLatin1(icon) << preview << accent;
        };
        row(OverlayThemeID::avDark, "av_dark", "Ashvale Dark", "flask", rgb(0.05, 0.05, 0.08),
            QColor(0x34, 0xc7, 0x59));
        row(OverlayThemeID::minimalDark, "minimal_dark", "Minimal Dark", "moon.fill", rgb(0, 0, 0),
            rgb(1, 1, 1, 0.6));
        row(OverlayThemeID::minimalLight, "minimal_light", "Minimal Light", "sun.max",
            rgb(0.96, 0.96, 0.94), rgb(0, 0, 0, 0.7));
        row(OverlayThemeID::avYellow, "av_yellow", "Quessel Yellow",
            "exclamationmark.triangle.fill", rgb(0.95, 0.82, 0.15), rgb(0.85, 0.65, 0));
        row(OverlayThemeID::glass, "glass", "Frosted Glass", "rectangle.on.rectangle",
            QColor(Qt::transparent), rgb(1, 1, 1, 0.8));
        row(OverlayThemeID::liveBlur, "live_blur", "Live Blur", "eye.slash",
            QColor(Qt::transparent), rgb(1, 1, 1, 0.8));
        row(OverlayThemeID::customPhoto, "custom_photo", "Custom Photo", "photo", rgb(0, 0, 0),
            rgb(1, 1, 1));
        row(OverlayThemeID::customHTML, "custom_html", "Custom HTML",
            "chevron.left.forwardslash.chevron.right", rgb(0, 0, 0), rgb(1, 1, 1));
        row(OverlayThemeID::customWebsite, "custom_website", "Custom Website", "globe",
            rgb(0, 0, 0), rgb(1, 1, 1));
        row(OverlayThemeID::deepOcean, "deep_ocean", "Deep Ocean", "water.waves",
            rgb(0.02, 0.07, 0.14), rgb(0.4, 0.85, 0.95));
        row(OverlayThemeID::aurora, "aurora", "Aurora", "sparkles", rgb(0.08, 0.04, 0.18),
            rgb(0.6, 1.0, 0.85));
        row(OverlayThemeID::sunset, "sunset", "Sunset", "sun.horizon.fill", rgb(0.18, 0.06, 0.12),
            rgb(1.0, 0.55, 0.45));
        row(OverlayThemeID::nebula, "nebula", "Nebula", "moon.stars.fill", rgb(0.1, 0.02, 0.16),
            rgb(0.85, 0.45, 1.0));
        row(OverlayThemeID::charcoal, "charcoal", "Charcoal Mist", "cloud.fill",
            rgb(0.12, 0.12, 0.14), rgb(1, 1, 1, 0.75));
    }

    void rows()
    {
        QFETCH(OverlayThemeID, id);
        QFETCH(QString, raw);
        QCOMPARE(OverlayTheme::rawValue(id), raw);
        QCOMPARE(OverlayTheme::fromRawValue(raw), id);
        QTEST(OverlayTheme::displayName(id), "name");
        QTEST(OverlayTheme::iconName(id), "icon");
        QTEST(OverlayTheme::previewColor(id), "preview");
        QTEST(OverlayTheme::accentColor(id), "accent");
    }

    void orderIsThePickersOrder()
    {
        const QList<OverlayThemeID> &all = OverlayTheme::allCases();
        QCOMPARE(all.size(), 14);
        QCOMPARE(OverlayTheme::displayName(all.first()), QStringLiteral("Ashvale Dark"));
        QCOMPARE(OverlayTheme::displayName(all.last()), QStringLiteral("Charcoal Mist"));
        ThemeCatalog catalog;
        const QVariantList themes = catalog.themes();
        QCOMPARE(themes.size(), 14);
        for (qsizetype i = 0; i < all.size(); ++i) {
            QCOMPARE(themes.at(i).toMap().value(QStringLiteral("rawValue")).toString(),
                     OverlayTheme::rawValue(all.at(i)));
        }
    }

    void onlyExactRawValuesParse_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addRow("capital letter") << QStringLiteral("Charcoal");
        QTest::addRow("all capitals") << QStringLiteral("LIVE_BLUR");
        QTest::addRow("leading blank") << QStringLiteral(" glass");
        QTest::addRow("trailing blank") << QStringLiteral("glass ");
        QTest::addRow("trailing newline") << QStringLiteral("aurora\n");
        QTest::addRow("empty") << QString();
        QTest::addRow("case name, not raw value") << QStringLiteral("avDark");
        QTest::addRow("display name") << QStringLiteral("Frosted Glass");
        QTest::addRow("hyphen for underscore") << QStringLiteral("deep-ocean");
    }

    void onlyExactRawValuesParse()
    {
        QFETCH(QString, raw);
        QVERIFY(!OverlayTheme::fromRawValue(raw).has_value());
        ThemeCatalog catalog;
        QVERIFY(!catalog.isTheme(raw));
        QVERIFY(catalog.theme(raw).isEmpty());
    }

    void fillModes()
    {
        using Mode = OverlayBackgroundFillMode;
        QCOMPARE(BackgroundFillMode::allCases(), (QList<Mode>{Mode::solid, Mode::gradient}));
        QCOMPARE(BackgroundFillMode::fromRawValue(u"solid"), Mode::solid);
        QCOMPARE(BackgroundFillMode::fromRawValue(u"gradient"), Mode::gradient);
        for (const char *bad : {"Solid", "GRADIENT", " solid", "", "flat"})
            QVERIFY2(!BackgroundFillMode::fromRawValue(QString::fromLatin1(bad)), bad);
        for (Mode mode : BackgroundFillMode::allCases())
            QCOMPARE(BackgroundFillMode::fromRawValue(BackgroundFillMode::rawValue(mode)), mode);
    }

    // Where a theme's flat backdrop differs from its card colour, and where
    // fill modes and glows apply.
    void backdropBases()
    {
        using Mode = OverlayBackgroundFillMode;
        const auto solid = [](OverlayThemeID id) {
            const BackdropStyle style = BackdropStyle::forTheme(id, Mode::solid);
            return style.stops.size() == 1 ? style.stops.first() : QColor();
        };
        QCOMPARE(solid(OverlayThemeID::deepOcean), rgb(0.03, 0.11, 0.22));
        QCOMPARE(solid(OverlayThemeID::sunset), rgb(0.2, 0.08, 0.18));
        for (OverlayThemeID id :
             {OverlayThemeID::avDark, OverlayThemeID::minimalDark, OverlayThemeID::minimalLight,
              OverlayThemeID::avYellow, OverlayThemeID::aurora, OverlayThemeID::nebula,
              OverlayThemeID::charcoal, OverlayThemeID::customPhoto})
            QCOMPARE(solid(id), OverlayTheme::previewColor(id));
        QCOMPARE(solid(OverlayThemeID::glass), rgb(0.04, 0.04, 0.06));

        // The web themes ignore the fill mode; everyone else has a gradient.
        for (OverlayThemeID id : OverlayTheme::allCases()) {
            const BackdropStyle gradient = BackdropStyle::forTheme(id, Mode::gradient);
            if (OverlayTheme::isWeb(id))
                QCOMPARE(gradient.stops, QList<QColor>{rgb(0, 0, 0)});
            else
                QVERIFY2(gradient.stops.size() >= 2, qPrintable(OverlayTheme::rawValue(id)));
            QVERIFY(!BackdropStyle::forTheme(id, Mode::solid).glow.has_value());
        }

        const BackdropStyle dark = BackdropStyle::forTheme(OverlayThemeID::avDark, Mode::gradient);
        QVERIFY(dark.glow.has_value());
        QCOMPARE(dark.glow->color, rgb(0.15, 0.25, 0.2, 0.45));
        QCOMPARE(dark.glow->startRadius, 100.0);
        QCOMPARE(dark.glow->endRadius, 600.0);
        const BackdropStyle light =
            BackdropStyle::forTheme(OverlayThemeID::minimalLight, Mode::gradient);
        QCOMPARE(light.glow->anchor, QPointF(0, 0));
        QVERIFY(!BackdropStyle::forTheme(OverlayThemeID::avYellow, Mode::gradient).diagonal);
        QVERIFY(!BackdropStyle::forTheme(OverlayThemeID::minimalDark, Mode::gradient).diagonal);
    }

    void liveBlurFallbackFollowsTheFillMode()
    {
        using Mode = OverlayBackgroundFillMode;
        QCOMPARE(BackdropStyle::liveBlurFallback(Mode::solid).stops,
                 QList<QColor>{rgb(0.03, 0.11, 0.22)});
        QCOMPARE(
            BackdropStyle::liveBlurFallback(Mode::gradient).stops,
            (QList<QColor>{rgb(0.04, 0.06, 0.12), rgb(0.07, 0.09, 0.18), rgb(0.02, 0.04, 0.09)}));
        ThemeCatalog catalog;
        // A fill mode QML got wrong reads as the default, gradient.
        QCOMPARE(catalog.liveBlurFallback(QStringLiteral("Solid")),
                 catalog.liveBlurFallback(QStringLiteral("gradient")));
        // An unknown theme draws like the default theme.
        QCOMPARE(catalog.backdrop(QStringLiteral("nope"), QStringLiteral("solid")),
                 catalog.backdrop(QStringLiteral("live_blur"), QStringLiteral("solid")));
    }
};

QTEST_GUILESS_MAIN(TestOverlayThemeID)
#include "tst_overlaythemeid.moc"
