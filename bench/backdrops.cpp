// Renders the lock-screen backdrop of every theme to PNG, or shows one
// backdrop full screen and reports the CPU it costs. Run inside
// scripts/with-session (bench/backdrops.sh does).
//
//   vostrel-bench-backdrops render OUTDIR [--motion]
//   vostrel-bench-backdrops cpu THEME on|off [SECONDS] [FILL]
#include "core/qmlinstances.h"
#include "platform/linux/x11screencapture.h"
#include "themes/desktopcapture.h"
#include "themes/overlaythemeid.h"
#include "themes/themesmodule.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QRasterWindow>
#include <QScreen>
#include <QSGRendererInterface>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

namespace {
const QByteArray scene = "import QtQuick\n"
                         "import Vostrel.Themes\n"
                         "ThemeBackdrop {}\n";
// The least a frame can cost: one full-screen flat colour changing each tick.
const QByteArray baselineScene = "import QtQuick\n"
                                 "Rectangle {\n"
                                 "    property string theme; property string fillMode;\n"
                                 "    property bool motion; property string screenName\n"
                                 "    color: Qt.rgba(0, 0, 0.1 + 0.05 * (tick % 2), 1)\n"
                                 "    property int tick: 0\n"
                                 "    Timer { running: true; repeat: true; interval: 100;\n"
                                 "            onTriggered: parent.tick++ }\n"
                                 "}\n";

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Something colourful on the screen for the live-blur capture to read.
class FakeDesktop : public QRasterWindow
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), height());
        g.setColorAt(0, QColor(0xe0, 0x40, 0x30));
        g.setColorAt(0.5, QColor(0x30, 0xa0, 0xe0));
        g.setColorAt(1, QColor(0xf0, 0xd0, 0x40));
        const QRect area(QPoint(), size());
        p.fillRect(area, g);
        p.setPen(Qt::white);
        QFont font = p.font();
        font.setPixelSize(140);
        p.setFont(font);
        p.drawText(area, Qt::AlignCenter, QStringLiteral("desktop"));
    }
};

QImage makePhoto(const QString &path)
{
    QImage photo(1600, 1200, QImage::Format_RGB32);
    QPainter p(&photo);
    QLinearGradient g(0, 0, 1600, 0);
    g.setColorAt(0, QColor(0x20, 0x60, 0x20));
    g.setColorAt(1, QColor(0xd0, 0x80, 0x20));
    p.fillRect(photo.rect(), g);
    p.setBrush(QColor(0xff, 0xff, 0xff));
    p.drawEllipse(QPoint(800, 600), 300, 300);
    p.end();
    photo.save(path);
    return photo;
}

QQuickView *makeView(QQmlEngine &engine, QScreen *screen, const QVariantMap &properties)
{
    auto *view = new QQuickView(&engine, nullptr);
    view->setFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    view->setColor(Qt::black);
    view->setResizeMode(QQuickView::SizeRootObjectToView);
    QQmlComponent component(&engine);
    const bool baseline = properties.value(QStringLiteral("theme")) == QLatin1String("baseline");
    component.setData(baseline ? baselineScene : scene,
                      QUrl(QStringLiteral("qrc:/bench/Backdrop.qml")));
    QObject *root = component.createWithInitialProperties(properties);
    if (!root) {
        qCritical("%s", qPrintable(component.errorString()));
        std::exit(1);
    }
    view->setContent(QUrl(), nullptr, root);
    view->setScreen(screen);
    view->setGeometry(screen->geometry());
    view->show();
    return view;
}

int render(QQmlEngine &engine, DesktopCapture &capture, const QString &outDir, bool motion)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    QDir().mkpath(outDir);
    QTemporaryDir temp;
    const QString photo = temp.filePath(QStringLiteral("photo.png"));
    makePhoto(photo);

    FakeDesktop desktop;
    desktop.setFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    desktop.setGeometry(screen->geometry());
    desktop.show();
    wait(500);
    const bool captured = capture.captureScreen(screen);
    desktop.hide();
    std::printf("desktop capture of %s: %s\n", qPrintable(screen->name()),
                captured ? "taken" : "none");

    struct Case
    {
        QString name;
        QVariantMap extra;
    };
    QList<Case> cases;
    for (OverlayThemeID id : OverlayTheme::allCases())
        cases.append({OverlayTheme::rawValue(id), {}});
    cases.append({QStringLiteral("custom_photo"),
                  {{QStringLiteral("photoPath"), photo},
                   {QStringLiteral("tag"), QStringLiteral("with-photo")}}});
    cases.append({QStringLiteral("custom_photo"),
                  {{QStringLiteral("photoPath"), temp.filePath(QStringLiteral("missing.jpg"))},
                   {QStringLiteral("tag"), QStringLiteral("bad-photo")}}});
    cases.append({QStringLiteral("live_blur"),
                  {{QStringLiteral("liveBlurShowDesktop"), true},
                   {QStringLiteral("tag"), QStringLiteral("desktop")}}});

    for (const QString &fill : {QStringLiteral("gradient"), QStringLiteral("solid")}) {
        for (const Case &c : cases) {
            QVariantMap properties = c.extra;
            const QString tag = properties.take(QStringLiteral("tag")).toString();
            properties.insert(QStringLiteral("theme"), c.name);
            properties.insert(QStringLiteral("fillMode"), fill);
            properties.insert(QStringLiteral("motion"), motion);
            properties.insert(QStringLiteral("screenName"), screen->name());
            QQuickView *view = makeView(engine, screen, properties);
            wait(400);
            const QImage shot = view->grabWindow();
            const QString file =
                QStringLiteral("%1/%2%3-%4.png")
                    .arg(outDir, c.name, tag.isEmpty() ? QString() : QLatin1Char('-') + tag, fill);
            shot.save(file);
            std::printf("%s\n", qPrintable(file));
            delete view;
        }
    }
    return 0;
}

int measure(QQmlEngine &engine, const QString &theme, bool motion, int seconds, const QString &fill)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    QQuickView *view = makeView(engine, screen,
                                {{QStringLiteral("theme"), theme},
                                 {QStringLiteral("fillMode"), fill},
                                 {QStringLiteral("motion"), motion},
                                 {QStringLiteral("screenName"), screen->name()}});
    int frames = 0;
    QObject::connect(view, &QQuickWindow::frameSwapped, view, [&frames] { ++frames; });
    // Start-up (shader compilation, first textures) is not what is measured.
    wait(3000);
    frames = 0;
    const double before = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    wait(seconds * 1000);
    const double used = cpuSeconds() - before;
    const double elapsed = double(clock.elapsed()) / 1000.0;
    std::printf("%-15s %-8s motion %-3s  %5.1f %% of one core  %5.1f frames/s  (%dx%d, %s)\n",
                qPrintable(theme), qPrintable(fill), motion ? "on" : "off", 100.0 * used / elapsed,
                frames / elapsed, screen->geometry().width(), screen->geometry().height(),
                view->rendererInterface()->graphicsApi() == QSGRendererInterface::Software
                    ? "software"
                    : "OpenGL");
    delete view;
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    prepareSymbolIcons();
    X11ScreenCapture screenCapture;
    DesktopCapture capture(screenCapture);
    QmlInstances qml;
    qml.add(capture);
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    qml.provideTo(engine);

    const QStringList args = app.arguments();
    if (args.size() >= 3 && args.at(1) == QLatin1String("render"))
        return render(engine, capture, args.at(2), args.contains(QStringLiteral("--motion")));
    if (args.size() >= 4 && args.at(1) == QLatin1String("cpu")) {
        const int seconds = args.size() >= 5 ? args.at(4).toInt() : 30;
        const QString fill = args.size() >= 6 ? args.at(5) : QStringLiteral("gradient");
        return measure(engine, args.at(2), args.at(3) == QLatin1String("on"),
                       seconds > 0 ? seconds : 30, fill);
    }
    std::fprintf(stderr, "usage: %s render OUTDIR [--motion] | cpu THEME on|off [SECONDS] [FILL]\n",
                 argv[0]);
    return 2;
}
