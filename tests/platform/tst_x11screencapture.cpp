#include "platform/linux/x11screencapture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QTest>

namespace {
// A window of one colour covering a whole screen.
class Swatch : public QRasterWindow
{
public:
    explicit Swatch(QColor color)
        : m_color(color)
    {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(QRect(QPoint(), size()), m_color);
    }

private:
    QColor m_color;
};
} // namespace

class TestX11ScreenCapture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each monitor is read from its own rectangle of the root window.
    void eachScreenShowsWhatCoversIt()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("Needs an X server");
        const QList<QScreen *> screens = QGuiApplication::screens();
        QVERIFY(screens.size() >= 2);
        const QColor colors[] = {QColor(200, 30, 40), QColor(20, 160, 90)};
        std::vector<std::unique_ptr<Swatch>> swatches;
        for (int i = 0; i < 2; ++i) {
            auto swatch = std::make_unique<Swatch>(colors[i]);
            swatch->setFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
            swatch->setGeometry(screens.at(i)->geometry());
            swatch->show();
            QVERIFY(QTest::qWaitForWindowExposed(swatch.get()));
            swatches.push_back(std::move(swatch));
        }
        X11ScreenCapture capture;
        for (int i = 0; i < 2; ++i) {
            QImage image;
            QTRY_VERIFY((image = capture.capture(screens.at(i))).pixelColor(960, 540) == colors[i]);
            QCOMPARE(image.size(), screens.at(i)->geometry().size());
            QCOMPARE(image.pixelColor(0, 0), colors[i]);
        }
        QVERIFY(capture.capture(nullptr).isNull());
    }
};

QTEST_MAIN(TestX11ScreenCapture)
#include "tst_x11screencapture.moc"
