#include "platform/linux/portalkeygrabber.h"
#include "standins/fakeglobalshortcuts.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {
constexpr quint16 keyL = 37;
constexpr quint16 keyF5 = 96;
constexpr quint64 control = 0x40000;
constexpr quint64 option = 0x80000;
constexpr quint64 command = 0x100000;
const QString lock = QStringLiteral("lock");

// Counts the portal's key signals on the connection the grabber listens on:
// once it has seen them all, so has the grabber.
class KeySignalCounter : public QObject
{
    Q_OBJECT

public:
    KeySignalCounter()
    {
        for (const QString &name : {QStringLiteral("Activated"), QStringLiteral("Deactivated")})
            QDBusConnection::sessionBus().connect(
                QStringLiteral("org.freedesktop.portal.Desktop"),
                QStringLiteral("/org/freedesktop/portal/desktop"),
                QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), name, this,
                SLOT(count()));
    }
    int signals = 0;

public Q_SLOTS:
    void count() { ++signals; }
};
} // namespace

// The GlobalShortcuts backend against a stand-in portal on the private
// session bus.
class TestPortalKeyGrabber : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QTRY_VERIFY(!QDBusConnection::sessionBus()
                         .interface()
                         ->isServiceRegistered(QStringLiteral("org.freedesktop.portal.Desktop"))
                         .value());
    }

    void offeredOnlyByAPortalWithGlobalShortcuts()
    {
        QVERIFY(!PortalKeyGrabber::isOffered());
        // The question blocks: the portal answers from a thread of its own.
        QThread thread;
        FakeGlobalShortcuts portal;
        portal.moveToThread(&thread);
        thread.start();
        QVERIFY(portal.publish());
        const bool isOffered = PortalKeyGrabber::isOffered();
        portal.vanish();
        thread.quit();
        thread.wait();
        QVERIFY(isOffered);
    }

    void bindsTheLockShortcutAndReportsItsPresses()
    {
        FakeGlobalShortcuts portal;
        QVERIFY(portal.publish());
        PortalKeyGrabber grabber;
        QVERIFY(grabber.isGlobalGrabSupported());
        QSignalSpy activated(&grabber, &KeyGrabber::activated);
        KeySignalCounter counter;

        QCOMPARE(grabber.grab(keyL, command), KeyGrabber::GrabResult::Grabbed);
        QTRY_COMPARE(portal.bindings().size(), 1);
        QCOMPARE(portal.sessions().size(), 1);
        const QString session = portal.sessions().at(0);
        QCOMPARE(portal.bindings().at(0).session, session);
        QCOMPARE(portal.bindings().at(0).id, lock);
        QCOMPARE(portal.bindings().at(0).description, QStringLiteral("Lock the screen"));
        QCOMPARE(portal.bindings().at(0).trigger, QStringLiteral("LOGO+L"));

        // Another client's session, another shortcut, then ours held down
        // (repeating), released and pressed again.
        portal.press(QStringLiteral("/org/freedesktop/portal/desktop/session/1_9/other"), lock);
        portal.press(session, QStringLiteral("other"));
        portal.press(session, lock);
        portal.press(session, lock);
        portal.release(session, lock);
        portal.press(session, lock);
        QTRY_COMPARE(counter.signals, 6);
        QCOMPARE(activated.count(), 2);

        // A new combination replaces the session; ungrab closes it.
        QCOMPARE(grabber.grab(keyF5, control | option), KeyGrabber::GrabResult::Grabbed);
        QTRY_COMPARE(portal.bindings().size(), 2);
        QCOMPARE(portal.closedSessions(), QStringList{session});
        QCOMPARE(portal.bindings().at(1).trigger, QStringLiteral("CTRL+ALT+F5"));
        const QString second = portal.sessions().at(1);
        QCOMPARE(portal.bindings().at(1).session, second);
        grabber.ungrab();
        QTRY_COMPARE(portal.closedSessions(), (QStringList{session, second}));
        portal.release(second, lock);
        portal.press(second, lock);
        QTRY_COMPARE(counter.signals, 8);
        QCOMPARE(activated.count(), 2);

        // Given up before the portal answered: the late session is closed.
        QCOMPARE(grabber.grab(keyL, command), KeyGrabber::GrabResult::Grabbed);
        grabber.ungrab();
        QTRY_COMPARE(portal.closedSessions().size(), 3);
        QCOMPARE(portal.closedSessions().at(2), portal.sessions().at(2));
        QCOMPARE(portal.bindings().size(), 2);
    }

    void unknownKeyIsRefusedAtOnce()
    {
        PortalKeyGrabber grabber;
        QCOMPARE(grabber.grab(0xffff, command), KeyGrabber::GrabResult::UnsupportedKey);
    }
};

QTEST_GUILESS_MAIN(TestPortalKeyGrabber)
#include "tst_portalkeygrabber.moc"
