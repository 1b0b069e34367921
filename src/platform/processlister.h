#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// The running processes as `ps` prints them. Called from the task monitor's
// worker thread, never from the main thread: an implementation may block, and
// must be safe to call from a thread other than the one that created it.
class ProcessLister
{
public:
    ProcessLister() = default;
    virtual ~ProcessLister() = default;
    ProcessLister(const ProcessLister &) = delete;
    ProcessLister &operator=(const ProcessLister &) = delete;

    // What `ps -eo comm=` prints: one command name per process and line.
    // None when the listing could not be made.
    [[nodiscard]] virtual std::optional<QByteArray> commandNames() = 0;
    // What `ps -eo pcpu,comm=` prints: a "%CPU" header, then the CPU share
    // and command name of each process. When mentioning is not empty, the
    // lines of processes whose lower-cased name contains none of its words
    // may be left out: a caller that only looks for those words sees the
    // same first match either way.
    [[nodiscard]] virtual std::optional<QByteArray>
    cpuUsage(const QList<QByteArray> &mentioning = {}) = 0;
};
