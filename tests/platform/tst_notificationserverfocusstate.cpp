#include "platform/linux/notificationserverfocusstate.h"
#include "standins/fakenotificationserver.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using Announce = FakeNotificationServer::Announce;

namespace {
bool isServerOnBus()
{
    return QDBusConnection::sessionBus()
        .interface()
        ->isServiceRegistered(QStringLiteral("org.freedesktop.Notifications"))
        .value();
}
} // namespace

// Do Not Disturb from the notification server's Inhibited property, against
// a stand-in server on the private session bus that comes and goes.
class TestNotificationServerFocusState : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeNotificationServer> m_server;

    void publishServer(bool inhibited)
    {
        m_server = std::make_unique<FakeNotificationServer>();
        m_server->setInhibited(inhibited, Announce::Not);
        QVERIFY(m_server->publish());
        QTRY_VERIFY(isServerOnBus());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet("DBUS_SYSTEM_BUS_ADDRESS"),
                 "run inside scripts/with-session: the session bus must be a private one");
        QVERIFY(QDBusConnection::sessionBus().isConnected());
    }

    void init() { QTRY_VERIFY(!isServerOnBus()); }

    void cleanup() { m_server.reset(); }

    void noServer()
    {
        NotificationServerFocusState state;
        QSignalSpy changed(&state, &FocusState::stateChanged);
        QVERIFY(!state.isFocusActive());
        // The failed first reading reports nothing.
        QVERIFY(!changed.wait(300));
        QVERIFY(!state.isFocusActive());
    }

    // Read at start, not reported: an inhibition that is already on is not
    // a change.
    void readsTheStateAtStartSilently()
    {
        publishServer(true);
        NotificationServerFocusState state;
        QSignalSpy changed(&state, &FocusState::stateChanged);
        QTRY_VERIFY(state.isFocusActive());
        QCOMPARE(changed.count(), 0);
    }

    void followsChanges_data()
    {
        QTest::addColumn<Announce>("announce");
        QTest::addRow("value in the signal") << Announce::WithValue;
        QTest::addRow("invalidated only") << Announce::Invalidated;
    }

    void followsChanges()
    {
        QFETCH(Announce, announce);
        publishServer(false);
        NotificationServerFocusState state;
        QSignalSpy changed(&state, &FocusState::stateChanged);

        m_server->setInhibited(true, announce);
        QVERIFY(changed.wait());
        QCOMPARE(changed.count(), 1);
        QVERIFY(state.isFocusActive());

        m_server->setInhibited(false, announce);
        QVERIFY(changed.wait());
        QCOMPARE(changed.count(), 2);
        QVERIFY(!state.isFocusActive());
    }

    // The server leaves while inhibited (a crash) and another takes its place.
    void serverVanishesAndReturns()
    {
        publishServer(false);
        NotificationServerFocusState state;
        QSignalSpy changed(&state, &FocusState::stateChanged);
        m_server->setInhibited(true);
        QVERIFY(changed.wait());
        QVERIFY(state.isFocusActive());

        m_server->vanish();
        QTRY_VERIFY(!state.isFocusActive());
        QCOMPARE(changed.count(), 1);

        // A stale signal of the old server cannot arrive; the new one is heard.
        m_server.reset();
        QTRY_VERIFY(!isServerOnBus());
        publishServer(true);
        QTRY_VERIFY(state.isFocusActive());
        QCOMPARE(changed.count(), 1);
        m_server->setInhibited(false);
        QVERIFY(changed.wait());
        QVERIFY(!state.isFocusActive());
        m_server->setInhibited(true);
        QVERIFY(changed.wait());
        QVERIFY(state.isFocusActive());
    }
};

QTEST_GUILESS_MAIN(TestNotificationServerFocusState)
#include "tst_notificationserverfocusstate.moc"
