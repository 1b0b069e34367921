// Feeds arbitrary bytes to the task scan as ps output, and as the files of a
// made-up /proc tree to the /proc lister whose listing the scan then reads.
//
// The input is up to five sections, each ended by a line "--":
//   1. what "ps -eo comm=" prints          4. /proc/<pid>/stat of that process
//   2. what "ps -eo pcpu,comm=" prints     5. /proc/uptime
//   3. /proc/<pid>/comm of one process
// A missing second section is a CPU probe that fails.
#include "platform/linux/procfsprocesslister.h"
#include "platform/processlister.h"
#include "tasks/processscan.h"
#include "tasks/processtables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir *proc = nullptr;

void silence(QtMsgType, const QMessageLogContext &, const QString &)
{}

bool isValidUtf8(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

void write(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(contents) != contents.size())
        std::abort();
}

// What every scan must give, whatever it read: one task per name, each a
// recognised lower-cased name with a label and a category the monitor
// assigns, and a CPU share (0…1) only for a tool whose progress is shown,
// as the probe's output gives it.
void checkTasks(const QList<RunningTask> &tasks, const std::optional<QByteArray> &cpu)
{
    QSet<QString> names;
    for (const RunningTask &task : tasks) {
        if (task.name.isEmpty() || task.displayName.isEmpty() || names.contains(task.name) ||
            task.name != task.name.toLower() || task.isGUIApp)
            std::abort();
        names.insert(task.name);
        const bool known = ProcessTables::aiProcesses().contains(task.name) ||
                           ProcessTables::buildProcesses().contains(task.name) ||
                           ProcessTables::devToolProcesses().contains(task.name);
        if (!known ||
            (task.category != TaskCategory::AIAgent && task.category != TaskCategory::Build &&
             task.category != TaskCategory::DevTool))
            std::abort();
        if (task.progress) {
            if (!ProcessTables::progressTools().contains(task.name) || !cpu ||
                !std::isfinite(*task.progress) || *task.progress < 0 || *task.progress > 1 ||
                ProcessScan::progress(*cpu, task.name) != task.progress)
                std::abort();
        }
    }
}

// A ps stand-in with fixed output that counts how often it is asked.
class CannedLister : public ProcessLister
{
public:
    CannedLister(QByteArray names, std::optional<QByteArray> cpu)
        : m_names(std::move(names))
        , m_cpu(std::move(cpu))
    {}

    std::optional<QByteArray> commandNames() override { return m_names; }
    std::optional<QByteArray> cpuUsage(const QList<QByteArray> &) override
    {
        ++probes;
        return m_cpu;
    }

    int probes = 0;

private:
    QByteArray m_names;
    std::optional<QByteArray> m_cpu;
};

void scanPsOutput(const QByteArray &names, const std::optional<QByteArray> &cpu)
{
    CannedLister lister(names, cpu);
    const std::optional<QList<RunningTask>> tasks = ProcessScan::run(lister);
    if (tasks.has_value() != isValidUtf8(names) || lister.probes > 1)
        std::abort();
    if (!tasks)
        return;
    checkTasks(*tasks, cpu);
    const bool showsProgress = std::any_of(tasks->cbegin(), tasks->cend(), [](const auto &task) {
        return ProcessTables::progressTools().contains(task.name);
    });
    if (lister.probes != (showsProgress ? 1 : 0))
        std::abort();

    // Every task is named by a line of the listing.
    QSet<QString> lineNames;
    for (const QString &line : QString::fromUtf8(names).split(u'\n'))
        lineNames.insert(ProcessScan::processName(line));
    for (const RunningTask &task : *tasks) {
        if (!lineNames.contains(task.name) &&
            !(task.name == QStringLiteral("cursor helper") &&
              QString::fromUtf8(names).toLower().contains(task.name)))
            std::abort();
    }

    if (cpu) {
        for (const QString &tool : ProcessTables::progressTools()) {
            const std::optional<double> share = ProcessScan::progress(*cpu, tool);
            if (share && (!std::isfinite(*share) || *share < 0 || *share > 1))
                std::abort();
        }
    }
}

// A command name as the lister prints it: nothing left to escape, and no
// byte that would break the line-per-process output.
void checkShownCommand(const QByteArray &command)
{
    if (ProcFsProcessLister::escapeCommand(command) != command)
        std::abort();
    for (char c : command) {
        if (c == '\n' || c == '\0' || c == '\t' || c == '\r')
            std::abort();
    }
}

void scanProcTree(const QByteArray &comm, const QByteArray &stat, const QByteArray &uptime)
{
    write(proc->filePath(QStringLiteral("uptime")), uptime);
    write(proc->filePath(QStringLiteral("4242/comm")), comm);
    write(proc->filePath(QStringLiteral("4242/stat")), stat);

    checkShownCommand(ProcFsProcessLister::escapeCommand(comm));

    ProcFsProcessLister lister(QFile::encodeName(proc->path()));
    if (const auto processes = lister.processes()) {
        for (const ProcFsProcessLister::Process &process : *processes) {
            checkShownCommand(process.command);
            bool ok = false;
            const double cpu = process.cpu.toDouble(&ok);
            if (!ok || !std::isfinite(cpu) || cpu < 0)
                std::abort();
        }
    }
    const std::optional<QByteArray> names = lister.commandNames();
    if (!names || !names->endsWith('\n'))
        std::abort();
    for (const QByteArray &line : names->chopped(1).split('\n'))
        checkShownCommand(line);
    const std::optional<QByteArray> cpu = lister.cpuUsage();
    if (cpu && !cpu->startsWith("%CPU\n"))
        std::abort();

    if (const auto tasks = ProcessScan::run(lister))
        checkTasks(*tasks, lister.cpuUsage());
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    // The lister escapes names as ps does in the user's locale; a UTF-8 one
    // is what desktops run with.
    std::setlocale(LC_ALL, "C.UTF-8");
    qInstallMessageHandler(silence);
    proc = new QTemporaryDir;
    // A second, ordinary process beside the one the input describes.
    QDir(proc->path()).mkpath(QStringLiteral("4242"));
    QDir(proc->path()).mkpath(QStringLiteral("77"));
    write(proc->filePath(QStringLiteral("77/comm")), "cargo\n");
    write(proc->filePath(QStringLiteral("77/stat")),
          "77 (cargo) R 1 1 1 0 -1 4194560 10 0 0 0 500 20 0 0 20 0 1 0 1000 1000000 100\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QByteArray> sections;
    qsizetype begin = 0;
    while (sections.size() < 5) {
        const qsizetype end = input.indexOf("\n--\n", begin);
        if (end < 0) {
            sections.append(input.mid(begin));
            break;
        }
        sections.append(input.mid(begin, end + 1 - begin));
        begin = end + 4;
    }
    const auto section = [&sections](qsizetype i) {
        return i < sections.size() ? sections.at(i) : QByteArray();
    };

    scanPsOutput(section(0), sections.size() > 1 ? std::optional(section(1)) : std::nullopt);
    scanProcTree(section(2), section(3), section(4));
    return 0;
}
