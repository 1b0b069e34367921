#include "platform/fakes/fakeapplicationwindows.h"
#include "platform/fakes/fakeprocesslister.h"
#include "tasks/processmonitor.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using Window = ApplicationWindows::Window;

namespace {
Window app(ApplicationWindows::Id id, qint64 pid, const QString &className)
{
    Window w;
    w.id = id;
    w.pid = pid;
    w.className = className;
    w.types = {ApplicationWindows::Type::Normal};
    return w;
}

QStringList displayNames(const QList<RunningTask> &tasks)
{
    QStringList names;
    for (const RunningTask &task : tasks)
        names.append(task.displayName);
    return names;
}
} // namespace

class TestProcessMonitor : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_noApplications;
    std::unique_ptr<FakeProcessLister> m_processes;
    std::unique_ptr<FakeApplicationWindows> m_windows;
    std::unique_ptr<ProcessMonitor> m_monitor;

    // One poll, start to publication.
    bool poll()
    {
        QSignalSpy refreshed(m_monitor.get(), &ProcessMonitor::refreshed);
        m_monitor->refresh();
        return refreshed.wait(5000);
    }

private Q_SLOTS:
    void init()
    {
        m_processes = std::make_unique<FakeProcessLister>();
        m_windows = std::make_unique<FakeApplicationWindows>();
        m_monitor = std::make_unique<ProcessMonitor>(*m_processes, *m_windows,
                                                     QStringList{m_noApplications.path()});
    }

    void cleanup()
    {
        m_processes->release();
        m_monitor.reset();
        m_windows.reset();
        m_processes.reset();
    }

    void pollsEveryThreeSecondsWithoutAScanAtCreation()
    {
        QVERIFY(m_monitor->isPolling());
        QCOMPARE(ProcessMonitor::pollInterval, std::chrono::milliseconds(3000));
        QVERIFY(m_monitor->runningTasks().isEmpty());
        QCOMPARE(m_processes->commandNamesCalls(), 0);
    }

    void guiAppsThenProcessesSortedByCategory()
    {
        m_windows->setWindows(
            {app(1, 10, QStringLiteral("Files")), app(2, 11, QStringLiteral("Cursor")),
             app(3, 12, QStringLiteral("Claude")), app(4, 13, QStringLiteral("Terminal"))});
        m_processes->setCommandNames("launchd\nnode\ncargo\nClaude\nCursor Helper (Renderer)\n");
        m_processes->setCpuUsage("%CPU\n42.0 cargo\n");
        QSignalSpy changed(m_monitor.get(), &ProcessMonitor::runningTasksChanged);
        QVERIFY(poll());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(displayNames(m_monitor->runningTasks()),
                 (QStringList{
                     QStringLiteral("Cursor — IDE active"), QStringLiteral("Claude — desktop app"),
                     QStringLiteral("Claude Code — agent running"),
                     QStringLiteral("Cursor Agent — working"), QStringLiteral("cargo — building"),
                     QStringLiteral("node — active"), QStringLiteral("Files — running"),
                     QStringLiteral("Terminal — running")}));
        QCOMPARE(m_monitor->runningTasks().at(4).progress, std::optional<double>(0.42));
        QCOMPARE(m_monitor->aiAgentNames(),
                 (QStringList{QStringLiteral("Cursor — IDE active"),
                              QStringLiteral("Claude — desktop app"),
                              QStringLiteral("Claude Code — agent running"),
                              QStringLiteral("Cursor Agent — working")}));
        QCOMPARE(m_monitor->aiAgentTasks().size(), 4);
    }

    void scanRunsOffTheMainThread()
    {
        QVERIFY(poll());
        QVERIFY(m_processes->lastCallThread());
        QVERIFY(m_processes->lastCallThread() != QThread::currentThread());
    }

    void slowPsDoesNotStackPolls()
    {
        m_processes->setCommandNames("node\n");
        m_processes->hold();
        QSignalSpy refreshed(m_monitor.get(), &ProcessMonitor::refreshed);
        m_monitor->refresh();
        QTRY_COMPARE(m_processes->commandNamesCalls(), 1);
        // The main thread goes on; further ticks do not queue more scans.
        m_monitor->refresh();
        m_monitor->refresh();
        QVERIFY(m_monitor->isScanning());
        QCoreApplication::processEvents();
        QCOMPARE(refreshed.size(), 0);
        m_processes->release();
        QVERIFY(refreshed.wait(5000));
        QCOMPARE(m_processes->commandNamesCalls(), 1);
        QCOMPARE(displayNames(m_monitor->runningTasks()),
                 QStringList{QStringLiteral("node — active")});
        QVERIFY(!m_monitor->isScanning());
        // The next tick scans again.
        QVERIFY(poll());
        QCOMPARE(m_processes->commandNamesCalls(), 2);
    }

    void ownWindowsAndVanishedWindowsAreNotListed()
    {
        m_windows->setWindows(
            {app(1, QCoreApplication::applicationPid(), QStringLiteral("Settings")),
             app(2, 20, QStringLiteral("Vostrel"))});
        m_windows->addVanishedWindow(3);
        QVERIFY(poll());
        QVERIFY(m_monitor->runningTasks().isEmpty());
    }

    void destroyedWhilePolling()
    {
        m_processes->setCommandNames("node\n");
        m_monitor->refresh();
        // The result arrives for a monitor that is gone and is dropped.
        m_monitor.reset();
        QCoreApplication::processEvents();
    }

};

QTEST_GUILESS_MAIN(TestProcessMonitor)
#include "tst_processmonitor.moc"
