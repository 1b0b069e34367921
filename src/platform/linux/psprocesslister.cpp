#include "platform/linux/psprocesslister.h"

#include <QProcess>

PsProcessLister::PsProcessLister(QString program, std::chrono::milliseconds timeout)
    : m_program(std::move(program))
    , m_timeout(timeout)
{}

std::optional<QByteArray> PsProcessLister::commandNames()
{
    return run({QStringLiteral("-eo"), QStringLiteral("comm=")});
}

std::optional<QByteArray> PsProcessLister::cpuUsage(const QList<QByteArray> &)
{
    // ps cannot filter by name; it prints every line.
    return run({QStringLiteral("-eo"), QStringLiteral("pcpu,comm=")});
}

std::optional<QByteArray> PsProcessLister::run(const QStringList &arguments) const
{
    QProcess ps;
    ps.setStandardErrorFile(QProcess::nullDevice());
    ps.setStandardInputFile(QProcess::nullDevice());
    ps.start(m_program, arguments, QIODevice::ReadOnly);
    if (!ps.waitForStarted(static_cast<int>(m_timeout.count())))
        return std::nullopt;
    if (!ps.waitForFinished(static_cast<int>(m_timeout.count()))) {
        ps.kill();
        ps.waitForFinished(static_cast<int>(m_timeout.count()));
        return std::nullopt;
    }
    // A ps that crashed or rejected its options (busybox knows no -o comm=)
    // printed a partial list or none: that is no listing, not an empty one.
    if (ps.exitStatus() != QProcess::NormalExit || ps.exitCode() != 0)
        return std::nullopt;
    return ps.readAllStandardOutput();
}
