#pragma once

#include "processlister.h"

#include <QList>

// Lists processes by reading /proc directly and prints them exactly as
// procps' ps would: the same order, the same command names with the same
// escaping, the same lifetime-average CPU share. It
// costs a fraction of starting ps, which must read the same files anyway.
// Holds no state; any thread may call it.
class ProcFsProcessLister : public ProcessLister
{
public:
    struct Process
    {
        qint64 pid = 0;
        // As ps prints the comm column.
        QByteArray command;
        // As ps prints the pcpu column ("0.0", "37.5", "250").
        QByteArray cpu;
    };

    // procRoot lets tests hand in a made-up /proc tree.
    explicit ProcFsProcessLister(QByteArray procRoot = QByteArrayLiteral("/proc"));

    [[nodiscard]] std::optional<QByteArray> commandNames() override;
    [[nodiscard]] std::optional<QByteArray> cpuUsage() override;

    // Every process in /proc order (ascending ids); none when the folder
    // cannot be read. Processes that end while it is read are left out.
    [[nodiscard]] std::optional<QList<Process>> processes() const;

    // ps's pcpu: CPU time over the process's lifetime in whole seconds, in
    // tenths of a percent, with the tenth dropped from 100 % up.
    [[nodiscard]] static QByteArray formatCpu(quint64 ticks, double elapsedSeconds, long hertz);
    // ps's escaping in the current locale: bytes that do not form a
    // printable character become '?'.
    [[nodiscard]] static QByteArray escapeCommand(const QByteArray &raw);

private:
    QByteArray m_procRoot;
};
