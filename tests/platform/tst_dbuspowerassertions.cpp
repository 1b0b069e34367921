#include "platform/linux/dbuspowerassertions.h"
#include "standins/fakelogind.h"
#include "standins/fakeportalinhibit.h"
#include "standins/fakescreensaver.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QTest>

using Kind = PowerAssertions::Kind;
using Id = PowerAssertions::Id;

Q_DECLARE_METATYPE(PowerAssertions::Kind)

namespace {
bool isOnBus(const QDBusConnection &bus, const QString &name)
{
    return bus.interface()->isServiceRegistered(name).value();
}

const QStringList sessionNames = {QStringLiteral("org.freedesktop.ScreenSaver"),
                                  QStringLiteral("org.freedesktop.PowerManagement"),
                                  QStringLiteral("org.freedesktop.portal.Desktop")};
} // namespace

// The inhibitor backends against stand-ins on the private session and system
// buses. The stand-ins answer on this thread: the backend never waits.
class TestDBusPowerAssertions : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<DBusPowerAssertions> m_assertions;
    std::unique_ptr<QSignalSpy> m_granted;
    std::unique_ptr<QSignalSpy> m_refused;

    // Asks and waits for the answer; 0 when refused.
    Id grantedId(Kind kind, const QString &name = QStringLiteral("reason"))
    {
        const Id id = m_assertions->request(kind, name);
        // Never answered inside the call.
        if (!m_granted->isEmpty() || !m_refused->isEmpty())
            return 0;
        if (!QTest::qWaitFor([this] { return !m_granted->isEmpty() || !m_refused->isEmpty(); },
                             3 * DBusPowerAssertions::replyTimeoutMs + 2000))
            return 0;
        const bool granted = !m_granted->isEmpty();
        const Id answered = (granted ? m_granted : m_refused)->takeFirst().at(0).value<Id>();
        return answered == id && granted ? id : 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet("DBUS_SYSTEM_BUS_ADDRESS"),
                 "run inside scripts/with-session: the system bus must be a private one");
        QVERIFY(QDBusConnection::sessionBus().isConnected());
        QVERIFY(QDBusConnection::systemBus().isConnected());
    }

    void init()
    {
        // A stand-in of the previous case may still be leaving the bus.
        for (const QString &name : sessionNames)
            QTRY_VERIFY(!isOnBus(QDBusConnection::sessionBus(), name));
        QTRY_VERIFY(
            !isOnBus(QDBusConnection::systemBus(), QStringLiteral("org.freedesktop.login1")));
        m_assertions = std::make_unique<DBusPowerAssertions>();
        m_granted = std::make_unique<QSignalSpy>(m_assertions.get(), &PowerAssertions::granted);
        m_refused = std::make_unique<QSignalSpy>(m_assertions.get(), &PowerAssertions::refused);
    }

    void cleanup()
    {
        m_granted.reset();
        m_refused.reset();
        m_assertions.reset();
    }

    void screenSaverIsAskedFirst()
    {
        FakeScreenSaver screenSaver;
        FakePowerManagement powerManager;
        QVERIFY(screenSaver.publish());
        QVERIFY(powerManager.publish());

        const Id id = grantedId(Kind::Display, QStringLiteral("keeping display awake"));
        QVERIFY(id != 0);
        const auto inhibitions = screenSaver.inhibitions();
        QCOMPARE(inhibitions.size(), 1);
        const uint cookie = inhibitions.keys().constFirst();
        QCOMPARE(inhibitions.value(cookie).application, QStringLiteral("Vostrel"));
        QCOMPARE(inhibitions.value(cookie).reason, QStringLiteral("keeping display awake"));
        QVERIFY(powerManager.inhibitions().isEmpty());

        m_assertions->release(id);
        QTRY_COMPARE(screenSaver.uninhibited(), QList<uint>{cookie});
        // A second release, or one of an id never handed out, sends nothing.
        m_assertions->release(id);
        m_assertions->release(id + 100);
        const Id again = grantedId(Kind::Display);
        QVERIFY(again != 0 && again != id);
        m_assertions->release(again);
        QTRY_COMPARE(screenSaver.uninhibited().size(), 2);
    }

    void powerManagerWithoutScreenSaver()
    {
        // Xfce: xfce4-power-manager and nothing else.
        FakePowerManagement powerManager;
        QVERIFY(powerManager.publish());

        const Id id = grantedId(Kind::Display);
        QVERIFY(id != 0);
        QCOMPARE(powerManager.inhibitions().size(), 1);
        m_assertions->release(id);
        QTRY_COMPARE(powerManager.uninhibited().size(), 1);
        QVERIFY(powerManager.inhibitions().isEmpty());
    }

    void portalWhenNothingElse()
    {
        FakePortalInhibit portal;
        QVERIFY(portal.publish());

        const Id id = grantedId(Kind::Display);
        QVERIFY(id != 0);
        QCOMPARE(portal.inhibitions().size(), 1);
        QCOMPARE(portal.inhibitions().at(0).flags, 4u | 8u); // suspend and idle
        m_assertions->release(id);
        QTRY_VERIFY(portal.inhibitions().at(0).isClosed);
    }

    void sleepInhibitorSeenByLogind()
    {
        FakeLogind logind;
        QVERIFY(logind.publish());

        const Id id = grantedId(Kind::System, QStringLiteral("preventing system sleep"));
        QVERIFY(id != 0);
        const auto inhibitors = logind.inhibitors();
        QCOMPARE(inhibitors.size(), 1);
        QCOMPARE(inhibitors.at(0).what, QStringLiteral("idle:sleep"));
        QCOMPARE(inhibitors.at(0).mode, QStringLiteral("block"));
        QVERIFY(!logind.isReleased(0));

        m_assertions->release(id);
        QTRY_VERIFY(logind.isReleased(0));
    }

    void nothingOnTheBusRefusesSayingWhy_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addRow("display") << Kind::Display;
        QTest::addRow("system") << Kind::System;
    }

    void nothingOnTheBusRefusesSayingWhy()
    {
        QFETCH(Kind, kind);
        const Id id = m_assertions->request(kind, QStringLiteral("nobody listens"));
        QVERIFY(m_refused->wait());
        QVERIFY(m_granted->isEmpty());
        QCOMPARE(m_refused->at(0).at(0).value<Id>(), id);
        QVERIFY(!m_refused->at(0).at(1).toString().isEmpty());
    }

    void hungScreenSaverIsPassedOver()
    {
        FakeScreenSaver screenSaver;
        FakePowerManagement powerManager;
        QVERIFY(screenSaver.publish());
        QVERIFY(powerManager.publish());
        screenSaver.setHung(true);

        QVERIFY(grantedId(Kind::Display) != 0);
        QCOMPARE(powerManager.inhibitions().size(), 1);
    }

    void grantAfterReleaseIsLetGo()
    {
        FakeScreenSaver screenSaver;
        QVERIFY(screenSaver.publish());
        screenSaver.setHung(true);
        const Id id = m_assertions->request(Kind::Display, QStringLiteral("late"));
        QTRY_COMPARE(screenSaver.heldBack(), 1);

        // Withdrawn while the screen saver still thinks it over.
        m_assertions->release(id);
        screenSaver.answerHeldBack();
        QTRY_COMPARE(screenSaver.uninhibited().size(), 1);
        QVERIFY(screenSaver.inhibitions().isEmpty());
        QVERIFY(m_granted->isEmpty());
        QVERIFY(m_refused->isEmpty());
    }

    void releaseAfterServiceVanished()
    {
        FakeScreenSaver screenSaver;
        FakeLogind logind;
        QVERIFY(screenSaver.publish());
        QVERIFY(logind.publish());
        const Id display = grantedId(Kind::Display);
        const Id system = grantedId(Kind::System);
        QVERIFY(display != 0 && system != 0);

        screenSaver.vanish();
        logind.vanish();
        QTRY_VERIFY(!isOnBus(QDBusConnection::sessionBus(), sessionNames.at(0)));
        m_assertions->release(display);
        m_assertions->release(system);
        QTRY_VERIFY(logind.isReleased(0));
        QCOMPARE(grantedId(Kind::Display), Id(0));
    }

    void destroyedBackendLetsGoOfEverything()
    {
        FakePowerManagement powerManager;
        FakeLogind logind;
        QVERIFY(powerManager.publish());
        QVERIFY(logind.publish());
        QVERIFY(grantedId(Kind::Display) != 0);
        QVERIFY(grantedId(Kind::System) != 0);
        QVERIFY(!logind.isReleased(0));
        cleanup();
        QTRY_VERIFY(logind.isReleased(0));
        QTRY_VERIFY(powerManager.inhibitions().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDBusPowerAssertions)
#include "tst_dbuspowerassertions.moc"
