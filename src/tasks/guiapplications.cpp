#include "tasks/guiapplications.h"

#include "tasks/desktopentryindex.h"
#include "tasks/processtables.h"

#include <QSet>

namespace GuiApplications {

bool isRegular(const ApplicationWindows::Window &window)
{
    using Type = ApplicationWindows::Type;
    if (window.skipsTaskbar)
        return false;
    const Type type = window.types.isEmpty() ? (window.isTransientFor ? Type::Dialog : Type::Normal)
                                             : window.types.first();
    switch (type) {
    case Type::Normal:
        return true;
    case Type::Dialog:
        return !window.isTransientFor;
    default:
        return false;
    }
}

QStringList names(ApplicationWindows &windows, qint64 ownPid, DesktopEntryIndex &desktopEntries)
{
    QStringList result;
    QSet<qint64> seenProcesses;
    desktopEntries.refreshIfChanged();
    const QList<ApplicationWindows::Id> ids = windows.clientList();
    for (const ApplicationWindows::Id id : ids) {
        const std::optional<ApplicationWindows::Window> window = windows.window(id);
        if (!window || !isRegular(*window))
            continue;
        if (window->pid) {
            if (*window->pid == ownPid || seenProcesses.contains(*window->pid))
                continue;
            seenProcesses.insert(*window->pid);
        }
        QString name = desktopEntries.name(window->className, window->instanceName);
        if (name.isEmpty())
            name = !window->className.isEmpty() ? window->className : window->instanceName;
        if (!name.isEmpty())
            result.append(name);
    }
    return result;
}

QList<RunningTask> tasks(const QStringList &names)
{
    QList<RunningTask> result;
    for (const QString &name : names) {
        if (name.isEmpty() || ProcessTables::ignoredApplications().contains(name))
            continue;
        RunningTask task;
        task.name = name;
        task.isGUIApp = true;
        if (const auto label = ProcessTables::aiApplications().constFind(name);
            label != ProcessTables::aiApplications().cend()) {
            task.displayName = *label;
            task.category = TaskCategory::AIAgent;
        } else {
            task.displayName = name + QStringLiteral(" — running");
            task.category = TaskCategory::App;
        }
        result.append(task);
    }
    return result;
}

} // namespace GuiApplications
