#include "tasks/processmonitor.h"

#include "core/qmlinstances.h"
#include "tasks/desktopentryindex.h"
#include "tasks/guiapplications.h"
#include "tasks/processscan.h"

#include <QCoreApplication>
#include <QJSEngine>

#include <algorithm>

ProcessMonitor::ProcessMonitor(ProcessLister &processes, ApplicationWindows &windows,
                               const QStringList &applicationFolders, QObject *parent)
    : QObject(parent)
    , m_processes(processes)
    , m_windows(windows)
    , m_desktopEntries(std::make_unique<DesktopEntryIndex>(applicationFolders))
    , m_ownPid(QCoreApplication::applicationPid())
{
    m_worker.setMaxThreadCount(1);
    m_worker.setObjectName(QStringLiteral("app.vostrel.processmonitor"));
    // Listing processes is background work: it must never compete with the
    // lock screen for the processor.
    m_worker.setThreadPriority(QThread::LowPriority);
    m_timer.setInterval(pollInterval);
    connect(&m_timer, &QTimer::timeout, this, &ProcessMonitor::refresh);
    m_timer.start();
    if (QCoreApplication *app = QCoreApplication::instance()) {
        connect(app, &QCoreApplication::aboutToQuit, this, &ProcessMonitor::stopPolling);
    }
}

ProcessMonitor::ProcessMonitor(ProcessLister &processes, ApplicationWindows &windows,
                               QObject *parent)
    : ProcessMonitor(processes, windows, DesktopEntryIndex::standardFolders(), parent)
{}

ProcessMonitor::~ProcessMonitor()
{
    stopPolling();
}

ProcessMonitor *ProcessMonitor::create(QQmlEngine *engine, QJSEngine *)
{
    return QmlInstances::singleton<ProcessMonitor>(engine);
}

QList<RunningTask> ProcessMonitor::aiAgentTasks() const
{
    QList<RunningTask> agents;
    std::copy_if(m_tasks.cbegin(), m_tasks.cend(), std::back_inserter(agents),
                 [](const RunningTask &task) { return task.category == TaskCategory::AIAgent; });
    return agents;
}

QStringList ProcessMonitor::aiAgentNames() const
{
    QStringList names;
    for (const RunningTask &task : m_tasks) {
        if (task.category == TaskCategory::AIAgent)
            names.append(task.displayName);
    }
    return names;
}

void ProcessMonitor::refresh()
{
    if (m_isScanning)
        return;
    m_isScanning = true;
    // The worker touches only the two sources and the desktop index, which
    // nothing on the main thread uses; the destructor waits for it, so
    // `this` outlives the job, and a result handed back after the monitor
    // is gone is dropped with its event.
    m_worker.start([this] {
        std::optional<QList<RunningTask>> processTasks = ProcessScan::run(m_processes);
        const QStringList applicationNames =
            GuiApplications::names(m_windows, m_ownPid, *m_desktopEntries);
        QMetaObject::invokeMethod(
            this,
            [this, applicationNames, processTasks = std::move(processTasks)] {
                finishScan(applicationNames, processTasks);
            },
            Qt::QueuedConnection);
    });
}

void ProcessMonitor::finishScan(const QStringList &applicationNames,
                                const std::optional<QList<RunningTask>> &processTasks)
{
    m_isScanning = false;
    QList<RunningTask> tasks = GuiApplications::tasks(applicationNames);
    if (processTasks)
        tasks.append(*processTasks);
    std::stable_sort(tasks.begin(), tasks.end(), [](const RunningTask &a, const RunningTask &b) {
        return sortRank(a.category) < sortRank(b.category);
    });
    publish(std::move(tasks));
}

void ProcessMonitor::publish(QList<RunningTask> tasks)
{
    const bool isSame =
        std::equal(tasks.cbegin(), tasks.cend(), m_tasks.cbegin(), m_tasks.cend(),
                   [](const RunningTask &a, const RunningTask &b) { return a.isSameWork(b); });
    if (!isSame) {
        m_tasks = std::move(tasks);
        Q_EMIT runningTasksChanged();
    }
    Q_EMIT refreshed();
}

void ProcessMonitor::stopPolling()
{
    m_timer.stop();
    m_worker.waitForDone();
}
