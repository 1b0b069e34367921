#pragma once

#include "platform/applicationwindows.h"
#include "tasks/runningtask.h"

#include <QList>
#include <QStringList>

class DesktopEntryIndex;

// The open applications the lock screen lists: one per process that shows a
// window a taskbar would show.
namespace GuiApplications {

// What a taskbar shows: normal windows and dialogs that stand alone (a
// window with no declared type counts as normal, or as a dialog when it
// belongs to another), unless the window asks to be left off the taskbar.
// The first known type decides, as the declared list is in order of
// preference.
[[nodiscard]] bool isRegular(const ApplicationWindows::Window &window);

// The names of the applications behind the regular windows, in client-list
// order: the matching .desktop entry's Name, else the window class, else the
// instance name. A process with several windows is one application; a
// window that does not say its process counts on its own. Windows of
// ownPid, windows without any name and windows that closed while being
// read are left out. Blocks while the window source does.
[[nodiscard]] QStringList names(ApplicationWindows &windows, qint64 ownPid,
                                DesktopEntryIndex &desktopEntries);

// One task per name, in order, without the ignored applications; the known
// AI applications as agents, every other one as an app. Not de-duplicated:
// two running instances are two tasks.
[[nodiscard]] QList<RunningTask> tasks(const QStringList &names);

} // namespace GuiApplications
