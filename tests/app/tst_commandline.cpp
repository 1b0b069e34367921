#include "app/commandline.h"
#include "core/preferencekeys.h"
#include "core/preferences.h"

#include <QTemporaryDir>
#include <QTest>

using Action = CommandLine::Action;

class TestCommandLine : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;

    static CommandLine parse(const QString &line)
    {
        QStringList arguments{QStringLiteral("vostrel")};
        if (!line.isEmpty())
            arguments << line.split(QLatin1Char(' '));
        return CommandLine::parse(arguments);
    }
    static int run(const QString &line) { return parse(line).execute(); }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        QVERIFY(Preferences::standardFilePath().startsWith(m_config.path()));
    }

    void parsing_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<Action>("action");

        QTest::addRow("no command starts the app") << QString() << Action::StartApplication;
        QTest::addRow("windowed start") << QStringLiteral("--windowed") << Action::StartApplication;
        QTest::addRow("background start")
            << QStringLiteral("--background") << Action::StartApplication;
        QTest::addRow("help") << QStringLiteral("--help") << Action::Help;
        QTest::addRow("version") << QStringLiteral("--version") << Action::Version;
        QTest::addRow("unlock") << QStringLiteral("unlock 1234") << Action::Automation;
        QTest::addRow("unlock needs a PIN") << QStringLiteral("unlock") << Action::UsageError;
        QTest::addRow("keep awake for minutes")
            << QStringLiteral("keep-awake 15") << Action::Automation;
        QTest::addRow("minutes must be a number")
            << QStringLiteral("keep-awake soon") << Action::UsageError;
        QTest::addRow("read all") << QStringLiteral("defaults read") << Action::DefaultsRead;
        QTest::addRow("write") << QStringLiteral("defaults write k v") << Action::DefaultsWrite;
        QTest::addRow("write typed")
            << QStringLiteral("defaults write k 1 --int") << Action::DefaultsWrite;
        QTest::addRow("write without value")
            << QStringLiteral("defaults write k") << Action::UsageError;
        QTest::addRow("delete") << QStringLiteral("defaults delete k") << Action::DefaultsDelete;
        QTest::addRow("defaults alone") << QStringLiteral("defaults") << Action::UsageError;
        QTest::addRow("unknown") << QStringLiteral("explode") << Action::UsageError;
        QTest::addRow("unknown option") << QStringLiteral("--explode") << Action::UsageError;
        // From the command on, words are the command's, even with a dash.
        QTest::addRow("option after the command")
            << QStringLiteral("lock --help") << Action::UsageError;
        QTest::addRow("negative minutes") << QStringLiteral("keep-awake -5") << Action::Automation;
        QTest::addRow("start-up switch after the command")
            << QStringLiteral("status --background") << Action::Automation;
    }

    void parsing()
    {
        QFETCH(QString, line);
        QFETCH(Action, action);
        const CommandLine parsed = parse(line);
        QCOMPARE(parsed.action(), action);
        QCOMPARE(parsed.error().isEmpty(), action != Action::UsageError);
        QCOMPARE(parsed.isWindowed(), line.contains(QLatin1String("--windowed")));
        QCOMPARE(parsed.isBackground(), line.contains(QLatin1String("--background")));
    }

    void defaultsWriteKeepsTheType_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QVariant>("stored");

        QTest::addRow("guessed bool") << QStringLiteral("true") << QVariant(true);
        QTest::addRow("guessed integer") << QStringLiteral("10") << QVariant(qint64(10));
        QTest::addRow("guessed double") << QStringLiteral("15.5") << QVariant(15.5);
        QTest::addRow("negative integer") << QStringLiteral("-3") << QVariant(qint64(-3));
        QTest::addRow("guessed text") << QStringLiteral("Away") << QVariant(QStringLiteral("Away"));
        QTest::addRow("forced text")
            << QStringLiteral("10 --string") << QVariant(QStringLiteral("10"));
        QTest::addRow("data") << QStringLiteral("[] --data") << QVariant(QByteArray("[]"));
    }

    void defaultsWriteKeepsTheType()
    {
        QFETCH(QString, line);
        QFETCH(QVariant, stored);
        QCOMPARE(run(QStringLiteral("defaults write someKey ") + line), int(CommandLine::Success));
        const QVariant value =
            Preferences(Preferences::standardFilePath()).value(QStringLiteral("someKey"));
        QCOMPARE(value.typeId(), stored.typeId());
        QCOMPARE(value, stored);
    }

    void badValuesAreRefusedWithoutWriting()
    {
        QCOMPARE(run(QStringLiteral("defaults write maxPINAttempts 3")), int(CommandLine::Success));
        QCOMPARE(run(QStringLiteral("defaults write maxPINAttempts three --int")),
                 int(CommandLine::UsageFailure));
        QCOMPARE(run(QStringLiteral("defaults write maxPINAttempts maybe --bool")),
                 int(CommandLine::UsageFailure));
        QCOMPARE(run(QStringLiteral("defaults write maxPINAttempts nan --double")),
                 int(CommandLine::UsageFailure));
        QCOMPARE(
            Preferences(Preferences::standardFilePath()).integer(PreferenceKey::maxPINAttempts), 3);
    }

    void readAndDeleteReportMissingKeys()
    {
        QCOMPARE(run(QStringLiteral("defaults read neverWritten")), int(CommandLine::Refused));
        QCOMPARE(run(QStringLiteral("defaults delete neverWritten")), int(CommandLine::Refused));
        QCOMPARE(run(QStringLiteral("defaults write gone 1")), int(CommandLine::Success));
        QCOMPARE(run(QStringLiteral("defaults read gone")), int(CommandLine::Success));
        QCOMPARE(run(QStringLiteral("defaults delete gone")), int(CommandLine::Success));
        QVERIFY(!Preferences(Preferences::standardFilePath()).contains(QStringLiteral("gone")));
    }

    void automationWithoutARunningInstance()
    {
        // The session bus is there, but nobody owns the name.
        QCOMPARE(run(QStringLiteral("status")), int(CommandLine::NotRunning));
        QCOMPARE(run(QStringLiteral("unlock 1234")), int(CommandLine::NotRunning));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
