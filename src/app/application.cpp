#include "app/application.h"

#include "app/appdelegate.h"
#include "app/buildinfo.h.in"
#include "app/commandline.h"
#include "integrations/automationactions.h"
#include "overlay/overlaymanager.h"
#include "overlay/pinmanager.h"
#include "platform/linux/dbusautomationclient.h"
#include "platform/linux/dbusautomationservice.h"
#include "platform/linux/desktopnotifier.h"
#include "platform/linux/processcrashguard.h"
#include "platform/linux/x11lockwindowguard.h"
#include "settings/onboardingwindowcontroller.h"
#include "settings/settingswindowcontroller.h"
#include "tray/trayicon.h"
#include "tray/traymodel.h"
#include "triggers/keepawakemanager.h"
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

bool hasVisibleWindows()
{
    // Our own windows only: an XEmbed tray icon and the tray panel are
    // top-level windows too, and must not stop a relaunch from reopening.
    return SettingsWindowController::shared().isVisible() ||
           OnboardingWindowController::shared().isVisible() ||
           OverlayManager::shared().isOverlayActive();
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

    OverlayManager::shared().setWindowed(commandLine.isWindowed());
    AppDelegate delegate;
    AutomationActions actions(OverlayManager::shared(), PINManager::shared(),
                              KeepAwakeManager::shared());
    actions.setReopenHandler([&delegate] { delegate.reopen(hasVisibleWindows()); });
    DBusAutomationService service(actions);
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

    QObject::connect(&delegate, &AppDelegate::settingsWindowRequested, &delegate,
                     [] { SettingsWindowController::shared().show(SettingsPage::general); });
    QObject::connect(&delegate, &AppDelegate::onboardingRequested, &delegate,
                     [](bool pinNeeded) { OnboardingWindowController::shared().show(pinNeeded); });
    QObject::connect(&delegate, &AppDelegate::securityPageRequested, &delegate,
                     [] { SettingsWindowController::shared().show(SettingsPage::security); });
    DesktopNotifier notifier;
    QObject::connect(
        &delegate, &AppDelegate::lockRefused, &notifier,
        [&notifier](const QString &message) { notifier.show(QStringLiteral("Vostrel"), message); });
    delegate.setLaunchedInBackground(commandLine.isBackground());
    delegate.start();
    if (TrayIcon *statusBar = delegate.trayIcon()) {
        statusBar->setSettingsOpener([](TrayModel::SettingsPage page) {
            SettingsWindowController::shared().show(page == TrayModel::SettingsPage::About
                                                        ? SettingsPage::about
                                                        : SettingsPage::general);
        });
    }
    QObject::connect(&ProcessCrashGuard::shared(), &ProcessCrashGuard::coverWindowCreated,
                     &X11LockWindowGuard::shared(), &X11LockWindowGuard::setCrashCover);
    if (commandLine.isRelock()) {
        // The panels are mapped once lock() returns; only then may the guard
        // that covered for us let go.
        OverlayManager::shared().takeOverFromCrashGuard(
            &ProcessCrashGuard::relieveGuardThatStartedUs);
    }
    const int status = QApplication::exec();
    // A quit while locked lowers the lock as an unlock does, and stands the
    // crash guard down; a quit while unlocked must not sound or announce an
    // unlock that never happened.
    if (OverlayManager::shared().isOverlayActive())
        OverlayManager::shared().deactivate();
    return status;
}

} // namespace Application
