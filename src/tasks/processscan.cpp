#include "tasks/processscan.h"

#include "platform/processlister.h"
#include "tasks/processtables.h"

#include <QSet>
#include <QStringDecoder>

#include <cmath>

namespace {
const QString cursorHelper = QStringLiteral("cursor helper");

std::optional<QString> decodeUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Only spaces and tabs: ps pads with them, and nothing else is padding.
QStringView trimBlanks(QStringView text)
{
    auto isBlank = [](QChar c) {
        return c == u' ' || c == u'\t';
    };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

class Scan
{
public:
    explicit Scan(const ProcessScan::CpuProbe &probe)
        : m_probe(probe)
    {}

    void add(QStringView line)
    {
        const QStringView trimmed = trimBlanks(line);
        const QString name = ProcessScan::processName(trimmed);
        if (name.isEmpty() || m_seen.contains(name))
            return;
        if (const auto label = ProcessTables::aiProcesses().constFind(name);
            label != ProcessTables::aiProcesses().cend()) {
            addProcess(name, *label, TaskCategory::AIAgent);
        } else if (ProcessTables::buildProcesses().contains(name)) {
            addProcess(name, name + QStringLiteral(" — building"), TaskCategory::Build);
        } else if (ProcessTables::devToolProcesses().contains(name)) {
            addProcess(name, name + QStringLiteral(" — active"), TaskCategory::DevTool);
        }
        // The editor's helpers carry their role in the name ("Cursor Helper
        // (Renderer)"), which the exact lookup above cannot match.
        if (!m_seen.contains(cursorHelper) && trimmed.toString().toLower().contains(cursorHelper)) {
            m_seen.insert(cursorHelper);
            RunningTask task;
            task.name = cursorHelper;
            task.displayName = ProcessTables::aiProcesses().value(cursorHelper);
            task.category = TaskCategory::AIAgent;
            m_tasks.append(task);
        }
    }

    [[nodiscard]] QList<RunningTask> tasks() const { return m_tasks; }

private:
    void addProcess(const QString &name, const QString &label, TaskCategory category)
    {
        RunningTask task;
        task.name = name;
        task.displayName = label;
        task.category = category;
        task.progress = progressOf(name);
        m_tasks.append(task);
        m_seen.insert(name);
    }

    std::optional<double> progressOf(const QString &name)
    {
        if (!ProcessTables::progressTools().contains(name))
            return std::nullopt;
        // One probe serves every tool of the scan.
        if (!m_cpuUsage)
            m_cpuUsage = m_probe ? m_probe() : std::nullopt;
        if (!*m_cpuUsage)
            return std::nullopt;
        return ProcessScan::progress(**m_cpuUsage, name);
    }

    const ProcessScan::CpuProbe &m_probe;
    std::optional<std::optional<QByteArray>> m_cpuUsage;
    QSet<QString> m_seen;
    QList<RunningTask> m_tasks;
};
} // namespace

namespace ProcessScan {

QString processName(QStringView line)
{
    QStringView path = trimBlanks(line);
    // A trailing slash names the same file ("/usr/bin/node/" is node), and
    // a path of slashes alone is the root.
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    if (path.size() > 1) {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash >= 0)
            path = path.sliced(slash + 1);
    }
    return path.toString().toLower();
}

std::optional<QList<RunningTask>> parse(const QByteArray &commandNames, const CpuProbe &cpuUsage)
{
    const std::optional<QString> text = decodeUtf8(commandNames);
    if (!text)
        return std::nullopt;
    Scan scan(cpuUsage);
    for (QStringView line : QStringView(*text).split(u'\n'))
        scan.add(line);
    return scan.tasks();
}

std::optional<QList<RunningTask>> run(ProcessLister &lister)
{
    const std::optional<QByteArray> names = lister.commandNames();
    if (!names)
        return std::nullopt;
    static const QList<QByteArray> tools = [] {
        QList<QByteArray> names;
        for (const QString &tool : ProcessTables::progressTools())
            names.append(tool.toLatin1());
        return names;
    }();
    return parse(*names, [&lister] { return lister.cpuUsage(tools); });
}

std::optional<double> progress(const QByteArray &cpuUsage, const QString &name)
{
    if (!ProcessTables::progressTools().contains(name))
        return std::nullopt;
    const std::optional<QString> text = decodeUtf8(cpuUsage);
    if (!text)
        return std::nullopt;
    for (QStringView line : QStringView(*text).split(u'\n')) {
        const QStringView trimmed = trimBlanks(line);
        if (!trimmed.toString().toLower().contains(name))
            continue;
        const qsizetype space = trimmed.indexOf(u' ');
        const QStringView first = space < 0 ? trimmed : trimmed.first(space);
        bool ok = false;
        const double cpu = first.toDouble(&ok);
        // "nan", "inf" and negative shares are no CPU load ps would print.
        if (!ok || !std::isfinite(cpu) || cpu < 0)
            continue;
        return std::min(cpu / 100.0, 1.0);
    }
    return std::nullopt;
}

} // namespace ProcessScan
