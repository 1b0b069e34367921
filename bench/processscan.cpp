// CPU cost of one task-monitor process scan, listing processes with ps and
// by reading /proc, with a given number of processes running. Run it in a
// PID namespace of its own (bench/process-scan.sh does) so that the count
// is exact.
//
//   vostrel-bench-processscan PROCESSES [SCANS]

#include "tasks/processscan.h"
#include "platform/linux/procfsprocesslister.h"
#include "platform/linux/psprocesslister.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <csignal>
#include <cstdio>
#include <vector>

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
double cpuSeconds()
{
    double total = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        total += double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                 double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    return total;
}

int processCount()
{
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    return int(std::count_if(entries.cbegin(), entries.cend(), [](const QString &name) {
        bool ok = false;
        name.toLongLong(&ok);
        return ok;
    }));
}

// A child that sleeps under the given name, as a build or agent would run.
pid_t spawn(const char *name)
{
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_NAME, name);
        for (;;)
            pause();
    }
    return pid;
}

QString describe(const std::optional<QList<RunningTask>> &tasks)
{
    if (!tasks)
        return QStringLiteral("(no listing)");
    QStringList parts;
    for (const RunningTask &task : *tasks) {
        parts << task.displayName +
                     (task.progress ? QStringLiteral(" %1").arg(*task.progress) : QString());
    }
    return parts.join(QStringLiteral(", "));
}

struct Result
{
    double cpuMs = 0;
    double wallMs = 0;
    QString tasks;
};

Result measure(ProcessLister &lister, int scans)
{
    Result result;
    result.tasks = describe(ProcessScan::run(lister)); // warm-up, and the answer
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < scans; ++i)
        (void)ProcessScan::run(lister);
    result.wallMs = double(wall.nsecsElapsed()) / 1e6 / scans;
    result.cpuMs = (cpuSeconds() - cpuBefore) * 1000.0 / scans;
    return result;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int target = arguments.value(1, QStringLiteral("50")).toInt();
    const int scans = arguments.value(2, QStringLiteral("100")).toInt();

    std::vector<pid_t> children;
    for (const char *name : {"cargo", "ffmpeg", "claude", "node"})
        children.push_back(spawn(name));
    while (processCount() < target)
        children.push_back(spawn("sleeper"));
    const int running = processCount();

    PsProcessLister ps;
    ProcFsProcessLister procFs;
    const Result viaPs = measure(ps, scans);
    const Result viaProc = measure(procFs, scans);

    std::printf("processes running: %d (%d scans each)\n", running, scans);
    std::printf("  /bin/ps: %6.2f ms CPU per scan, %6.2f ms wall\n", viaPs.cpuMs, viaPs.wallMs);
    std::printf("  /proc:   %6.2f ms CPU per scan, %6.2f ms wall\n", viaProc.cpuMs, viaProc.wallMs);
    std::printf("  tasks (ps):    %s\n", qPrintable(viaPs.tasks));
    std::printf("  tasks (/proc): %s\n", qPrintable(viaProc.tasks));
    std::printf("  same results: %s\n", viaPs.tasks == viaProc.tasks ? "yes" : "NO");

    for (const pid_t child : children)
        kill(child, SIGKILL);
    for (const pid_t child : children)
        waitpid(child, nullptr, 0);
    return viaPs.tasks == viaProc.tasks ? 0 : 1;
}
