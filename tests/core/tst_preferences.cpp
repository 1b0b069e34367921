#include "core/preferences.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestPreferences : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(QStringLiteral("vostrel/defaults.json")); }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

private Q_SLOTS:
    void cleanup() { QDir(m_dir.filePath(QStringLiteral("vostrel"))).removeRecursively(); }

    void typesSurviveAReload()
    {
        {
            Preferences defaults(path());
            QVERIFY(defaults.setBool(QStringLiteral("flag"), true));
            QVERIFY(defaults.setInteger(QStringLiteral("count"), 5));
            QVERIFY(defaults.setInteger(QStringLiteral("big"), Q_INT64_C(9007199254740993)));
            QVERIFY(defaults.setDouble(QStringLiteral("radius"), 15.0));
            QVERIFY(defaults.setString(QStringLiteral("name"), QStringLiteral("42")));
            QVERIFY(defaults.setData(QStringLiteral("slots"), QByteArray("[{\"a\":1}]")));
            QVERIFY(defaults.setData(QStringLiteral("blob"), QByteArray("\x00\xff\x10", 3)));
        }
        Preferences reloaded(path());
        QCOMPARE(reloaded.value(QStringLiteral("flag")).typeId(), QMetaType::Bool);
        QCOMPARE(reloaded.value(QStringLiteral("count")).typeId(), QMetaType::LongLong);
        QCOMPARE(reloaded.integer(QStringLiteral("count")), 5);
        QCOMPARE(reloaded.integer(QStringLiteral("big")), Q_INT64_C(9007199254740993));
        // 15.0 must not come back as the integer 15, nor "42" as a number.
        QCOMPARE(reloaded.value(QStringLiteral("radius")).typeId(), QMetaType::Double);
        QCOMPARE(reloaded.doubleValue(QStringLiteral("radius")), 15.0);
        QCOMPARE(reloaded.value(QStringLiteral("name")).typeId(), QMetaType::QString);
        QCOMPARE(reloaded.data(QStringLiteral("slots")), QByteArray("[{\"a\":1}]"));
        QCOMPARE(reloaded.data(QStringLiteral("blob")), QByteArray("\x00\xff\x10", 3));
        QVERIFY(!reloaded.data(QStringLiteral("name")).has_value());

        // Data that is text stays readable to a person editing the file.
        QFile file(path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("\"data\": \"[{\\\"a\\\":1}]\""));
    }

    void absentKeysReadAsFallbacks()
    {
        Preferences defaults(path());
        QVERIFY(!defaults.contains(QStringLiteral("missing")));
        QCOMPARE(defaults.boolValue(QStringLiteral("missing")), false);
        QCOMPARE(defaults.integer(QStringLiteral("missing")), 0);
        QCOMPARE(defaults.doubleValue(QStringLiteral("missing")), 0.0);
        QVERIFY(!defaults.string(QStringLiteral("missing")).has_value());
        QVERIFY(!defaults.data(QStringLiteral("missing")).has_value());

        QVERIFY(defaults.setInteger(QStringLiteral("gone"), 3));
        QVERIFY(defaults.remove(QStringLiteral("gone")));
        QVERIFY(!Preferences(path()).contains(QStringLiteral("gone")));
    }

    void handEditedValuesConvert()
    {
        writeFile(path(), "{\"n\": \"7\", \"b\": 1, \"d\": 2.5, \"odd\": {\"what\": 1}, \"s\": 3}");
        Preferences defaults(path());
        QCOMPARE(defaults.integer(QStringLiteral("n")), 7);
        QCOMPARE(defaults.boolValue(QStringLiteral("b")), true);
        QCOMPARE(defaults.value(QStringLiteral("d")).typeId(), QMetaType::Double);
        QVERIFY(!defaults.contains(QStringLiteral("odd")));
        QCOMPARE(defaults.string(QStringLiteral("s")), QStringLiteral("3"));

        // An entry of unknown shape is kept when other keys are written.
        QVERIFY(defaults.setBool(QStringLiteral("x"), true));
        QFile file(path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("\"what\""));
    }

    void corruptFileIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addRow("truncated") << QByteArray("{\"maxPINAttempts\": 3, \"sel");
        QTest::addRow("not an object") << QByteArray("[1, 2, 3]");
        QTest::addRow("binary") << QByteArray("\x89PNG\r\n\x1a\n", 8);
        // Valid, but too large to be read at all.
        QTest::addRow("over 1 MB") << QByteArray("{\"maxPINAttempts\": 3, \"pad\": \"") +
                                          QByteArray(1024 * 1024, 'x') + QByteArray("\"}");
    }

    void corruptFileIsKeptAside()
    {
        QFETCH(QByteArray, contents);
        writeFile(path(), contents);

        Preferences defaults(path());
        QVERIFY(!defaults.contains(QStringLiteral("maxPINAttempts")));
        const QStringList aside = QDir(QFileInfo(path()).absolutePath())
                                      .entryList({QStringLiteral("defaults.json.corrupt-*")});
        QCOMPARE(aside.size(), 1);
        QFile kept(QFileInfo(path()).absolutePath() + QLatin1Char('/') + aside.first());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), contents);

        QVERIFY(defaults.setInteger(QStringLiteral("maxPINAttempts"), 10));
        QCOMPARE(Preferences(path()).integer(QStringLiteral("maxPINAttempts")), 10);
    }

    void writesArePrivateAndAtomic()
    {
        Preferences defaults(path());
        QVERIFY(defaults.setString(QStringLiteral("slackBotToken"), QStringLiteral("xoxb-1")));
        QCOMPARE(QFile::permissions(path()) & 0x0077, QFileDevice::Permissions());
        QCOMPARE(QFile::permissions(path()) & (QFileDevice::ReadOwner | QFileDevice::WriteOwner),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        // Nothing but the file itself (and the lock of the moment) is left behind.
        const QStringList files =
            QDir(QFileInfo(path()).absolutePath()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(files, QStringList{QStringLiteral("defaults.json")});
    }

    void unwritableFolderReportsFailureAndKeepsTheValue()
    {
        const QString folder = m_dir.filePath(QStringLiteral("readonly"));
        QVERIFY(QDir().mkpath(folder));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFileInfo(folder).isWritable())
            QSKIP("running with permission to write anywhere");
        Preferences defaults(folder + QLatin1String("/defaults.json"));
        QVERIFY(!defaults.setInteger(QStringLiteral("k"), 1));
        QVERIFY(!defaults.lastError().isEmpty());
        QCOMPARE(defaults.integer(QStringLiteral("k")), 1);
    }

    void secondWriterIsSeenAndNeverOverwritten()
    {
        Preferences app(path());
        Preferences command(path());
        QVERIFY(app.setInteger(QStringLiteral("maxPINAttempts"), 5));
        QCOMPARE(command.integer(QStringLiteral("maxPINAttempts")), 5);

        QVERIFY(command.setInteger(QStringLiteral("maxPINAttempts"), 3));
        QVERIFY(command.setString(QStringLiteral("overlayHeadline"), QStringLiteral("Away")));
        // The application sees the other writer's values at its next read ...
        QCOMPARE(app.integer(QStringLiteral("maxPINAttempts")), 3);
        // ... and its own later write keeps them.
        QVERIFY(app.setBool(QStringLiteral("showClock"), false));
        Preferences fresh(path());
        QCOMPARE(fresh.integer(QStringLiteral("maxPINAttempts")), 3);
        QCOMPARE(fresh.string(QStringLiteral("overlayHeadline")), QStringLiteral("Away"));
        QCOMPARE(fresh.boolValue(QStringLiteral("showClock")), false);
    }

    void changeSignalOnlyForRealChanges()
    {
        Preferences defaults(path());
        QSignalSpy spy(&defaults, &Preferences::valueChanged);
        defaults.setInteger(QStringLiteral("a"), 1);
        defaults.setInteger(QStringLiteral("a"), 1);
        defaults.remove(QStringLiteral("never-set"));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toString(), QStringLiteral("a"));

        // A receiver may write in turn: the file is no longer locked then.
        bool written = false;
        connect(&defaults, &Preferences::valueChanged, &defaults, [&](const QString &key) {
            if (key == QLatin1String("b"))
                written = defaults.setInteger(QStringLiteral("c"), 2);
        });
        defaults.setInteger(QStringLiteral("b"), 1);
        QVERIFY(written);
        QCOMPARE(Preferences(path()).integer(QStringLiteral("c")), 2);
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
