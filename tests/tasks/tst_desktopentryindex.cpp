#include "tasks/desktopentry.h"
#include "tasks/desktopentryindex.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
bool writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(contents) >= 0;
}

QByteArray entry(const QByteArray &name, const QByteArray &extra = {})
{
    return "[Desktop Entry]\nType=Application\nName=" + name + "\n" + extra;
}
} // namespace

class TestDesktopEntryIndex : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_user;
    QString m_system;

    [[nodiscard]] QString user(const QString &file) const { return m_user + u'/' + file; }
    [[nodiscard]] QString system(const QString &file) const { return m_system + u'/' + file; }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_user = m_dir->filePath(QStringLiteral("home/applications"));
        m_system = m_dir->filePath(QStringLiteral("usr/applications"));
        QDir().mkpath(m_user);
        QDir().mkpath(m_system);
    }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("name"); // empty: not an entry

        QTest::addRow("plain") << entry("Files") << QString() << QStringLiteral("Files");
        QTest::addRow("country") << entry("Files", "Name[de_DE]=Dateien\nName[de]=Dateien (de)\n")
                                 << QStringLiteral("de_DE.UTF-8") << QStringLiteral("Dateien");
        QTest::addRow("modifier") << entry("Files", "Name[sr@latin]=Datoteke\nName[sr]=Датотеке\n")
                                  << QStringLiteral("sr_RS@latin") << QStringLiteral("Datoteke");
        QTest::addRow("escapes and blanks")
            << QByteArray("[Desktop Entry]\nName =  Tab\\tand\\sspace\\\\ \n") << QString()
            << QStringLiteral("Tab\tand space\\");
        QTest::addRow("comments and action groups")
            << QByteArray("# Name=Comment\n[Desktop Entry]\nName=Main\n[Desktop Action new]\n"
                          "Name=New Window\n")
            << QString() << QStringLiteral("Main");
        QTest::addRow("keys of another group do not count")
            << QByteArray("[Desktop Action new]\nName=New Window\n[Desktop Entry]\nType=App\n")
            << QString() << QString();
        QTest::addRow("no group") << QByteArray("Name=Loose\n") << QString() << QString();
        QTest::addRow("binary junk") << QByteArray("\xff\xfe\x00\x01", 4) << QString() << QString();
    }

    void parse()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, locale);
        QFETCH(QString, name);
        const auto parsed = DesktopEntry::parse(contents, locale);
        QCOMPARE(parsed.has_value(), !name.isEmpty());
        if (parsed)
            QCOMPARE(parsed->name, name);
    }

    void lookupRules()
    {
        qputenv("LANG", "C");
        qunsetenv("LC_ALL");
        qunsetenv("LC_MESSAGES");
        QVERIFY(writeFile(system(QStringLiteral("code.desktop")),
                          entry("Visual Studio Code", "StartupWMClass=Code\n")));
        QVERIFY(writeFile(system(QStringLiteral("org.gnome.Nautilus.desktop")), entry("Files")));
        QVERIFY(writeFile(system(QStringLiteral("firefox.desktop")), entry("Firefox")));
        QVERIFY(writeFile(system(QStringLiteral("kde4/kate.desktop")), entry("Kate")));
        QVERIFY(writeFile(system(QStringLiteral("link.desktop")),
                          "[Desktop Entry]\nType=Link\nName=A Link\n"));
        QVERIFY(writeFile(system(QStringLiteral("gone.desktop")), entry("Gone")));
        QVERIFY(writeFile(user(QStringLiteral("gone.desktop")), entry("Gone", "Hidden=true\n")));
        QVERIFY(writeFile(system(QStringLiteral("mine.desktop")), entry("System Copy")));
        QVERIFY(writeFile(user(QStringLiteral("mine.desktop")), entry("My Copy")));
        QVERIFY(writeFile(system(QStringLiteral("readme.txt")), entry("Not An Entry")));

        DesktopEntryIndex index({m_user, m_system});
        // StartupWMClass beats a file name match, and is exact.
        QCOMPARE(index.name(QStringLiteral("Code"), QStringLiteral("code")),
                 QStringLiteral("Visual Studio Code"));
        QCOMPARE(index.name(QStringLiteral("org.gnome.Nautilus"), QStringLiteral("nautilus")),
                 QStringLiteral("Files"));
        // File names match in any letter case, by class or instance.
        QCOMPARE(index.name(QStringLiteral("Firefox"), QStringLiteral("Navigator")),
                 QStringLiteral("Firefox"));
        QCOMPARE(index.name(QStringLiteral("Navigator"), QStringLiteral("firefox")),
                 QStringLiteral("Firefox"));
        QCOMPARE(index.name(QStringLiteral("kde4-kate"), QString()), QStringLiteral("Kate"));
        QCOMPARE(index.name(QStringLiteral("link"), QString()), QString());
        QCOMPARE(index.name(QStringLiteral("gone"), QString()), QString());
        QCOMPARE(index.name(QStringLiteral("mine"), QString()), QStringLiteral("My Copy"));
        QCOMPARE(index.name(QStringLiteral("readme"), QString()), QString());
        QCOMPARE(index.name(QString(), QString()), QString());
    }

};

QTEST_GUILESS_MAIN(TestDesktopEntryIndex)
#include "tst_desktopentryindex.moc"
