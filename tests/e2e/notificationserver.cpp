// Stands in for the desktop's notification server during the end-to-end
// tests. Its Do Not Disturb is switched with dbus-send: Properties.Set of
// org.freedesktop.Notifications "Inhibited" on /org/freedesktop/Notifications.
#include "standins/fakenotificationserver.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    FakeNotificationServer server;
    if (!server.publish())
        return 1;
    return app.exec();
}
