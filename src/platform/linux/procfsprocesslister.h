#pragma once

#include "platform/processlister.h"

#include <QElapsedTimer>
#include <QList>
#include <QMutex>

// Lists processes by reading /proc directly and prints them exactly as
// procps' ps would: the same order, the same command names with the same
// escaping, the same lifetime-average CPU share. It costs a fraction of
// starting ps, which must read the same files anyway. Names come from each
// process's small comm file; the larger stat file is read only for the CPU
// share, and only of the processes a caller asks about. Any thread may call
// it.
class ProcFsProcessLister : public ProcessLister
{
public:
    struct Process
    {
        qint64 pid = 0;
        // As ps prints the comm column.
        QByteArray command;
        // As ps prints the pcpu column ("0.0", "37.5", "250"); empty when
        // not read.
        QByteArray cpu;
    };

    // procRoot lets tests hand in a made-up /proc tree.
    explicit ProcFsProcessLister(QByteArray procRoot = QByteArrayLiteral("/proc"));

    [[nodiscard]] std::optional<QByteArray> commandNames() override;
    // Reuses the names of a listing made in the last second, so a scan reads
    // every comm file once.
    [[nodiscard]] std::optional<QByteArray>
    cpuUsage(const QList<QByteArray> &mentioning = {}) override;

    // Every process in /proc order (ascending ids), with its CPU share; none
    // when the folder cannot be read. Processes that end while it is read
    // are left out.
    [[nodiscard]] std::optional<QList<Process>> processes() const;

    // ps's pcpu: CPU time over the process's lifetime in whole seconds, in
    // tenths of a percent, with the tenth dropped from 100 % up.
    [[nodiscard]] static QByteArray formatCpu(quint64 ticks, double elapsedSeconds, long hertz);
    // ps's escaping in the current locale: bytes that do not form a
    // printable character become '?'.
    [[nodiscard]] static QByteArray escapeCommand(const QByteArray &raw);

private:
    struct Name
    {
        qint64 pid;
        QByteArray command;
    };

    [[nodiscard]] std::optional<QList<Name>> names() const;
    // Fills in cpu; false when the process is gone or its stat unreadable.
    [[nodiscard]] bool readCpu(Process &process, double uptime) const;
    [[nodiscard]] std::optional<double> uptime() const;

    QByteArray m_procRoot;
    QMutex m_mutex;
    std::optional<QList<Name>> m_lastNames;
    QElapsedTimer m_lastNamesAge;
};
