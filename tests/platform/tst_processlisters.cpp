#include "platform/linux/procfsprocesslister.h"
#include "platform/linux/psprocesslister.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

#include <unistd.h>

namespace {
bool writeFile(const QString &path, const QByteArray &contents, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(contents) < 0)
        return false;
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return true;
}

// A stat line as the kernel writes it; only state, utime, stime and
// starttime matter here.
QByteArray statLine(int pid, const QByteArray &comm, char state, quint64 utime, quint64 stime,
                    quint64 starttime)
{
    return QByteArray::number(pid) + " (" + comm + ") " + state + " 1 1 1 0 -1 4194560 10 0 0 0 " +
           QByteArray::number(utime) + ' ' + QByteArray::number(stime) + " 0 0 20 0 1 0 " +
           QByteArray::number(starttime) + " 1000000 100 18446744073709551615\n";
}

// pid → column text, from "ps -eo pid=,COLUMN=".
QHash<qint64, QByteArray> psColumn(const QByteArray &column)
{
    QProcess ps;
    ps.start(QStringLiteral("/bin/ps"),
             {QStringLiteral("-eo"), QLatin1String("pid=," + column + '=')});
    ps.waitForFinished();
    QHash<qint64, QByteArray> result;
    for (const QByteArray &line : ps.readAllStandardOutput().split('\n')) {
        const QByteArray trimmed = line.trimmed();
        const qsizetype space = trimmed.indexOf(' ');
        if (space > 0)
            result.insert(trimmed.left(space).toLongLong(), trimmed.mid(space + 1).trimmed());
    }
    return result;
}
} // namespace

class TestProcessListers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatCpu_data()
    {
        QTest::addColumn<quint64>("ticks");
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<QByteArray>("text");
        QTest::addRow("idle") << quint64(0) << 10.0 << QByteArray("0.0");
        QTest::addRow("37.5") << quint64(375) << 10.0 << QByteArray("37.5");
        QTest::addRow("100 drops the tenth") << quint64(1000) << 10.0 << QByteArray("100");
        QTest::addRow("whole seconds only") << quint64(100) << 1.9 << QByteArray("100");
        // Whatever /proc/uptime says, the share is a number.
        QTest::addRow("uptime past 2^64 s") << quint64(375) << 1.5e101 << QByteArray("0.0");
        QTest::addRow("uptime infinite")
            << quint64(375) << std::numeric_limits<double>::infinity() << QByteArray("0.0");
        QTest::addRow("negative elapsed") << quint64(375) << -5.0 << QByteArray("0.0");
    }

    void formatCpu()
    {
        QFETCH(quint64, ticks);
        QFETCH(double, elapsed);
        QFETCH(QByteArray, text);
        QCOMPARE(ProcFsProcessLister::formatCpu(ticks, elapsed, 100), text);
    }

    void madeUpProcTree()
    {
        const long hz = sysconf(_SC_CLK_TCK);
        QTemporaryDir proc;
        auto add = [&proc](int pid, const QByteArray &comm, const QByteArray &stat) {
            const QString dir = proc.filePath(QString::number(pid));
            return writeFile(dir + QStringLiteral("/comm"), comm + '\n') &&
                   writeFile(dir + QStringLiteral("/stat"), stat);
        };
        QVERIFY(writeFile(proc.filePath(QStringLiteral("uptime")), "1000.50 1800.00\n"));
        // Started at 500 s: 500 whole seconds of life.
        QVERIFY(add(1, "systemd", statLine(1, "systemd", 'S', 0, 0, 500 * hz)));
        QVERIFY(add(12, "ffmpeg", statLine(12, "ffmpeg", 'R', 1000 * hz, 250 * hz, 500 * hz)));
        QVERIFY(add(13, "node", statLine(13, "node", 'Z', 0, 0, 500 * hz)));
        QVERIFY(add(14, "odd) (name",
                    statLine(14, "odd) (name", 'S', 150 * hz, 37 * hz + hz / 2, 500 * hz)));
        QVERIFY(add(15,
                    "sl\xe9"
                    "ep",
                    statLine(15,
                             "sl\xe9"
                             "ep",
                             'S', 0, 0, 500 * hz)));
        QVERIFY(add(16, "FFmpeg-cut", "16 (FFmpeg-cut"));            // stat cut short
        QVERIFY(QDir().mkpath(proc.filePath(QStringLiteral("17")))); // ended: no files
        QVERIFY(add(18, "two\nlines", statLine(18, "two\nlines", 'S', 0, 0, 500 * hz)));
        QVERIFY(writeFile(proc.filePath(QStringLiteral("self/comm")), "self\n"));

        ProcFsProcessLister lister(QFile::encodeName(proc.path()));
        auto processes = lister.processes();
        QVERIFY(processes);
        std::sort(processes->begin(), processes->end(),
                  [](const auto &a, const auto &b) { return a.pid < b.pid; });
        QCOMPARE(processes->size(), 6);
        QCOMPARE(processes->at(0).command, QByteArray("systemd"));
        QCOMPARE(processes->at(0).cpu, QByteArray("0.0"));
        QCOMPARE(processes->at(1).cpu, QByteArray("250"));
        QCOMPARE(processes->at(2).command, QByteArray("node")); // a zombie
        QCOMPARE(processes->at(3).command, QByteArray("odd) (name"));
        QCOMPARE(processes->at(3).cpu, QByteArray("37.5"));
        QCOMPARE(processes->at(4).command, QByteArray("sl?ep"));
        QCOMPARE(processes->at(5).command, QByteArray("two?lines"));

        const auto names = lister.commandNames();
        QVERIFY(names);
        QStringList lines = QString::fromUtf8(*names).split(u'\n', Qt::SkipEmptyParts);
        lines.sort();
        QCOMPARE(lines, (QStringList{QStringLiteral("FFmpeg-cut"), QStringLiteral("ffmpeg"),
                                     QStringLiteral("node"), QStringLiteral("odd) (name"),
                                     QStringLiteral("sl?ep"), QStringLiteral("systemd"),
                                     QStringLiteral("two?lines")}));

        const auto cpu = lister.cpuUsage();
        QVERIFY(cpu);
        QVERIFY(cpu->startsWith("%CPU\n"));
        QVERIFY(cpu->contains("\n 250 ffmpeg\n"));
        QVERIFY(cpu->contains("\n37.5 odd) (name\n"));
        QCOMPARE(cpu->count('\n'), 7);
        // Asked about ffmpeg only: its line, whatever the letter case, and
        // no other.
        const auto ffmpeg = lister.cpuUsage({"ffmpeg", "cargo"});
        QCOMPARE(ffmpeg, std::optional<QByteArray>("%CPU\n 250 ffmpeg\n"));
    }

    void unreadableProcTree()
    {
        ProcFsProcessLister lister("/nonexistent/proc");
        QVERIFY(!lister.commandNames());
        QVERIFY(!lister.cpuUsage());
    }

    // The same processes, names and CPU shares as procps prints, for every
    // process that ps saw unchanged before and after our read: processes
    // exec, exit and rename themselves (kernel workers) all the time. The
    // share of a process younger than a minute moves too fast to compare.
    void agreesWithPs()
    {
        const QHash<qint64, QByteArray> namesBefore = psColumn("comm");
        const QHash<qint64, QByteArray> cpuBefore = psColumn("pcpu");
        const QHash<qint64, QByteArray> ages = psColumn("etimes");
        const auto processes = ProcFsProcessLister().processes();
        const QHash<qint64, QByteArray> namesAfter = psColumn("comm");
        QVERIFY(processes);
        QVERIFY(!namesBefore.isEmpty());
        int compared = 0;
        QStringList mismatches;
        qint64 previous = 0;
        for (const auto &process : *processes) {
            QVERIFY(process.pid > previous); // ps's order
            previous = process.pid;
            const QByteArray name = namesBefore.value(process.pid);
            if (name.isEmpty() || name != namesAfter.value(process.pid))
                continue;
            ++compared;
            if (process.command != name)
                mismatches << QString::fromUtf8(process.command + " vs " + name);
            const double cpu = cpuBefore.value(process.pid).toDouble();
            if (ages.value(process.pid).toLongLong() >= 60 &&
                std::abs(process.cpu.toDouble() - cpu) > 0.1 + cpu * 0.02) {
                mismatches << QString::fromUtf8(process.command + ": " + process.cpu + " vs " +
                                                cpuBefore.value(process.pid));
            }
        }
        // A process that changes state in the very moment of our read may
        // differ; a fault in the format would make most differ.
        QVERIFY2(mismatches.size() <= 2, qPrintable(mismatches.join(QStringLiteral("; "))));
        QVERIFY2(compared * 10 >= namesBefore.size() * 8,
                 qPrintable(QStringLiteral("%1 of %2").arg(compared).arg(namesBefore.size())));
        const QByteArray ownName = QCoreApplication::applicationName().toUtf8().left(15);
        QVERIFY(ProcFsProcessLister().commandNames()->contains(QByteArray('\n' + ownName + '\n')));
    }

    void psFailures_data()
    {
        QTest::addColumn<QByteArray>("script"); // empty: no such program
        QTest::addRow("cannot be started") << QByteArray();
        QTest::addRow("hangs") << QByteArray("#!/bin/sh\nexec sleep 30\n");
        QTest::addRow("crashes") << QByteArray("#!/bin/sh\necho partial\nkill -SEGV $$\n");
    }

    void psFailures()
    {
        QFETCH(QByteArray, script);
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("ps"));
        if (!script.isEmpty())
            QVERIFY(writeFile(program, script, true));
        PsProcessLister ps(program, std::chrono::milliseconds(300));
        QVERIFY(!ps.commandNames());
    }

    void psArguments()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("ps"));
        QVERIFY(writeFile(program, "#!/bin/sh\necho \"$@\"\necho noise >&2\n", true));
        PsProcessLister ps(program);
        QCOMPARE(ps.commandNames(), std::optional<QByteArray>("-eo comm=\n"));
        QCOMPARE(ps.cpuUsage(), std::optional<QByteArray>("-eo pcpu,comm=\n"));
    }
};

QTEST_GUILESS_MAIN(TestProcessListers)
#include "tst_processlisters.moc"
