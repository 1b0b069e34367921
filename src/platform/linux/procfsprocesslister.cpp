#include "procfsprocesslister.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {
struct DirCloser
{
    void operator()(DIR *dir) const { closedir(dir); }
};

// /proc files are generated on read and small: one read gets all of a stat
// line (well under 1 KiB even with a 64-byte command name).
bool readSmallFile(const QByteArray &path, QByteArray &into)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buffer[2048];
    ssize_t count = 0;
    do {
        count = ::read(fd, buffer, sizeof buffer);
    } while (count < 0 && errno == EINTR);
    ::close(fd);
    if (count <= 0)
        return false;
    into = QByteArray(buffer, count);
    return true;
}

bool isProcessDirectory(const char *name)
{
    if (!*name)
        return false;
    for (const char *c = name; *c; ++c) {
        if (*c < '0' || *c > '9')
            return false;
    }
    return true;
}

struct Stat
{
    QByteArray comm;
    quint64 ticks = 0;
    quint64 startTicks = 0;
};

// "pid (comm) S ppid … utime stime … starttime …": the command may itself
// hold spaces and parentheses, so it ends at the last ')'.
std::optional<Stat> parseStat(const QByteArray &line)
{
    const qsizetype open = line.indexOf('(');
    const qsizetype close = line.lastIndexOf(')');
    if (open < 0 || close < open)
        return std::nullopt;
    Stat stat;
    stat.comm = line.mid(open + 1, close - open - 1);
    const QList<QByteArray> fields = line.mid(close + 1).simplified().split(' ');
    // fields[0] is the state (field 3 of proc(5)); utime is field 14.
    // procps's comm column shows zombies by their name alone.
    constexpr int utime = 11, stime = 12, starttime = 19;
    if (fields.size() <= starttime || fields[0].isEmpty())
        return std::nullopt;
    bool ok1 = false, ok2 = false, ok3 = false;
    stat.ticks = fields[utime].toULongLong(&ok1) + fields[stime].toULongLong(&ok2);
    stat.startTicks = fields[starttime].toULongLong(&ok3);
    if (!ok1 || !ok2 || !ok3)
        return std::nullopt;
    return stat;
}
} // namespace

ProcFsProcessLister::ProcFsProcessLister(QByteArray procRoot)
    : m_procRoot(std::move(procRoot))
{}

std::optional<QList<ProcFsProcessLister::Process>> ProcFsProcessLister::processes() const
{
    QByteArray uptimeText;
    if (!readSmallFile(m_procRoot + "/uptime", uptimeText))
        return std::nullopt;
    bool ok = false;
    const double uptime = uptimeText.left(uptimeText.indexOf(' ')).trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    const long hertz = sysconf(_SC_CLK_TCK);

    std::unique_ptr<DIR, DirCloser> dir(opendir(m_procRoot.constData()));
    if (!dir)
        return std::nullopt;
    QList<Process> result;
    QByteArray statText;
    while (const dirent *entry = readdir(dir.get())) {
        if (!isProcessDirectory(entry->d_name))
            continue;
        const QByteArray pid(entry->d_name);
        if (!readSmallFile(m_procRoot + '/' + pid + "/stat", statText))
            continue; // ended since the folder was listed
        const std::optional<Stat> stat = parseStat(statText);
        if (!stat)
            continue;
        Process process;
        process.pid = pid.toLongLong();
        process.command = escapeCommand(stat->comm);
        const double elapsed = std::max(0.0, uptime - double(stat->startTicks) / double(hertz));
        process.cpu = formatCpu(stat->ticks, elapsed, hertz);
        result.append(process);
    }
    return result;
}

std::optional<QByteArray> ProcFsProcessLister::commandNames()
{
    const auto list = processes();
    if (!list)
        return std::nullopt;
    QByteArray text;
    text.reserve(list->size() * 16);
    for (const Process &process : *list)
        text += process.command + '\n';
    return text;
}

std::optional<QByteArray> ProcFsProcessLister::cpuUsage()
{
    const auto list = processes();
    if (!list)
        return std::nullopt;
    QByteArray text = QByteArrayLiteral("%CPU\n");
    text.reserve(list->size() * 22);
    for (const Process &process : *list)
        text += process.cpu.rightJustified(4, ' ') + ' ' + process.command + '\n';
    return text;
}

QByteArray ProcFsProcessLister::formatCpu(quint64 ticks, double elapsedSeconds, long hertz)
{
    const auto seconds = static_cast<quint64>(elapsedSeconds);
    quint64 tenths = 0;
    if (seconds > 0 && hertz > 0)
        tenths = (ticks * 1000ULL / quint64(hertz)) / seconds;
    if (tenths > 999)
        return QByteArray::number(tenths / 10);
    return QByteArray::number(tenths / 10) + '.' + QByteArray::number(tenths % 10);
}

QByteArray ProcFsProcessLister::escapeCommand(const QByteArray &raw)
{
    QByteArray escaped;
    escaped.reserve(raw.size());
    std::mbstate_t state{};
    const char *cursor = raw.constData();
    const char *const end = cursor + raw.size();
    while (cursor < end) {
        wchar_t character = 0;
        const std::size_t length = std::mbrtowc(&character, cursor, end - cursor, &state);
        if (length == 0)
            break; // the kernel's string ends at its NUL
        if (length == std::size_t(-1) || length == std::size_t(-2)) {
            escaped += '?';
            state = std::mbstate_t{};
            ++cursor;
            continue;
        }
        if (std::iswprint(static_cast<wint_t>(character)))
            escaped.append(cursor, qsizetype(length));
        else
            escaped += '?';
        cursor += length;
    }
    return escaped;
}
