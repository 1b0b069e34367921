// The settings over the real autostart entry they write in the application:
// what the fake login item of the feature tests cannot show.
#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/linux/xdgautostartloginitem.h"
#include "settings/generalsettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

class TestXdgAutostartLoginItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        m_defaults.emplace(m_dir->filePath(QStringLiteral("defaults.json")));
    }
    void cleanup()
    {
        m_defaults.reset();
        m_dir.reset();
    }

    void autostartEntryIsWrittenAndRemoved()
    {
        const QString folder = m_dir->filePath(QStringLiteral("config/autostart"));
        XdgAutostartLoginItem item(folder, QStringLiteral("/opt/My \"Apps\"/vostrel"));
        QVERIFY(item.registerItem().ok);
        QFile entry(folder + QStringLiteral("/vostrel.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
        QVERIFY(text.contains(QStringLiteral("\nType=Application\n")));
        // Quoted, the inner quotes escaped for the Exec rule and again for the
        // string rule.
        QVERIFY(text.contains(QStringLiteral("\nExec=\"/opt/My \\\\\"Apps\\\\\"/vostrel\"\n")));
        entry.close();
        QVERIFY(item.unregisterItem().ok);
        QVERIFY(!entry.exists());
        // Already gone counts as removed.
        QVERIFY(item.unregisterItem().ok);
    }

    void unwritableAutostartFolderReportsAndReverts()
    {
        // A file where the folder should be: neither mkpath nor the entry works.
        const QString blocker = m_dir->filePath(QStringLiteral("autostart"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        XdgAutostartLoginItem item(blocker, QStringLiteral("/usr/bin/vostrel"));
        GeneralSettings general(*m_defaults, item);
        general.setLaunchAtLogin(true);
        QVERIFY(!general.launchAtLogin());
        QVERIFY2(general.loginError().contains(blocker), qPrintable(general.loginError()));
    }



private:
    std::optional<QTemporaryDir> m_dir;
    std::optional<Preferences> m_defaults;
};

QTEST_MAIN(TestXdgAutostartLoginItem)
#include "tst_xdgautostartloginitem.moc"
