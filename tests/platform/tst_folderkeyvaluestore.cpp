#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/linux/folderkeyvaluestore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeInPlace(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}
} // namespace

// Two stores on one folder stand in for two machines that a sync engine keeps
// in step; the file system's change notices are the sync arriving.
class TestFolderKeyValueStore : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;

    [[nodiscard]] QString folder() const { return m_dir->path(); }
    [[nodiscard]] QString file() const
    {
        return QDir(folder()).filePath(FolderKeyValueStore::fileName);
    }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void cleanup() { m_dir.reset(); }

    void valuesKeepTheirType()
    {
        FolderKeyValueStore here(folder());
        here.setValue(QStringLiteral("bool"), false);
        here.setValue(QStringLiteral("integer"), qint64(40));
        here.setValue(QStringLiteral("double"), 30.0);
        here.setValue(QStringLiteral("string"), QStringLiteral("Ünïcode"));
        here.setValue(QStringLiteral("data"), QByteArray("\x00\xff", 2));
        QVERIFY(here.synchronize());

        FolderKeyValueStore there(folder());
        QCOMPARE(there.value(QStringLiteral("bool")), QVariant(false));
        QCOMPARE(there.value(QStringLiteral("integer")), QVariant(qint64(40)));
        QCOMPARE(there.value(QStringLiteral("double")).typeId(), QMetaType::Double);
        QCOMPARE(there.value(QStringLiteral("double")).toDouble(), 30.0);
        QCOMPARE(there.value(QStringLiteral("string")), QVariant(QStringLiteral("Ünïcode")));
        QCOMPARE(there.value(QStringLiteral("data")), QVariant(QByteArray("\x00\xff", 2)));
        QVERIFY(!there.value(QStringLiteral("absent")).isValid());
    }

    void otherMachineWriteIsAServerChange()
    {
        FolderKeyValueStore here(folder());
        FolderKeyValueStore there(folder());
        QSignalSpy seenHere(&here, &KeyValueStore::didChangeExternally);
        QSignalSpy seenThere(&there, &KeyValueStore::didChangeExternally);

        here.setValue(QStringLiteral("showClock"), false);
        here.setValue(QStringLiteral("overlayHeadline"), QStringLiteral("Away"));
        QVERIFY(here.synchronize());
        QVERIFY(seenThere.wait());
        QCOMPARE(seenThere.first().at(0).toInt(), int(KeyValueStore::serverChange));
        QCOMPARE(seenThere.first().at(1).toStringList(),
                 QStringList({QStringLiteral("overlayHeadline"), QStringLiteral("showClock")}));
        QCOMPARE(there.value(QStringLiteral("showClock")), QVariant(false));

        // Our own write never comes back, however often the folder is looked at.
        here.checkForExternalChange();
        QVERIFY(here.synchronize());
        QCOMPARE(seenHere.size(), 0);

        // Only what changed is announced.
        there.setValue(QStringLiteral("showClock"), true);
        there.setValue(QStringLiteral("overlayHeadline"), QStringLiteral("Away"));
        QVERIFY(there.synchronize());
        QVERIFY(seenHere.wait());
        QCOMPARE(seenHere.first().at(1).toStringList(), QStringList{QStringLiteral("showClock")});
        QCOMPARE(here.value(QStringLiteral("overlayHeadline")), QVariant(QStringLiteral("Away")));
    }

    void aLocalValueWinsOverOneArrivingForTheSameKey()
    {
        FolderKeyValueStore here(folder());
        FolderKeyValueStore there(folder());
        there.setValue(QStringLiteral("a"), QStringLiteral("theirs"));
        there.setValue(QStringLiteral("b"), QStringLiteral("theirs"));
        QVERIFY(there.synchronize());

        QSignalSpy seen(&here, &KeyValueStore::didChangeExternally);
        here.setValue(QStringLiteral("a"), QStringLiteral("ours"));
        QVERIFY(here.synchronize());
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen.first().at(1).toStringList(), QStringList{QStringLiteral("b")});
        QCOMPARE(FolderKeyValueStore(folder()).value(QStringLiteral("a")),
                 QVariant(QStringLiteral("ours")));
        QCOMPARE(FolderKeyValueStore(folder()).value(QStringLiteral("b")),
                 QVariant(QStringLiteral("theirs")));
    }

    void firstReadIsTheInitialSync()
    {
        writeInPlace(file(), "{\"showClock\": false}");
        FolderKeyValueStore store(folder());
        QSignalSpy seen(&store, &KeyValueStore::didChangeExternally);
        QVERIFY(seen.wait());
        QCOMPARE(seen.first().at(0).toInt(), int(KeyValueStore::initialSyncChange));
        QCOMPARE(seen.first().at(1).toStringList(), QStringList{QStringLiteral("showClock")});

        // Once only, and not at all without a file.
        store.checkForExternalChange();
        QCOMPARE(seen.size(), 1);
        QTemporaryDir empty;
        FolderKeyValueStore fresh(empty.path());
        QSignalSpy none(&fresh, &KeyValueStore::didChangeExternally);
        fresh.checkForExternalChange();
        QVERIFY(fresh.synchronize());
        QCOMPARE(none.size(), 0);
    }

    // Over the preferences, the initial sync comes once per machine and
    // folder: a restart takes nothing in, a new folder is joined at once.
    void initialSyncOncePerMachineAndFolder()
    {
        writeInPlace(file(), "{\"showClock\": false}");
        QTemporaryDir other;
        writeInPlace(QDir(other.path()).filePath(FolderKeyValueStore::fileName),
                     "{\"overlayHeadline\": \"Away\"}");
        QTemporaryDir home;
        Preferences defaults(home.filePath(QStringLiteral("defaults.json")));
        defaults.setString(PreferenceKey::cloudSyncFolder, folder() + QLatin1Char('/'));
        const auto initialSyncs = [](const QSignalSpy &spy) {
            return std::count_if(spy.cbegin(), spy.cend(), [](const QList<QVariant> &signal) {
                return signal.at(0).toInt() == KeyValueStore::initialSyncChange;
            });
        };
        struct Started
        {
            std::unique_ptr<FolderKeyValueStore> store;
            std::unique_ptr<QSignalSpy> seen;
        };
        const auto start = [&defaults] {
            Started started{std::make_unique<FolderKeyValueStore>(defaults), nullptr};
            started.seen = std::make_unique<QSignalSpy>(started.store.get(),
                                                        &KeyValueStore::didChangeExternally);
            // Whatever the start announces, on its next turn or at the first sync.
            QCoreApplication::sendPostedEvents();
            started.store->synchronize();
            return started;
        };

        Started machine = start();
        QCOMPARE(initialSyncs(*machine.seen), 1);
        machine = {};
        machine = start();
        QCOMPARE(machine.store->value(QStringLiteral("showClock")), QVariant(false));
        QCOMPARE(machine.seen->size(), 0);

        defaults.setString(PreferenceKey::cloudSyncFolder, other.path());
        QCOMPARE(machine.store->folderPath(), other.path());
        QVERIFY(!machine.store->value(QStringLiteral("showClock")).isValid());
        QVERIFY(machine.seen->wait());
        QCOMPARE(initialSyncs(*machine.seen), 1);
        QCOMPARE(machine.seen->first().at(1).toStringList(),
                 QStringList{QStringLiteral("overlayHeadline")});
        machine = {};
        machine = start();
        QCOMPARE(machine.seen->size(), 0);

        // Another machine (or these preferences reset) joins afresh.
        QTemporaryDir elsewhere;
        Preferences fresh(elsewhere.filePath(QStringLiteral("defaults.json")));
        fresh.setString(PreferenceKey::cloudSyncFolder, other.path());
        FolderKeyValueStore there(fresh);
        QSignalSpy seenThere(&there, &KeyValueStore::didChangeExternally);
        QVERIFY(seenThere.wait());
        QCOMPARE(initialSyncs(seenThere), 1);

        // Removing the folder signs out.
        defaults.remove(PreferenceKey::cloudSyncFolder);
        QVERIFY(!machine.store->isSignedIn());
        QVERIFY(!machine.store->value(QStringLiteral("overlayHeadline")).isValid());
    }

    void writesReplaceTheFileWhole()
    {
        FolderKeyValueStore store(folder());
        store.setValue(QStringLiteral("k"), QStringLiteral("v"));
        QVERIFY(store.synchronize());
        // Nothing half-written or temporary is left for a sync engine to copy.
        QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{FolderKeyValueStore::fileName});
        QVERIFY(readAll(file()).contains("\"k\": \"v\""));
    }

    void handEditsInPlaceAreSeen()
    {
        FolderKeyValueStore store(folder());
        store.setValue(QStringLiteral("k"), QStringLiteral("v"));
        QVERIFY(store.synchronize());
        QSignalSpy seen(&store, &KeyValueStore::didChangeExternally);
        writeInPlace(file(), "{\"k\": \"w\", \"n\": {\"double\": 2.5}}");
        QVERIFY(seen.wait());
        QCOMPARE(store.value(QStringLiteral("k")), QVariant(QStringLiteral("w")));
        QCOMPARE(store.value(QStringLiteral("n")), QVariant(2.5));

        QFile::remove(file());
        QVERIFY(seen.wait());
        QCOMPARE(seen.last().at(1).toStringList(),
                 QStringList({QStringLiteral("k"), QStringLiteral("n")}));
        QVERIFY(!store.value(QStringLiteral("k")).isValid());
    }

    void unreadableFileIsLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addRow("not JSON") << QByteArray("showClock = false");
        QTest::addRow("truncated") << QByteArray("{\"showClock\": fal");
        QTest::addRow("an array") << QByteArray("[false]");
        QTest::addRow("too big") << QByteArray("{\"k\": \"") +
                                        QByteArray(FolderKeyValueStore::maximumFileSize, 'x') +
                                        QByteArray("\"}");
    }

    void unreadableFileIsLeftAlone()
    {
        QFETCH(QByteArray, content);
        writeInPlace(file(), content);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("counts as empty")));
        FolderKeyValueStore store(folder());
        QSignalSpy seen(&store, &KeyValueStore::didChangeExternally);
        QVERIFY(!store.value(QStringLiteral("showClock")).isValid());

        store.setValue(QStringLiteral("showClock"), true);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("not writing over")));
        QVERIFY(!store.synchronize());
        QCOMPARE(readAll(file()), content);
        QCOMPARE(seen.size(), 0);

        // Once repaired, it is read, and what waited is written.
        writeInPlace(file(), "{\"overlaySubtext\": \"x\"}");
        QVERIFY(seen.wait());
        QCOMPARE(seen.first().at(1).toStringList(), QStringList{QStringLiteral("overlaySubtext")});
        QVERIFY(store.synchronize());
        QCOMPARE(FolderKeyValueStore(folder()).value(QStringLiteral("showClock")), QVariant(true));
    }

    void unknownValueShapesAreSkipped()
    {
        writeInPlace(file(), "{\"a\": null, \"b\": [1], \"c\": {\"x\": 1}, \"d\": 3}");
        FolderKeyValueStore store(folder());
        QVERIFY(!store.value(QStringLiteral("a")).isValid());
        QVERIFY(!store.value(QStringLiteral("b")).isValid());
        QVERIFY(!store.value(QStringLiteral("c")).isValid());
        QCOMPARE(store.value(QStringLiteral("d")), QVariant(qint64(3)));
    }

    void withoutAFolderNothingHappens_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addRow("not set") << QString();
        QTest::addRow("missing") << QStringLiteral("/nonexistent/vostrel-sync");
    }

    void withoutAFolderNothingHappens()
    {
        QFETCH(QString, path);
        FolderKeyValueStore store(path);
        QVERIFY(!store.isSignedIn());
        store.setValue(QStringLiteral("k"), true);
        QVERIFY(!store.synchronize());
        QVERIFY(!QFile::exists(store.filePath()));
    }
};

QTEST_GUILESS_MAIN(TestFolderKeyValueStore)
#include "tst_folderkeyvaluestore.moc"
