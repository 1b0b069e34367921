#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "settings/overlaysettings.h"
#include "themes/thememanager.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <optional>

class TestOverlaySettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        m_defaults.emplace(m_dir->filePath(QStringLiteral("defaults.json")));
        m_themes.emplace(*m_defaults);
        m_overlay.emplace(*m_themes);
    }
    void cleanup()
    {
        m_overlay.reset();
        m_themes.reset();
        m_defaults.reset();
        m_dir.reset();
    }

    void websiteEditIsTrimmedOrRemoved_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("stored");
        const QVariant none;
        const QVariant url(QStringLiteral("https://example.com/scores"));
        QTest::addRow("plain") << QStringLiteral("https://example.com/scores") << url;
        QTest::addRow("pasted with line breaks")
            << QStringLiteral("\n\t https://example.com/scores\r\n") << url;
        QTest::addRow("inner blank kept") << QStringLiteral(" https://example.com/a b ")
                                          << QVariant(QStringLiteral("https://example.com/a b"));
        QTest::addRow("only white space") << QStringLiteral(" \n\t ") << none;
    }
    void websiteEditIsTrimmedOrRemoved()
    {
        QFETCH(QString, typed);
        QFETCH(QVariant, stored);
        m_themes->setCustomWebsiteURL(QStringLiteral("https://old.example/"));
        m_overlay->editWebsiteURL(typed);
        QCOMPARE(m_defaults->value(PreferenceKey::customWebsiteURL), stored);
        QCOMPARE(m_overlay->hasWebsiteURL(), stored.isValid());
        QCOMPARE(m_overlay->websiteURL(), stored.toString());
    }

    void radiusLabelTruncates_data()
    {
        QTest::addColumn<double>("radius");
        QTest::addColumn<QString>("label");
        QTest::addRow("from a share link") << 33.9 << QStringLiteral("33");
        QTest::addRow("negative towards zero") << -2.7 << QStringLiteral("-2");
        QTest::addRow("too large for a whole number")
            << 1e300 << QString::number(std::numeric_limits<qint64>::max());
        QTest::addRow("nan") << std::numeric_limits<double>::quiet_NaN() << QStringLiteral("0");
    }
    void radiusLabelTruncates()
    {
        QFETCH(double, radius);
        QFETCH(QString, label);
        QCOMPARE(OverlaySettings::radiusLabel(radius), label);
    }

private:
    std::optional<QTemporaryDir> m_dir;
    std::optional<Preferences> m_defaults;
    std::optional<ThemeManager> m_themes;
    std::optional<OverlaySettings> m_overlay;
};

QTEST_GUILESS_MAIN(TestOverlaySettings)
#include "tst_overlaysettings.moc"
