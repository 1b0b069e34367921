// Stands in for the desktop's screen saver (session bus) and for logind
// (the bus in DBUS_SYSTEM_BUS_ADDRESS) during the end-to-end tests, and keeps
// a one-line account of the inhibitions in a file the test script reads:
//   screensaver-held=N screensaver-total=N logind-held=N logind-total=N powermanager-held=N
// With "power-manager-only" after the file it stands in for Xfce's power
// manager (org.freedesktop.PowerManagement.Inhibit) instead, and nothing else.
#include "standins/fakelogind.h"
#include "standins/fakescreensaver.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTimer>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString statePath = QString::fromLocal8Bit(argv[1]);

    FakeScreenSaver screenSaver;
    FakeLogind logind;
    FakePowerManagement powerManager;
    if (argc > 2 && qstrcmp(argv[2], "power-manager-only") == 0) {
        if (!powerManager.publish())
            return 1;
    } else if (!screenSaver.publish() || !logind.publish()) {
        return 1;
    }

    QTimer poll;
    QByteArray last;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        // The screen saver forgets an inhibition once it is released.
        const qsizetype screenSaverHeld = screenSaver.inhibitions().size();
        const qsizetype screenSaverTotal = screenSaverHeld + screenSaver.uninhibited().size();
        const auto inhibitors = logind.inhibitors();
        qsizetype logindHeld = 0;
        for (qsizetype i = 0; i < inhibitors.size(); ++i)
            logindHeld += logind.isReleased(i) ? 0 : 1;
        const QByteArray line =
            QStringLiteral("screensaver-held=%1 screensaver-total=%2 "
                           "logind-held=%3 logind-total=%4 powermanager-held=%5\n")
                .arg(screenSaverHeld)
                .arg(screenSaverTotal)
                .arg(logindHeld)
                .arg(inhibitors.size())
                .arg(powerManager.inhibitions().size())
                .toUtf8();
        if (line == last)
            return;
        QSaveFile file(statePath);
        if (file.open(QIODevice::WriteOnly) && file.write(line) == line.size() && file.commit())
            last = line;
    });
    poll.start(50);
    return app.exec();
}
