#include "lockscreen/lockscreenapplication.h"
#include "weboverlay/weboverlaymodule.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QProcessEnvironment>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    // What the application is started with again should it die while
    // locked: the session's environment, not the platform chosen below.
    const QProcessEnvironment sessionEnvironment = QProcessEnvironment::systemEnvironment();
    // The lock surfaces are this process's own Wayland objects; Qt draws
    // into images for them and shows no window of its own anywhere.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    // The application's end of the channel going away must not kill us
    // while we write: the lock is left to the compositor instead.
    std::signal(SIGPIPE, SIG_IGN);
    prepareWebEngine();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("vostrel"));
    QGuiApplication::setOrganizationDomain(QStringLiteral("vostrel.app"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Vostrel's lock screen. Vostrel starts it when it locks."));
    const QCommandLineOption channel(QStringLiteral("channel-fd"),
                                     QStringLiteral("The descriptor of the channel to Vostrel."),
                                     QStringLiteral("fd"));
    parser.addOption(channel);
    const QCommandLineOption withoutWebPages(
        QStringLiteral("without-web-pages"),
        QStringLiteral("Show the default theme's layout instead of a web theme's page."));
    parser.addOption(withoutWebPages);
    parser.addHelpOption();
    parser.process(app);
    bool ok = false;
    const int descriptor = parser.value(channel).toInt(&ok);
    if (!ok || descriptor < 0) {
        std::fputs("vostrel-lockscreen: Vostrel starts this program when it locks; "
                   "it is not run by hand.\n",
                   stderr);
        return 2;
    }
    LockScreenApplication lockScreen(
        {descriptor, !parser.isSet(withoutWebPages), sessionEnvironment});
    return QGuiApplication::exec();
}
