#include "overlay/lockchannel.h"
#include "overlay/lockmessage.h"
#include "overlay/lockscreenprocess.h"
#include "overlay/remotepinauthority.h"
#include "support/lockstack.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <sys/socket.h>

class TestLockScreenProcess : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LockStack> m_stack;
    std::unique_ptr<LockScreenProcess> m_process;
    QString m_log;

    void start(const QByteArray &scenario, const QByteArray &pins = {})
    {
        m_log = m_stack->dir.filePath(QStringLiteral("standin.log"));
        qputenv("STANDIN_LOG", m_log.toLocal8Bit());
        qputenv("STANDIN_SCENARIO", scenario);
        qputenv("STANDIN_PINS", pins);
        m_process = std::make_unique<LockScreenProcess>(
            m_stack->pins, QStringLiteral("python3"),
            QStringList{QFINDTESTDATA("standin-lockscreen.py")});
        m_stack->overlay.setWaylandSession(true);
        m_stack->overlay.setSessionLock(m_process.get());
    }

    QStringList logLines() const
    {
        QFile file(m_log);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private Q_SLOTS:
    void init() { m_stack = std::make_unique<LockStack>(); }
    void cleanup()
    {
        m_process.reset();
        m_stack.reset();
    }

    // The application counts the attempts and decides; the lock is reported
    // up only once the compositor confirmed it, and comes down on the PIN.
    void thePinTypedOnTheLockScreenIsCheckedByTheApplication()
    {
        start("lock", "0000,1234");
        m_stack->overlay.preparePanels();
        QVERIFY(!m_stack->overlay.lock());
        QVERIFY(!m_stack->overlay.isOverlayActive());
        QVERIFY(m_stack->overlay.builtPanels().isEmpty());
        QTRY_COMPARE(logLines().value(3), QStringLiteral("unlock"));
        QCOMPARE(logLines().mid(0, 3),
                 QStringList({QStringLiteral("start 1 web"), QStringLiteral("0000 False 1"),
                              QStringLiteral("1234 True 0")}));
        QCOMPARE(m_stack->posted,
                 QStringList({Event::keepAwakeStateChanged, Event::overlayDidActivate,
                              Event::overlayDidDeactivate}));
        QVERIFY(!m_stack->crashGuard.isRunning());
    }

    void aRefusedLockIsNeverReportedUp()
    {
        start("refuse");
        QSignalSpy failed(&m_stack->overlay, &OverlayManager::lockFailed);
        m_stack->overlay.lock();
        QVERIFY(failed.wait());
        QVERIFY(failed.first().first().toString().contains(QLatin1String("another screen locker")));
        QVERIFY(!m_stack->overlay.isOverlayActive());
        QVERIFY(!m_process->isLockWanted());
        QVERIFY(!m_stack->posted.contains(Event::overlayDidActivate));
    }

    // Killed while locked: a new process takes the lock over, without the web
    // page that may have killed the first, and it still unlocks with the PIN.
    void aNewLockScreenTakesOverAfterACrash()
    {
        start("die", "1234");
        m_stack->overlay.lock();
        QTRY_VERIFY(logLines().contains(QStringLiteral("unlock")));
        QVERIFY(logLines().contains(QStringLiteral("start 2 without-web-pages")));
        QVERIFY(logLines().contains(QStringLiteral("1234 True 0")));
        QCOMPARE(m_stack->posted.count(Event::overlayDidActivate), 1);
        QVERIFY(!m_stack->overlay.isOverlayActive());
    }

    // The other end sends something that is not a message: the channel closes.
    // A PIN check nobody answers is refused.
    void aBrokenOrSilentChannelRefusesThePin()
    {
        const auto pair = LockChannel::socketPair();
        QVERIFY(pair);
        LockChannel ours(pair->first);
        RemotePinAuthority remote(ours);
        QVERIFY(!remote.verifyPIN(QStringLiteral("1234")));
        QSignalSpy closed(&ours, &LockChannel::closed);
        QCOMPARE(::write(pair->second, "not json\n", 9), 9);
        QVERIFY(closed.wait());
        QVERIFY(!remote.verifyPIN(QStringLiteral("1234")));
        ::close(pair->second);
    }
};

QTEST_MAIN(TestLockScreenProcess)
#include "tst_lockscreenprocess.moc"
