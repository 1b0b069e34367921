#include "platform/fakes/fakescreencapture.h"
#include "themes/desktopcapture.h"
#include "themes/themesmodule.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

class TestBackdropPieces : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { prepareSymbolIcons(); }

    void captureIsKeptSmallFrostedAndDropped()
    {
        FakeScreenCapture fake;
        DesktopCapture capture(fake);
        QScreen *screen = QGuiApplication::primaryScreen();
        QSignalSpy spy(&capture, &DesktopCapture::imageChanged);

        fake.image = QImage(1920, 1080, QImage::Format_RGB32);
        fake.image.fill(Qt::white);
        QVERIFY(capture.captureScreen(screen));
        QCOMPARE(fake.requested, QList<QScreen *>{screen});
        QCOMPARE(spy.count(), 1);
        const QImage kept = capture.frostedImage(screen->name());
        QCOMPARE(kept.width(), DesktopCapture::storedWidth);
        QCOMPARE(kept.height(), 216);
        // The material darkens even a white desktop.
        QCOMPARE(qRed(kept.pixel(100, 100)), qRound(255 * (1 - DesktopCapture::materialDim)));

        // A failed capture must not leave the previous lock's desktop behind.
        fake.image = QImage();
        QVERIFY(!capture.captureScreen(screen));
        QVERIFY(!capture.hasImage(screen->name()));
        QCOMPARE(spy.count(), 2);

        fake.image = QImage(800, 600, QImage::Format_RGB32);
        fake.image.fill(Qt::gray);
        QVERIFY(capture.captureScreen(screen));
        capture.clear();
        QVERIFY(!capture.hasImage(screen->name()));
        QVERIFY(!capture.captureScreen(nullptr));
    }
};

QTEST_MAIN(TestBackdropPieces)
#include "tst_backdroppieces.moc"
