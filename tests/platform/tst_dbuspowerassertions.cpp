#include "dbuspowerassertions.h"
#include "fakelogind.h"
#include "fakescreensaver.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include <memory>

using Kind = PowerAssertions::Kind;

Q_DECLARE_METATYPE(PowerAssertions::Kind)

namespace {
QString screenSaverName()
{
    return QStringLiteral("org.freedesktop.ScreenSaver");
}

QString logindName()
{
    return QStringLiteral("org.freedesktop.login1");
}

// Creation waits for the answer on the calling thread, so the stand-in has to
// answer from a thread of its own.
template<typename StandIn> class Hosted
{
public:
    Hosted()
    {
        m_standIn->moveToThread(&m_thread);
        m_thread.start();
    }
    ~Hosted()
    {
        m_standIn->vanish();
        m_thread.quit();
        m_thread.wait();
    }
    Q_DISABLE_COPY_MOVE(Hosted)

    StandIn *operator->() const { return m_standIn.get(); }

private:
    QThread m_thread;
    std::unique_ptr<StandIn> m_standIn = std::make_unique<StandIn>();
};

bool isOnBus(const QDBusConnection &bus, const QString &name)
{
    return bus.interface()->isServiceRegistered(name).value();
}
} // namespace

// The screen-saver and logind backends against stand-ins on the private
// session and system buses.
class TestDBusPowerAssertions : public QObject
{
    Q_OBJECT

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
        QTRY_VERIFY(!isOnBus(QDBusConnection::sessionBus(), screenSaverName()));
        QTRY_VERIFY(!isOnBus(QDBusConnection::systemBus(), logindName()));
    }

    void displayInhibitionSeenByScreenSaver()
    {
        Hosted<FakeScreenSaver> screenSaver;
        QVERIFY(screenSaver->publish());
        DBusPowerAssertions assertions;

        const auto id = assertions.create(Kind::Display, QStringLiteral("keeping display awake"));
        QVERIFY(id.has_value());
        QVERIFY(*id != 0);
        const auto inhibitions = screenSaver->inhibitions();
        QCOMPARE(inhibitions.size(), 1);
        const uint cookie = inhibitions.keys().constFirst();
        QCOMPARE(inhibitions.value(cookie).application, QStringLiteral("Vostrel"));
        QCOMPARE(inhibitions.value(cookie).reason, QStringLiteral("keeping display awake"));

        assertions.release(*id);
        QTRY_COMPARE(screenSaver->uninhibited(), QList<uint>{cookie});
        QVERIFY(screenSaver->inhibitions().isEmpty());

        // A second release, or one of an id never handed out, sends nothing.
        assertions.release(*id);
        assertions.release(*id + 100);
        const auto again = assertions.create(Kind::Display, QStringLiteral("again"));
        QVERIFY(again.has_value());
        QVERIFY(*again != *id);
        assertions.release(*again);
        QTRY_COMPARE(screenSaver->uninhibited().size(), 2);
    }

    void sleepInhibitorSeenByLogind()
    {
        Hosted<FakeLogind> logind;
        QVERIFY(logind->publish());
        DBusPowerAssertions assertions;

        const auto id = assertions.create(Kind::System, QStringLiteral("preventing system sleep"));
        QVERIFY(id.has_value());
        QVERIFY(*id != 0);
        const auto inhibitors = logind->inhibitors();
        QCOMPARE(inhibitors.size(), 1);
        QCOMPARE(inhibitors.at(0).what, QStringLiteral("idle:sleep"));
        QCOMPARE(inhibitors.at(0).who, QStringLiteral("Vostrel"));
        QCOMPARE(inhibitors.at(0).why, QStringLiteral("preventing system sleep"));
        QCOMPARE(inhibitors.at(0).mode, QStringLiteral("block"));
        QVERIFY(!logind->isReleased(0));

        assertions.release(*id);
        QTRY_VERIFY(logind->isReleased(0));
    }

    void absentServiceRefuses_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addRow("display") << Kind::Display;
        QTest::addRow("system") << Kind::System;
    }

    void absentServiceRefuses()
    {
        QFETCH(Kind, kind);
        DBusPowerAssertions assertions;
        QVERIFY(!assertions.create(kind, QStringLiteral("nobody listens")).has_value());
    }

    void hungScreenSaverRefusesWithinAMoment()
    {
        Hosted<FakeScreenSaver> screenSaver;
        QVERIFY(screenSaver->publish());
        screenSaver->setHung(true);
        DBusPowerAssertions assertions;

        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(!assertions.create(Kind::Display, QStringLiteral("hung")).has_value());
        // D-Bus would otherwise wait 25 s, far too long to hold up a lock.
        QVERIFY2(elapsed.elapsed() < 5000, qPrintable(QString::number(elapsed.elapsed())));
    }

    void releaseAfterServiceVanished_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addRow("display") << Kind::Display;
        QTest::addRow("system") << Kind::System;
    }

    void releaseAfterServiceVanished()
    {
        QFETCH(Kind, kind);
        Hosted<FakeScreenSaver> screenSaver;
        Hosted<FakeLogind> logind;
        QVERIFY(screenSaver->publish());
        QVERIFY(logind->publish());
        DBusPowerAssertions assertions;
        const auto id = assertions.create(kind, QStringLiteral("held"));
        QVERIFY(id.has_value());

        screenSaver->vanish();
        logind->vanish();
        QTRY_VERIFY(!isOnBus(QDBusConnection::sessionBus(), screenSaverName()));
        QTRY_VERIFY(!isOnBus(QDBusConnection::systemBus(), logindName()));

        assertions.release(*id);
        if (kind == Kind::System)
            QTRY_VERIFY(logind->isReleased(0));
        QVERIFY(!assertions.create(kind, QStringLiteral("gone")).has_value());
    }

    void restartedScreenSaverNeverSeesAnOldCookie()
    {
        DBusPowerAssertions assertions;
        std::optional<PowerAssertions::Id> old;
        {
            Hosted<FakeScreenSaver> first;
            QVERIFY(first->publish());
            old = assertions.create(Kind::Display, QStringLiteral("before the restart"));
            QVERIFY(old.has_value());
        }
        QTRY_VERIFY(!isOnBus(QDBusConnection::sessionBus(), screenSaverName()));

        Hosted<FakeScreenSaver> second;
        QVERIFY(second->publish());
        // The new instance numbers its cookies from the start again.
        const auto current = assertions.create(Kind::Display, QStringLiteral("after the restart"));
        QVERIFY(current.has_value());
        QCOMPARE(second->inhibitions().keys(), QList<uint>{1});

        assertions.release(*old);
        assertions.release(*current);
        // Messages from one connection arrive in order: once the second release
        // is in, the first would have been too.
        QTRY_COMPARE(second->uninhibited(), QList<uint>{1});
    }

    void destroyedBackendLetsGoOfEverything()
    {
        Hosted<FakeScreenSaver> screenSaver;
        Hosted<FakeLogind> logind;
        QVERIFY(screenSaver->publish());
        QVERIFY(logind->publish());
        {
            DBusPowerAssertions assertions;
            QVERIFY(assertions.create(Kind::Display, QStringLiteral("display")).has_value());
            QVERIFY(assertions.create(Kind::System, QStringLiteral("system")).has_value());
            QVERIFY(!logind->isReleased(0));
        }
        QTRY_VERIFY(logind->isReleased(0));
        QTRY_VERIFY(screenSaver->inhibitions().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDBusPowerAssertions)
#include "tst_dbuspowerassertions.moc"
