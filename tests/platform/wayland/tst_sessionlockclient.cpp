#include "overlay/offscreenquickview.h"
#include "platform/wayland/sessionlockclient.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Runs against a headless sway with two outputs and a magenta desktop
// (on-sway.sh starts it). The functions run in order on one lock.
namespace {
const QRgb Desktop = qRgb(0xff, 0x00, 0xff);
const QRgb Cover = qRgb(0x10, 0x70, 0x30);
const char lockScene[] = R"(import QtQuick
Rectangle {
    property string output
    color: "#102040"
    Text { anchors.centerIn: parent; color: "white"; font.pixelSize: 64; text: "Locked " + output }
    Rectangle { anchors { bottom: parent.bottom; horizontalCenter: parent.horizontalCenter;
                bottomMargin: 100 } width: 400; height: 60; radius: 30; color: "#ff9900" }
})";

QImage solid(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Pixels of image whose colour is not colour.
qsizetype countOther(const QImage &image, QRgb colour)
{
    qsizetype count = 0;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            count += (line[x] & 0xffffff) != (colour & 0xffffff);
    }
    return count;
}

bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(15000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A screenshot of one output, taken with grim through the compositor.
QImage screenshot(const QString &output)
{
    QByteArray png;
    if (!run(QStringLiteral("grim"), {QStringLiteral("-o"), output, QStringLiteral("-")}, &png))
        return {};
    return QImage::fromData(png, "PNG");
}

// Waits (at most ten seconds) until the output shows only colour.
bool showsOnly(const QString &output, QRgb colour, QImage *last)
{
    QDeadlineTimer deadline(10000);
    do {
        *last = screenshot(output);
        if (!last->isNull() && countOther(*last, colour) == 0)
            return true;
        QTest::qWait(100);
    } while (!deadline.hasExpired());
    return false;
}

// A client program of the Debian root, started there against our
// compositor; the caller keeps the event loop running meanwhile, as the
// compositor waits for the lock client's answers.
void startInRoot(QProcess &process, const QString &program, const QStringList &arguments)
{
    const QString root = qEnvironmentVariable("VOSTREL_TEST_ROOT");
    // The root ends with a slash ("/" itself for the system's sway).
    const QString display = qEnvironmentVariable("WAYLAND_DISPLAY").mid(root.size() - 1);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QStringLiteral("chroot"),
                  QStringList{root, QStringLiteral("env"),
                              QStringLiteral("WAYLAND_DISPLAY=") + display, program} +
                      arguments);
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

private:
    QByteArray m_saved;
};
} // namespace

class TestSessionLockClient : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet("WAYLAND_DISPLAY") &&
                     qEnvironmentVariableIsSet("VOSTREL_TEST_ROOT"),
                 "run through on-sway.sh");
        m_shots = qEnvironmentVariable("VOSTREL_E2E_ARTIFACTS", QDir::currentPath());
    }

    void probesTheCompositor()
    {
        QVERIFY(SessionLockClient::compositorOffersSessionLock());
        {
            DisplayOverride none("/nonexistent/wayland-9");
            QVERIFY(!SessionLockClient::compositorOffersSessionLock());
            SessionLockClient client;
            QString error;
            QVERIFY(!client.connectToCompositor(&error));
            QVERIFY2(error.contains(QStringLiteral("/nonexistent/wayland-9")), qPrintable(error));
        }
        const QByteArray old = qgetenv("VOSTREL_TEST_OLD_SWAY");
        if (old.isEmpty()) {
            qInfo("No sway without a session lock on this system: not tried");
            return;
        }
        DisplayOverride sway17(old);
        QVERIFY(!SessionLockClient::compositorOffersSessionLock());
        SessionLockClient client;
        QString error;
        QVERIFY(!client.connectToCompositor(&error));
        QVERIFY2(error.contains(QStringLiteral("ext-session-lock-v1")), qPrintable(error));
    }

    void coversEveryOutput()
    {
        m_client = std::make_unique<SessionLockClient>();
        QString error;
        QVERIFY2(m_client->connectToCompositor(&error), qPrintable(error));
        QSignalSpy locked(m_client.get(), &SessionLockClient::locked);
        QSignalSpy configured(m_client.get(), &SessionLockClient::surfaceConfigured);
        m_client->lock();
        QTRY_COMPARE(configured.count(), 2);
        for (const QList<QVariant> &arguments : configured) {
            const int output = arguments.at(0).toInt();
            const QSize size = arguments.at(1).toSize();
            QVERIFY(!size.isEmpty());
            QCOMPARE(m_client->surfaceSize(output), size);
            m_client->present(output, solid(size, Cover), QRect(QPoint(), size));
        }
        QTRY_COMPARE(locked.count(), 1);
        QVERIFY(m_client->isLocked());
        QStringList names;
        for (int output : m_client->outputs())
            names << m_client->outputName(output);
        names.sort();
        QCOMPARE(names, QStringList({QStringLiteral("HEADLESS-1"), QStringLiteral("HEADLESS-2")}));
        for (const QString &name : names) {
            QImage shot;
            QVERIFY2(showsOnly(name, Cover, &shot),
                     qPrintable(QStringLiteral("%1: %2 pixels are not the lock's, %3 the desktop's")
                                    .arg(name)
                                    .arg(countOther(shot, Cover))
                                    .arg(shot.size().width() * shot.size().height() -
                                         countOther(shot, Desktop))));
        }
    }

    void drawsWhatChangedIntoEveryBuffer()
    {
        // A square moves in steps, each frame damaging only where it was
        // and where it goes: buffers that sat out some frames must catch up,
        // or old squares stay behind in the picture.
        const int output = m_client->outputs().constFirst();
        const QSize size = m_client->surfaceSize(output);
        QImage frame = solid(size, Cover);
        QRect square(10, 10, 40, 40);
        for (int step = 0; step < 8; ++step) {
            const QRect next = square.translated(50, 20);
            frame.fill(Cover);
            QPainter(&frame).fillRect(next, QColor(Desktop));
            m_client->present(output, frame, QRegion(square) + next);
            square = next;
            // Lets some buffer releases in; any timing must give the same picture.
            QTest::qWait(step % 3 == 0 ? 0 : 30);
        }
        QImage shot;
        QDeadlineTimer deadline(10000);
        do {
            shot = screenshot(m_client->outputName(output));
        } while (shot != frame.convertToFormat(shot.format()) && !deadline.hasExpired());
        QCOMPARE(countOther(shot, Cover), qsizetype(40 * 40));
        QCOMPARE(shot.pixel(square.center()), Desktop);
        m_client->present(output, solid(size, Cover), square);
    }

    void receivesTheKeys()
    {
        QSignalSpy pressed(m_client.get(), &SessionLockClient::keyPressed);
        // wtype's new virtual keyboard loses keys typed before the lock
        // client has its keymap: it waits 300 ms first.
        QProcess wtype;
        startInRoot(wtype, QStringLiteral("wtype"),
                    {QStringLiteral("-s"), QStringLiteral("300"), QStringLiteral("12")});
        QTRY_VERIFY_WITH_TIMEOUT(wtype.state() == QProcess::NotRunning, 15000);
        QCOMPARE(wtype.exitCode(), 0);
        QTRY_VERIFY(pressed.count() >= 2);
        QCOMPARE(pressed.at(0).at(0).toInt(), int(Qt::Key_1));
        QCOMPARE(pressed.at(0).at(1).toString(), QStringLiteral("1"));
        QCOMPARE(pressed.at(1).at(0).toInt(), int(Qt::Key_2));
        QCOMPARE(pressed.at(1).at(1).toString(), QStringLiteral("2"));
    }

    void coversAnOutputAddedDuringTheLock()
    {
        const QList<int> before = m_client->outputs();
        QSignalSpy configured(m_client.get(), &SessionLockClient::surfaceConfigured);
        QVERIFY(run(QStringLiteral("swaymsg"), {QStringLiteral("create_output")}));
        // The outputs there already may be configured again (the layout
        // changed); the new one is the one that matters.
        const auto added = [&] {
            for (const QList<QVariant> &arguments : configured) {
                if (!before.contains(arguments.at(0).toInt()))
                    return arguments;
            }
            return QList<QVariant>();
        };
        QTRY_VERIFY(!added().isEmpty());
        const int output = added().at(0).toInt();
        const QSize size = added().at(1).toSize();
        m_client->present(output, solid(size, Cover), QRect(QPoint(), size));
        QCOMPARE(m_client->outputs().size(), 3);
        QImage shot;
        QVERIFY2(showsOnly(m_client->outputName(output), Cover, &shot),
                 qPrintable(QString::number(countOther(shot, Cover))));
    }

    void drawsQtQuick()
    {
        QTemporaryDir dir;
        QFile qml(dir.filePath(QStringLiteral("Lock.qml")));
        QVERIFY(qml.open(QIODevice::WriteOnly));
        qml.write(lockScene);
        qml.close();
        QQmlEngine engine;
        std::vector<std::unique_ptr<OffscreenQuickView>> views;
        for (int output : m_client->outputs()) {
            auto view = std::make_unique<OffscreenQuickView>(&engine);
            connect(view.get(), &OffscreenQuickView::frameReady, m_client.get(),
                    [this, output](const QImage &frame, const QRegion &damage) {
                        m_client->present(output, frame, damage);
                    });
            QVERIFY2(view->setSource(QUrl::fromLocalFile(qml.fileName()),
                                     {{QStringLiteral("output"), m_client->outputName(output)}}),
                     qPrintable(view->errorString()));
            view->resize(m_client->surfaceSize(output));
            views.push_back(std::move(view));
        }
        const QString name = m_client->outputName(m_client->outputs().constFirst());
        QImage shot;
        QDeadlineTimer deadline(10000);
        do {
            QTest::qWait(100);
            shot = screenshot(name);
        } while (countOther(shot, qRgb(0xff, 0x99, 0x00)) == shot.width() * shot.height() &&
                 !deadline.hasExpired());
        QVERIFY(shot.save(m_shots + QStringLiteral("/sessionlock-qtquick.png")));
        const qsizetype pixels = shot.width() * shot.height();
        QVERIFY(pixels - countOther(shot, qRgb(0xff, 0x99, 0x00)) > 400 * 50);
        QVERIFY(pixels - countOther(shot, qRgb(0xff, 0xff, 0xff)) > 500); // the text
        QVERIFY(pixels - countOther(shot, qRgb(0x10, 0x20, 0x40)) > pixels / 2);
        QCOMPARE(pixels - countOther(shot, Desktop), 0);
    }

    void refusesASecondLock()
    {
        SessionLockClient second;
        QString error;
        QVERIFY2(second.connectToCompositor(&error), qPrintable(error));
        QSignalSpy finished(&second, &SessionLockClient::finished);
        QSignalSpy locked(&second, &SessionLockClient::locked);
        second.lock();
        QVERIFY(finished.wait());
        QCOMPARE(locked.count(), 0);
        QVERIFY(!second.isLocked());
        QVERIFY(m_client->isLocked());
    }

    void unlockShowsTheDesktop()
    {
        QSignalSpy finished(m_client.get(), &SessionLockClient::finished);
        m_client->unlockAndDestroy();
        QVERIFY(!m_client->isLocked());
        QImage shot;
        QVERIFY2(showsOnly(QStringLiteral("HEADLESS-1"), Desktop, &shot),
                 qPrintable(QString::number(countOther(shot, Desktop))));
        QCOMPARE(finished.count(), 0);
        m_client.reset();
    }

private:
    std::unique_ptr<SessionLockClient> m_client;
    QString m_shots;
};

QTEST_MAIN(TestSessionLockClient)
#include "tst_sessionlockclient.moc"
