#include "platform/wayland/idlenotifytimesource.h"

#include <QProcess>
#include <QTest>

#include <optional>

namespace {
// The source answers before the call returns.
double idleSeconds(IdleNotifyTimeSource &source)
{
    std::optional<double> seconds;
    source.queryIdleSeconds([&seconds](double s) { seconds = s; });
    return seconds.value_or(-1);
}

class DisplayOverride
{
public:
    explicit DisplayOverride(const QByteArray &display)
        : m_saved(qgetenv("WAYLAND_DISPLAY"))
    {
        qputenv("WAYLAND_DISPLAY", display);
    }
    ~DisplayOverride() { qputenv("WAYLAND_DISPLAY", m_saved); }
    Q_DISABLE_COPY_MOVE(DisplayOverride)

private:
    QByteArray m_saved;
};
} // namespace

// Against a headless sway started by on-sway.sh: $WAYLAND_DISPLAY is the
// absolute path of its socket, $VOSTREL_TEST_ROOT the Debian root it runs in.
class TestIdleNotifyTimeSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void idleTimeGrowsAndInputResetsIt()
    {
        const std::unique_ptr<IdleNotifyTimeSource> source = IdleNotifyTimeSource::connect();
        QVERIFY(source);
        QTRY_VERIFY_WITH_TIMEOUT(idleSeconds(*source) > 1.0, 10000);
        const double first = idleSeconds(*source);
        QTRY_VERIFY(idleSeconds(*source) > first + 0.3);

        // wtype's new virtual keyboard needs a moment before its keys count.
        const QString root = qEnvironmentVariable("VOSTREL_TEST_ROOT");
        QProcess wtype;
        wtype.setProcessChannelMode(QProcess::ForwardedChannels);
        wtype.start(QStringLiteral("chroot"),
                    {root, QStringLiteral("env"),
                     QStringLiteral("WAYLAND_DISPLAY=") +
                         qEnvironmentVariable("WAYLAND_DISPLAY").mid(root.size() - 1),
                     QStringLiteral("wtype"), QStringLiteral("-s"), QStringLiteral("300"),
                     QStringLiteral("a")});
        QTRY_COMPARE_WITH_TIMEOUT(idleSeconds(*source), 0.0, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(wtype.state() == QProcess::NotRunning, 15000);
        QCOMPARE(wtype.exitCode(), 0);
        // And counts again once the keys stop.
        QTRY_VERIFY_WITH_TIMEOUT(idleSeconds(*source) > 1.0, 10000);
    }

    void noSourceWhereNoneIsOffered()
    {
        {
            const DisplayOverride none("");
            QVERIFY(!IdleNotifyTimeSource::connect());
        }
        {
            const DisplayOverride absent("/nonexistent/wayland-9");
            QVERIFY(!IdleNotifyTimeSource::connect());
        }
        const QByteArray old = qgetenv("VOSTREL_TEST_OLD_SWAY");
        if (old.isEmpty())
            QSKIP("no sway older than 1.8 on this system");
        const DisplayOverride oldSway(old);
        QVERIFY(!IdleNotifyTimeSource::connect());
    }
};

QTEST_GUILESS_MAIN(TestIdleNotifyTimeSource)
#include "tst_idlenotifytimesource.moc"
