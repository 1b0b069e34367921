#pragma once

#include "tasks/runningtask.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <optional>

class ProcessLister;

// Turns the output of ps into tasks: recognised AI agents, builds and
// developer tools, one task per name, in the order ps listed them.
namespace ProcessScan {

// Gives the "ps -eo pcpu,comm=" output, or none when it cannot be had.
using CpuProbe = std::function<std::optional<QByteArray>()>;

// None when there is no listing or it is not valid UTF-8; otherwise the
// tasks (possibly none). The probe is asked at most once, and only when a
// tool whose progress is shown was found.
[[nodiscard]] std::optional<QList<RunningTask>> parse(const QByteArray &commandNames,
                                                      const CpuProbe &cpuUsage);
// parse() on what the lister reports. Blocks while the lister does.
[[nodiscard]] std::optional<QList<RunningTask>> run(ProcessLister &lister);

// The CPU share of the first line of the pcpu output that mentions the
// tool, as 0…1 (100 % and more is 1); none for any other name, for output
// that is not UTF-8, and when no such line holds a number.
[[nodiscard]] std::optional<double> progress(const QByteArray &cpuUsage, const QString &name);

// The lower-cased last path component of a ps line with its blanks trimmed.
[[nodiscard]] QString processName(QStringView line);

} // namespace ProcessScan
