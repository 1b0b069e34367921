#include "application.h"

#include "appdelegate.h"
#include "automationactions.h"
#include "buildinfo.h"
#include "commandline.h"
#include "dbusautomationclient.h"
#include "dbusautomationservice.h"
#include "keepawakemanager.h"
#include "overlaymanager.h"
#include "pinmanager.h"
#include "processcrashguard.h"
#include "weboverlaymodule.h"

#include <QApplication>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace {
bool hasGraphicalSession()
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

bool hasVisibleWindows()
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.cbegin(), windows.cend(),
                       [](const QWindow *window) { return window->isVisible(); });
}
} // namespace

namespace Application {

int run(int argc, char *argv[], const CommandLine &commandLine)
{
    if (!hasGraphicalSession()) {
        std::fputs("vostrel: no graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set.\n"
                   "Start Vostrel from your desktop session, or use 'vostrel --help' for the\n"
                   "commands that talk to a running instance.\n",
                   stderr);
        return 1;
    }

    // Before the application object; starts no web engine by itself.
    prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vostrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vostrel"));
    QApplication::setApplicationVersion(QLatin1String(BuildInfo::version));
    QApplication::setOrganizationDomain(QStringLiteral("vostrel.app"));
    QGuiApplication::setDesktopFileName(QStringLiteral("app.vostrel.Vostrel"));
    // The application lives in the tray and behind its lock, not in a window.
    QApplication::setQuitOnLastWindowClosed(false);

    // One instance per session: launching again brings the running one forward.
    // After a crash the guard expects the lock back up, whoever raises it.
    const QString request =
        commandLine.isRelock() ? QStringLiteral("LockScreen") : QStringLiteral("Activate");
    if (DBusAutomationClient::call(request).delivered) {
        if (commandLine.isRelock())
            ProcessCrashGuard::relieveGuardThatStartedUs();
        else
            std::fputs("Vostrel is already running.\n", stdout);
        return 0;
    }

    OverlayManager::shared().setWindowed(commandLine.isWindowed());
    AppDelegate delegate;
    AutomationActions actions(OverlayManager::shared(), PINManager::shared(),
                              KeepAwakeManager::shared());
    actions.setReopenHandler(
        [&delegate] { delegate.applicationShouldHandleReopen(hasVisibleWindows()); });
    DBusAutomationService service(actions);
    if (!service.registerOnSessionBus()) {
        std::fprintf(stderr, "vostrel: scripts cannot reach this instance: %s\n",
                     qPrintable(service.errorString()));
    }

    delegate.applicationDidFinishLaunching();
    if (commandLine.isRelock()) {
        // The panels are mapped once lock() returns; only then may the guard
        // that covered for us let go.
        OverlayManager::shared().lock();
        ProcessCrashGuard::relieveGuardThatStartedUs();
    }
    const int status = QApplication::exec();
    OverlayManager::shared().deactivate();
    return status;
}

} // namespace Application
