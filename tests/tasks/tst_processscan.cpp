#include "platform/fakes/fakeprocesslister.h"
#include "tasks/processscan.h"

#include <QFile>
#include <QTest>

namespace {
QByteArray canned(const QString &name)
{
    const QString path = QFINDTESTDATA(QStringLiteral("../data/ps/") + name);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", qPrintable(name));
    return file.readAll();
}

QStringList displayNames(const QList<RunningTask> &tasks)
{
    QStringList names;
    for (const RunningTask &task : tasks)
        names.append(task.displayName);
    return names;
}

} // namespace

class TestProcessScan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void processName_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addRow("plain") << QStringLiteral("node") << QStringLiteral("node");
        QTest::addRow("full path, capital")
            << QStringLiteral("/Applications/Claude.app/Contents/MacOS/Claude")
            << QStringLiteral("claude");
        QTest::addRow("root") << QStringLiteral("/") << QStringLiteral("/");
        QTest::addRow("kernel thread")
            << QStringLiteral("kworker/0:1-events") << QStringLiteral("0:1-events");
        QTest::addRow("blank") << QStringLiteral(" \t ") << QString();
    }

    void processName()
    {
        QFETCH(QString, line);
        QFETCH(QString, name);
        QCOMPARE(ProcessScan::processName(line), name);
    }

    void cannedOutput_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("tasks");
        QTest::addRow("full paths, helpers, duplicates")
            << QStringLiteral("macos-full-paths.txt")
            << QStringList{QStringLiteral("Claude Code — agent running"),
                           QStringLiteral("node — active"),
                           QStringLiteral("Cursor Agent — working"),
                           QStringLiteral("cargo — building"),
                           QStringLiteral("ffmpeg — active"),
                           QStringLiteral("git — active")};
        QTest::addRow("linux comm names, zombie, truncated helper")
            << QStringLiteral("linux-comm.txt")
            << QStringList{QStringLiteral("Claude Code — agent running"),
                           QStringLiteral("node — active"),
                           QStringLiteral("Cursor Agent — working"),
                           QStringLiteral("cargo — building"),
                           QStringLiteral("rustc — building"),
                           QStringLiteral("make — building"),
                           QStringLiteral("python3 — active")};
        QTest::addRow("nothing known") << QStringLiteral("no-known-process.txt") << QStringList{};
    }

    void cannedOutput()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, tasks);
        const auto result = ProcessScan::parse(canned(file), [] { return QByteArray(); });
        QVERIFY(result);
        QCOMPARE(displayNames(*result), tasks);
    }

    void outputThatIsNotUtf8IsNoListing()
    {
        QVERIFY(!ProcessScan::parse(canned(QStringLiteral("not-utf8.txt")), {}));
    }

    void cpuIsProbedOnceAndOnlyForTrackedTools()
    {
        int probes = 0;
        const auto probe = [&probes] {
            ++probes;
            return std::optional<QByteArray>(canned(QStringLiteral("cpu-busy.txt")));
        };
        QVERIFY(ProcessScan::parse("node\ngit\nclaude\n", probe));
        QCOMPARE(probes, 0);
        const auto result = ProcessScan::parse("ffmpeg\nnpm\nwebpack\ncargo\n", probe);
        QCOMPARE(probes, 1);
        QVERIFY(result);
        QCOMPARE(result->at(1).progress, std::optional<double>(0.125));
        QCOMPARE(result->at(2).progress, std::optional<double>(0.09));
    }

    void failedProbeLeavesNoProgress()
    {
        const auto result = ProcessScan::parse("ffmpeg\n", [] { return std::nullopt; });
        QVERIFY(result);
        QCOMPARE(result->size(), 1);
        QVERIFY(!result->first().progress);
    }

    void progress_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("progress"); // negative: none

        QTest::addRow("250 percent is full")
            << canned(QStringLiteral("cpu-busy.txt")) << QStringLiteral("ffmpeg") << 1.0;
        QTest::addRow("first matching line wins")
            << QByteArray("%CPU\n37.5 ffmpeg\n 250 ffmpeg\n") << QStringLiteral("ffmpeg") << 0.375;
        QTest::addRow("line matched in any letter case")
            << QByteArray("%CPU\n 4.0 /usr/bin/FFmpeg\n") << QStringLiteral("ffmpeg") << 0.04;
        QTest::addRow("not a tracked tool")
            << QByteArray("%CPU\n 80.0 node\n") << QStringLiteral("node") << -1.0;
        QTest::addRow("no line for it")
            << canned(QStringLiteral("cpu-busy.txt")) << QStringLiteral("cargo") << -1.0;
        QTest::addRow("not UTF-8")
            << canned(QStringLiteral("cpu-not-utf8.txt")) << QStringLiteral("ffmpeg") << -1.0;
        QTest::addRow("empty") << QByteArray() << QStringLiteral("ffmpeg") << -1.0;
    }

    void progress()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, name);
        QFETCH(double, progress);
        const std::optional<double> result = ProcessScan::progress(output, name);
        if (progress < 0) {
            QVERIFY2(!result, qPrintable(QString::number(result.value_or(-1))));
        } else {
            QVERIFY(result);
            QCOMPARE(*result, progress);
        }
    }

    void listerThatFailsGivesNoListing()
    {
        FakeProcessLister lister;
        lister.setCommandNames(std::nullopt);
        QVERIFY(!ProcessScan::run(lister));
        QCOMPARE(lister.cpuUsageCalls(), 0);
    }
};

QTEST_GUILESS_MAIN(TestProcessScan)
#include "tst_processscan.moc"
