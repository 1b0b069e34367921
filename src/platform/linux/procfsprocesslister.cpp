#include "platform/linux/procfsprocesslister.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <limits>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {
// Names read for one scan serve its CPU probe, which follows within
// milliseconds; older names would miss processes started since.
constexpr qint64 namesReuseMs = 1000;

struct DirCloser
{
    void operator()(DIR *dir) const { closedir(dir); }
};

// /proc files are generated on read and small: one read gets all of a stat
// line (well under 1 KiB even with a 64-byte command name).
qsizetype readSmallFile(int dirFd, const char *path, char *buffer, std::size_t size)
{
    const int fd = ::openat(dirFd, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    ssize_t count = 0;
    do {
        count = ::read(fd, buffer, size);
    } while (count < 0 && errno == EINTR);
    ::close(fd);
    return count;
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

// "pid (comm) S ppid … utime stime … starttime …": the command may itself
// hold spaces and parentheses, so the fields start after the last ')'.
// Fields are counted from the state, field 3 of proc(5).
bool parseTimes(const char *line, qsizetype length, quint64 &ticks, quint64 &startTicks)
{
    const char *end = line + length;
    const char *close = nullptr;
    for (const char *c = line; c < end; ++c) {
        if (*c == ')')
            close = c;
    }
    if (!close)
        return false;
    constexpr int utime = 14, stime = 15, starttime = 22;
    quint64 values[starttime + 1] = {};
    int field = 2;
    const char *c = close + 1;
    while (c < end && field < starttime) {
        while (c < end && *c == ' ')
            ++c;
        ++field;
        quint64 value = 0;
        while (c < end && *c != ' ') {
            if (*c >= '0' && *c <= '9')
                value = value * 10 + quint64(*c - '0');
            ++c;
        }
        values[field] = value;
    }
    if (field < starttime)
        return false;
    ticks = values[utime] + values[stime];
    startTicks = values[starttime];
    return true;
}

bool mentionsAny(const QByteArray &command, const QList<QByteArray> &words)
{
    // Lower-cased as text, as the reader of ps's output does.
    const QString lower = QString::fromUtf8(command).toLower();
    return std::any_of(words.cbegin(), words.cend(), [&lower](const QByteArray &word) {
        return lower.contains(QLatin1String(word));
    });
}
} // namespace

ProcFsProcessLister::ProcFsProcessLister(QByteArray procRoot)
    : m_procRoot(std::move(procRoot))
{}

std::optional<QList<ProcFsProcessLister::Name>> ProcFsProcessLister::names() const
{
    std::unique_ptr<DIR, DirCloser> dir(opendir(m_procRoot.constData()));
    if (!dir)
        return std::nullopt;
    const int dirFd = dirfd(dir.get());
    QList<Name> result;
    result.reserve(512);
    char path[sizeof(dirent::d_name) + 8];
    char buffer[256];
    while (const dirent *entry = readdir(dir.get())) {
        if (!isProcessDirectory(entry->d_name) || std::strlen(entry->d_name) > 20)
            continue;
        std::snprintf(path, sizeof path, "%s/comm", entry->d_name);
        qsizetype length = readSmallFile(dirFd, path, buffer, sizeof buffer);
        if (length <= 0)
            continue; // ended since the folder was listed
        // The file is the name and a newline; the name may hold one too.
        if (buffer[length - 1] == '\n')
            --length;
        result.append(
            {std::strtoll(entry->d_name, nullptr, 10), escapeCommand(QByteArray(buffer, length))});
    }
    return result;
}

std::optional<double> ProcFsProcessLister::uptime() const
{
    const int fd = ::open(QByteArray(m_procRoot + "/uptime").constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    char buffer[128] = {};
    const ssize_t count = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    if (count <= 0)
        return std::nullopt;
    bool ok = false;
    const QByteArray text(buffer, count);
    const double seconds = text.left(text.indexOf(' ')).trimmed().toDouble(&ok);
    return ok ? std::optional<double>(seconds) : std::nullopt;
}

bool ProcFsProcessLister::readCpu(Process &process, double uptime) const
{
    char path[512];
    std::snprintf(path, sizeof path, "%s/%lld/stat", m_procRoot.constData(),
                  static_cast<long long>(process.pid));
    char buffer[2048];
    const qsizetype length = readSmallFile(AT_FDCWD, path, buffer, sizeof buffer);
    quint64 ticks = 0;
    quint64 startTicks = 0;
    if (length <= 0 || !parseTimes(buffer, length, ticks, startTicks))
        return false;
    static const long hertz = sysconf(_SC_CLK_TCK);
    const double elapsed = std::max(0.0, uptime - double(startTicks) / double(hertz));
    process.cpu = formatCpu(ticks, elapsed, hertz);
    return true;
}

std::optional<QList<ProcFsProcessLister::Process>> ProcFsProcessLister::processes() const
{
    const std::optional<double> seconds = uptime();
    const auto list = names();
    if (!seconds || !list)
        return std::nullopt;
    QList<Process> result;
    for (const Name &name : *list) {
        Process process{name.pid, name.command, {}};
        if (readCpu(process, *seconds))
            result.append(process);
    }
    return result;
}

std::optional<QByteArray> ProcFsProcessLister::commandNames()
{
    auto list = names();
    if (!list)
        return std::nullopt;
    QByteArray text;
    text.reserve(list->size() * 16);
    for (const Name &name : std::as_const(*list))
        text += name.command + '\n';
    QMutexLocker locker(&m_mutex);
    m_lastNames = std::move(list);
    m_lastNamesAge.start();
    return text;
}

std::optional<QByteArray> ProcFsProcessLister::cpuUsage(const QList<QByteArray> &mentioning)
{
    std::optional<QList<Name>> list;
    {
        QMutexLocker locker(&m_mutex);
        if (m_lastNames && m_lastNamesAge.isValid() && m_lastNamesAge.elapsed() < namesReuseMs)
            list = m_lastNames;
    }
    if (!list)
        list = names();
    const std::optional<double> seconds = uptime();
    if (!list || !seconds)
        return std::nullopt;
    QByteArray text = QByteArrayLiteral("%CPU\n");
    for (const Name &name : std::as_const(*list)) {
        if (!mentioning.isEmpty() && !mentionsAny(name.command, mentioning))
            continue;
        Process process{name.pid, name.command, {}};
        if (readCpu(process, *seconds))
            text += process.cpu.rightJustified(4, ' ') + ' ' + process.command + '\n';
    }
    return text;
}

QByteArray ProcFsProcessLister::formatCpu(quint64 ticks, double elapsedSeconds, long hertz)
{
    // The elapsed time comes from /proc/uptime, which is text: a value past
    // what a 64-bit count of seconds holds (or infinity) counts as the
    // largest one, and one below a second (or not a number) as none, so the
    // conversion below never leaves the range of quint64.
    constexpr double secondsLimit = 18446744073709551616.0; // 2^64
    quint64 seconds = 0;
    if (elapsedSeconds >= secondsLimit)
        seconds = std::numeric_limits<quint64>::max();
    else if (elapsedSeconds >= 1)
        seconds = static_cast<quint64>(elapsedSeconds);
    quint64 tenths = 0;
    if (seconds > 0 && hertz > 0)
        tenths = (ticks * 1000ULL / quint64(hertz)) / seconds;
    if (tenths > 999)
        return QByteArray::number(tenths / 10);
    return QByteArray::number(tenths / 10) + '.' + QByteArray::number(tenths % 10);
}

QByteArray ProcFsProcessLister::escapeCommand(const QByteArray &raw)
{
    // Plain ASCII names, nearly all of them, need no decoding.
    if (std::all_of(raw.cbegin(), raw.cend(), [](char c) { return c >= 0x20 && c < 0x7f; }))
        return raw;
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
