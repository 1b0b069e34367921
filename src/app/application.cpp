#include "app/application.h"

#include "core/buildinfo.h"
#include "app/commandline.h"
#include "app/vostrelapplication.h"
#include "overlay/overlaymanager.h"
#include "platform/linux/dbusautomationclient.h"
#include "platform/linux/dbusautomationservice.h"
#include "platform/linux/processcrashguard.h"
#include "weboverlay/weboverlaymodule.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {
bool hasGraphicalSession()
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

// The texts are written in English; the catalogue built in for the user's
// language, where there is one, replaces them. None found keeps English.
void installTranslation(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(), QStringLiteral("vostrel"), QStringLiteral("_"),
                         QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
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
    installTranslation(app);
    QApplication::setApplicationName(QStringLiteral("vostrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vostrel"));
    QApplication::setApplicationVersion(QLatin1String(BuildInfo::version));
    QApplication::setOrganizationDomain(QStringLiteral("vostrel.app"));
    QGuiApplication::setDesktopFileName(QStringLiteral("app.vostrel.Vostrel"));
    // The application lives in the tray and behind its lock, not in a window.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vostrel/vostrel.svg")));

    // One instance per session: launching again brings the running one forward.
    // After a crash the guard expects the lock back up, whoever raises it (a
    // refusal answers too: the guard is relieved and nothing locks). A start
    // on demand leaves a running instance as it is.
    const QString request = commandLine.isRelock()       ? QStringLiteral("LockScreen")
                            : commandLine.isBackground() ? QStringLiteral("GetStatus")
                                                         : QStringLiteral("Activate");
    if (DBusAutomationClient::call(request).delivered) {
        if (commandLine.isRelock())
            ProcessCrashGuard::relieveGuardThatStartedUs();
        else
            std::fputs("Vostrel is already running.\n", stdout);
        return 0;
    }

    VostrelApplication vostrel({commandLine.isWindowed(), commandLine.isBackground()});
    DBusAutomationService &service = vostrel.automationService();
    if (!service.registerOnSessionBus()) {
        // Another instance took the name since the check above: it is the one.
        if (service.isNameTaken() && DBusAutomationClient::call(request).delivered) {
            if (commandLine.isRelock())
                ProcessCrashGuard::relieveGuardThatStartedUs();
            return 0;
        }
        std::fprintf(stderr, "vostrel: scripts cannot reach this instance: %s\n",
                     qPrintable(service.errorString()));
    }

    vostrel.start();
    if (commandLine.isRelock()) {
        // The panels are mapped once lock() returns; only then may the guard
        // that covered for us let go.
        vostrel.overlay().takeOverFromCrashGuard(&ProcessCrashGuard::relieveGuardThatStartedUs);
    }
    const int status = QApplication::exec();
    // A quit while locked lowers the lock as an unlock does, and stands the
    // crash guard down; a quit while unlocked must not sound or announce an
    // unlock that never happened.
    if (vostrel.overlay().isOverlayActive())
        vostrel.overlay().deactivate();
    return status;
}

} // namespace Application
