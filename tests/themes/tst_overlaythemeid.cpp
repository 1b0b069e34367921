#include "themes/overlaythemeid.h"
#include "themes/themecatalog.h"

#include <QSet>
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
};

QTEST_GUILESS_MAIN(TestOverlayThemeID)
#include "tst_overlaythemeid.moc"
