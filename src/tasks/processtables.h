#pragma once

#include <QHash>
#include <QSet>
#include <QString>

// The names the task monitor recognises. Lookups are exact and
// case-sensitive: process names are lower-cased before they are looked up,
// application names are not. Built once, read-only afterwards, so both the
// worker thread and the main thread may read them.
namespace ProcessTables {

// Process name → what the lock screen says about it.
[[nodiscard]] const QHash<QString, QString> &aiProcesses();
// Application name → what the lock screen says about it.
[[nodiscard]] const QHash<QString, QString> &aiApplications();
[[nodiscard]] const QSet<QString> &buildProcesses();
[[nodiscard]] const QSet<QString> &devToolProcesses();
// Applications never listed, Vostrel among them.
[[nodiscard]] const QSet<QString> &ignoredApplications();
// The tools whose CPU share is shown as their progress.
[[nodiscard]] const QSet<QString> &progressTools();

} // namespace ProcessTables
