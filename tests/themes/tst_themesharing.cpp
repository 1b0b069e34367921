#include "core/preferences.h"
#include "themes/thememanager.h"
#include "themes/themesharing.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestThemeSharing : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_defaults;
    std::unique_ptr<ThemeManager> m_manager;
    std::unique_ptr<ThemeSharing> m_sharing;

    // A second machine's manager that exported a different look.
    [[nodiscard]] static QString otherMachinesConfig()
    {
        QTemporaryDir dir;
        Preferences defaults(dir.filePath(QStringLiteral("defaults.json")));
        ThemeManager other(defaults);
        other.setCurrentTheme(OverlayThemeID::sunset);
        other.setCustomHeadline(QStringLiteral("In a meeting"));
        return other.exportConfig().value_or(QString());
    }

private Q_SLOTS:
    void init()
    {
        qunsetenv("VOSTREL_THEME_LINK_BASE");
        m_dir = std::make_unique<QTemporaryDir>();
        m_defaults = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("d.json")));
        m_manager = std::make_unique<ThemeManager>(*m_defaults);
        m_sharing = std::make_unique<ThemeSharing>(*m_manager);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }

    void cleanup()
    {
        m_sharing.reset();
        m_manager.reset();
        m_defaults.reset();
        m_dir.reset();
    }

    void linkBaseIsConfigurable_data()
    {
        QTest::addColumn<QByteArray>("environment");
        QTest::addColumn<QString>("base");
        QTest::addRow("default") << QByteArray() << QStringLiteral("https://vostrel.app");
        QTest::addRow("local server")
            << QByteArray("http://127.0.0.1:8123") << QStringLiteral("http://127.0.0.1:8123");
    }

    void linkBaseIsConfigurable()
    {
        QFETCH(QByteArray, environment);
        QFETCH(QString, base);
        if (!environment.isEmpty())
            qputenv("VOSTREL_THEME_LINK_BASE", environment);
        QCOMPARE(ThemeSharing::linkBase(), base);
        QCOMPARE(m_sharing->importPlaceholder(), base + QStringLiteral("/theme?config=..."));

        QSignalSpy titleChanged(m_sharing.get(), &ThemeSharing::copyButtonTitleChanged);
        QCOMPARE(m_sharing->copyButtonTitle(), QStringLiteral("Copy Link"));
        m_sharing->copyLink();
        // The Base64 text is appended as it is: "+", "/" and "=" unescaped.
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, base + QStringLiteral("/theme?config=") + *m_manager->exportConfig());
        QCOMPARE(m_sharing->copyButtonTitle(), QStringLiteral("Copied!"));
        QCOMPARE(titleChanged.count(), 1);
        QVERIFY(m_sharing->isCopyTimerActive());

        // The link pasted on another machine brings the same look.
        m_manager->setCurrentTheme(OverlayThemeID::nebula);
        m_sharing->setImportText(copied);
        QVERIFY(m_sharing->importTheme());
        QCOMPARE(m_manager->currentTheme(), OverlayThemeID::liveBlur);

        m_sharing->copyConfirmationExpired();
        QCOMPARE(m_sharing->copyButtonTitle(), QStringLiteral("Copy Link"));
        QCOMPARE(titleChanged.count(), 2);
    }

    void importOutcomes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("imported");
        const QString config = otherMachinesConfig();
        QTest::addRow("link") << QStringLiteral("https://vostrel.app/theme?config=") + config
                              << true;
        QTest::addRow("bare Base64") << config << true;
        QTest::addRow("bare Base64 with new line") << config + QLatin1Char('\n') << false;
        QTest::addRow("link without config")
            << QStringLiteral("https://vostrel.app/theme?conf=") + config << false;
        QTest::addRow("empty") << QString() << false;
    }

    void importOutcomes()
    {
        QFETCH(QString, text);
        QFETCH(bool, imported);
        QSignalSpy statusChanged(m_sharing.get(), &ThemeSharing::importStatusChanged);
        m_sharing->setImportText(text);
        QCOMPARE(m_sharing->importTheme(), imported);
        QCOMPARE(m_manager->currentTheme(),
                 imported ? OverlayThemeID::sunset : OverlayThemeID::liveBlur);
        QCOMPARE(m_sharing->importStatus(), imported ? QStringLiteral("Theme imported!")
                                                     : QStringLiteral("Invalid theme URL"));
        QCOMPARE(m_sharing->isImportFailed(), !imported);
        // The field empties on success only, so a typo can be corrected.
        QCOMPARE(m_sharing->importText(), imported ? QString() : text);
        QCOMPARE(statusChanged.count(), 1);
        QVERIFY(m_sharing->isStatusTimerActive());

        m_sharing->importStatusExpired();
        QCOMPARE(m_sharing->importStatus(), QString());
        QVERIFY(!m_sharing->isImportFailed());
        QCOMPARE(statusChanged.count(), 2);
    }
};

QTEST_MAIN(TestThemeSharing)
#include "tst_themesharing.moc"
