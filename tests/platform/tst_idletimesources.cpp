#include "platform/linux/mutteridletimesource.h"
#include "platform/linux/systemidletimesource.h"
#include "platform/linux/xcbidletimesource.h"
#include "standins/fakemutteridlemonitor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTest>

#include <memory>
#include <optional>

namespace {
bool isMutterOnBus()
{
    return QDBusConnection::sessionBus()
        .interface()
        ->isServiceRegistered(QStringLiteral("org.gnome.Mutter.IdleMonitor"))
        .value();
}

// Sets an environment variable for one scope.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char *name, const QByteArray &value)
        : m_name(name)
        , m_old(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
    {
        qputenv(name, value);
    }
    ~ScopedEnvironment()
    {
        if (m_old)
            qputenv(m_name, *m_old);
        else
            qunsetenv(m_name);
    }
    Q_DISABLE_COPY_MOVE(ScopedEnvironment)

private:
    const char *m_name;
    std::optional<QByteArray> m_old;
};

// The answer of a query, once it has come.
struct Answer
{
    std::optional<double> seconds;
    IdleTimeSource::Answer callback()
    {
        return [this](double s) {
            seconds = s;
        };
    }
};
} // namespace

// The X server's idle time on the session's Xvfb, and GNOME's idle monitor
// against a stand-in on the private session bus.
class TestIdleTimeSources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet("DBUS_SYSTEM_BUS_ADDRESS"),
                 "run inside scripts/with-session: a private X server and buses are needed");
    }

    void init() { QTRY_VERIFY(!isMutterOnBus()); }

    void x11IdleTimeGrowsAndInputResetsIt()
    {
        const std::optional<XcbIdleTimeSource> source = XcbIdleTimeSource::connect();
        QVERIFY(source);
        const std::optional<double> first = source->idleSeconds();
        QVERIFY(first);
        QTRY_VERIFY(*source->idleSeconds() > *first + 0.2);

        const double before = *source->idleSeconds();
        QCOMPARE(QProcess::execute(
                     QStringLiteral("xdotool"),
                     {QStringLiteral("mousemove"), QStringLiteral("17"), QStringLiteral("23")}),
                 0);
        QTRY_VERIFY(*source->idleSeconds() < before);
    }

    void mutterAnswers()
    {
        FakeMutterIdleMonitor mutter;
        mutter.setIdleMilliseconds(123456);
        QVERIFY(mutter.publish());
        MutterIdleTimeSource source;
        Answer answer;
        source.queryIdleSeconds(answer.callback());
        QTRY_VERIFY(answer.seconds);
        QCOMPARE(*answer.seconds, 123.456);
    }

    void mutterHungAnswersZero()
    {
        FakeMutterIdleMonitor mutter;
        mutter.setIdleMilliseconds(999999);
        mutter.setHung(true);
        QVERIFY(mutter.publish());
        MutterIdleTimeSource source;
        Answer answer;
        source.queryIdleSeconds(answer.callback());
        QTRY_VERIFY_WITH_TIMEOUT(answer.seconds, 10000);
        QCOMPARE(*answer.seconds, 0.0);
    }

    void mutterGoneBeforeTheAnswer()
    {
        FakeMutterIdleMonitor mutter;
        mutter.setIdleMilliseconds(5000);
        QVERIFY(mutter.publish());
        bool answered = false;
        {
            MutterIdleTimeSource source;
            source.queryIdleSeconds([&answered](double) { answered = true; });
        }
        QTRY_COMPARE(mutter.calls(), 1);
        QCoreApplication::processEvents();
        QVERIFY(!answered);
    }

    void systemSourceUsesX11InAnX11Session()
    {
        FakeMutterIdleMonitor mutter;
        mutter.setIdleMilliseconds(7'000'000);
        QVERIFY(mutter.publish());
        SystemIdleTimeSource source;
        QVERIFY(source.usesX11());
        Answer answer;
        source.queryIdleSeconds(answer.callback());
        QVERIFY(answer.seconds);
        QVERIFY(*answer.seconds < 7000);
        QCOMPARE(mutter.calls(), 0);
    }

    void systemSourceAsksGnomeInAWaylandSession()
    {
        const ScopedEnvironment session("XDG_SESSION_TYPE", "wayland");
        FakeMutterIdleMonitor mutter;
        mutter.setIdleMilliseconds(42'000);
        QVERIFY(mutter.publish());
        SystemIdleTimeSource source;
        QVERIFY(!source.usesX11());
        Answer answer;
        source.queryIdleSeconds(answer.callback());
        QTRY_VERIFY(answer.seconds);
        QCOMPARE(*answer.seconds, 42.0);
    }
};

QTEST_GUILESS_MAIN(TestIdleTimeSources)
#include "tst_idletimesources.moc"
