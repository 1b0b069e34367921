#pragma once

#include "tasks/runningtask.h"

#include <QList>
#include <QObject>
#include <qqmlregistration.h>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>

#include <chrono>
#include <memory>

class ApplicationWindows;
class DesktopEntryIndex;
class ProcessLister;
class QJSEngine;
class QQmlEngine;

// What the computer is busy with while the screen is locked: AI agents,
// builds, developer tools and open applications, refreshed every 3 seconds.
//
// Each poll lists the processes and reads the window list on a worker
// thread, then classifies, orders and publishes the result on the main
// thread. A poll that is still running (a slow ps) makes the next ticks do
// nothing, so polls never pile up. The first list is published one interval
// after creation.
class ProcessMonitor : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_DISABLE_COPY_MOVE(ProcessMonitor)


public:
    static constexpr std::chrono::milliseconds pollInterval{3000};

    // The sources are used from the worker thread and must outlive the
    // monitor. applicationFolders are where .desktop files are looked up.
    ProcessMonitor(ProcessLister &processes, ApplicationWindows &windows,
                   const QStringList &applicationFolders, QObject *parent = nullptr);
    ProcessMonitor(ProcessLister &processes, ApplicationWindows &windows,
                   QObject *parent = nullptr);
    // Waits for a poll in progress, which ends within the lister's timeout.
    ~ProcessMonitor() override;

    static ProcessMonitor *create(QQmlEngine *, QJSEngine *);

    [[nodiscard]] const QList<RunningTask> &runningTasks() const { return m_tasks; }
    [[nodiscard]] QList<RunningTask> aiAgentTasks() const;
    // The displayName of each AI agent task, in order.
    [[nodiscard]] QStringList aiAgentNames() const;


    [[nodiscard]] bool isPolling() const { return m_timer.isActive(); }
    [[nodiscard]] bool isScanning() const { return m_isScanning; }

    // The timer's callback, public so tests can drive the clock. Starts one
    // poll unless one is still running.
    void refresh();

Q_SIGNALS:
    // Only when the list differs in something besides the tasks' ids: an
    // unchanged list keeps its tasks, so views need not rebuild every poll.
    void runningTasksChanged();
    // After every poll, changed or not.
    void refreshed();

private:
    void finishScan(const QStringList &applicationNames,
                    const std::optional<QList<RunningTask>> &processTasks);
    void publish(QList<RunningTask> tasks);
    void stopPolling();

    ProcessLister &m_processes;
    ApplicationWindows &m_windows;
    // Used only on the worker thread.
    std::unique_ptr<DesktopEntryIndex> m_desktopEntries;
    const qint64 m_ownPid;
    QList<RunningTask> m_tasks;
    bool m_isScanning = false;
    QTimer m_timer;
    // One thread: polls run one after another, never side by side.
    QThreadPool m_worker;
};
