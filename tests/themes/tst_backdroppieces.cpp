#include "platform/fakes/fakescreencapture.h"
#include "themes/desktopcapture.h"
#include "themes/imageblur.h"
#include "themes/symbol.h"
#include "themes/symboltable.h"
#include "themes/themesmodule.h"

#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {
int opaquePixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return count;
}
} // namespace

class TestBackdropPieces : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { registerThemesModule(); }

    void blurKeepsFlatAreasAndSpreadsDetail()
    {
        QImage flat(40, 30, QImage::Format_ARGB32_Premultiplied);
        flat.fill(QColor(10, 20, 200));
        const QImage blurredFlat = ImageBlur::blurred(flat, 6);
        QCOMPARE(blurredFlat.size(), flat.size());
        QCOMPARE(blurredFlat.pixelColor(0, 0), QColor(10, 20, 200));
        QCOMPARE(blurredFlat.pixelColor(39, 29), QColor(10, 20, 200));

        QImage dot(41, 41, QImage::Format_ARGB32_Premultiplied);
        dot.fill(Qt::black);
        dot.setPixelColor(20, 20, Qt::white);
        const QImage spread = ImageBlur::blurred(dot, 6);
        QVERIFY(qRed(spread.pixel(20, 20)) < 255);
        QVERIFY(qRed(spread.pixel(23, 20)) > 0);
        QVERIFY(qRed(spread.pixel(20, 17)) > 0);
        // Symmetric about the dot.
        QCOMPARE(spread.pixel(17, 20), spread.pixel(23, 20));
        QCOMPARE(spread.pixel(20, 14), spread.pixel(20, 26));
        QVERIFY(ImageBlur::blurred(QImage(), 5).isNull());
    }

    void coverKeepsTheMiddleAtTheAspectOfTheScreen()
    {
        // A wide picture with a red left third: filling a square keeps
        // only the middle.
        QImage wide(300, 100, QImage::Format_RGB32);
        wide.fill(Qt::blue);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                wide.setPixelColor(x, y, Qt::red);
        const QImage square = ImageBlur::coverScaled(wide, QSize(200, 200), 0.5);
        QCOMPARE(square.size(), QSize(100, 100));
        QCOMPARE(square.pixelColor(50, 50), QColor(Qt::blue));
        QCOMPARE(square.pixelColor(1, 50), QColor(Qt::blue));
        QVERIFY(ImageBlur::coverScaled(wide, QSize(), 1).isNull());
        QVERIFY(ImageBlur::coverScaled(QImage(), QSize(10, 10), 1).isNull());
    }

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

    // Every symbol the screens name has an icon, and the table names only
    // icons the declared icon theme carries (a typo would show the fallback).
    void symbolTableCoversTheScreens()
    {
        const QStringList used =
            QStringLiteral("lock.fill touchid flask calendar.badge.clock bolt.fill info.circle "
                           "square.and.arrow.up checkmark lock.trianglebadge.exclamationmark.fill "
                           "exclamationmark.triangle.fill person.fill moon.fill sun.max "
                           "rectangle.on.rectangle eye.slash photo globe water.waves sparkles "
                           "sun.horizon.fill moon.stars.fill cloud.fill brain.head.profile "
                           "cursorarrow.motionlines airplane bubble.left.fill cpu gear power clock "
                           "wind trash plus link display command")
                .split(QLatin1Char(' '));
        for (const QString &symbol : used)
            QVERIFY2(!SymbolTable::iconName(symbol).isEmpty(), qPrintable(symbol));
        QVERIFY(SymbolTable::iconName(QStringLiteral("Lock.fill")).isEmpty());

        QIcon::setThemeName(SymbolTable::fallbackTheme());
        if (!QIcon::hasThemeIcon(QStringLiteral("system-lock-screen-symbolic")))
            QSKIP("The Adwaita icon theme is not installed");
        for (auto it = SymbolTable::entries().cbegin(); it != SymbolTable::entries().cend(); ++it) {
            if (it.value().isEmpty())
                continue;
            QVERIFY2(QIcon::hasThemeIcon(it.value()),
                     qPrintable(it.key() + QStringLiteral(" → ") + it.value()));
        }
    }

    void symbolsTakeTheirColourAndFallBackWhenTheThemeLacksThem()
    {
        QString used;
        const QColor accent(255, 0, 0, 128);
        const QImage themed = Symbol::draw(QStringLiteral("lock.fill"), 48, accent, &used);
        if (!used.isEmpty()) {
            QCOMPARE(used, QStringLiteral("system-lock-screen-symbolic"));
            // The icon's own dark grey is replaced by the colour asked for.
            for (int y = 0; y < 48; ++y)
                for (int x = 0; x < 48; ++x) {
                    const QRgb p = themed.pixel(x, y);
                    if (qAlpha(p) > 0) {
                        QCOMPARE(qGreen(p), 0);
                        QVERIFY(qAlpha(p) <= 129);
                    }
                }
        }
        QVERIFY(opaquePixels(themed) > 48 * 48 / 10);

        const QImage code = Symbol::draw(QStringLiteral("chevron.left.forwardslash.chevron.right"),
                                         32, Qt::white, &used);
        QVERIFY(used.isEmpty());
        QVERIFY(opaquePixels(code) > 20);
        const QImage unknown = Symbol::draw(QStringLiteral("no.such.symbol"), 32, Qt::white, &used);
        QVERIFY(used.isEmpty());
        QVERIFY(opaquePixels(unknown) > 20);
        QVERIFY(Symbol::draw(QStringLiteral("lock.fill"), 0, Qt::white).isNull());
    }
};

QTEST_MAIN(TestBackdropPieces)
#include "tst_backdroppieces.moc"
