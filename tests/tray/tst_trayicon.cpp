#include "core/preferencekeys.h"
#include "support/lockstack.h"
#include "tray/trayicon.h"
#include "tray/trayiconpainter.h"
#include "tray/traymodel.h"
#include "tray/traypanelwindow.h"

#include <QApplication>
#include <QPalette>
#include <QQuickItem>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

using namespace std::chrono_literals;

// Stands in for the tray's icon window, which reports a press as an activation.
class IconWindow : public QWindow
{
public:
    explicit IconWindow(QSystemTrayIcon &icon)
        : m_icon(icon)
    {}
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        ++presses;
        event->accept();
        Q_EMIT m_icon.activated(QSystemTrayIcon::Trigger);
    }

private:
    QSystemTrayIcon &m_icon;
};

class TestTrayIcon : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LockStack> m_stack;
    std::unique_ptr<TrayIcon> m_controller;

    // The row or choice of the open panel that shows this text.
    QQuickItem *itemWithText(const QString &text) const
    {
        TrayPanelWindow *panel = m_controller->panel();
        if (!panel || !panel->rootObject())
            return nullptr;
        // Repeaters parent their delegates by item only, so walk the items.
        // A frame lays out whatever changed since the last one, so positions
        // read below are the ones a click would hit.
        panel->grabWindow();
        QList<QQuickItem *> items{panel->rootObject()};
        for (qsizetype i = 0; i < items.size(); ++i)
            items.append(items.at(i)->childItems());
        for (QQuickItem *item : std::as_const(items)) {
            if (item->property("text").toString() == text && item->isVisible() &&
                item->metaObject()->indexOfSignal("clicked()") >= 0) {
                return item;
            }
        }
        return nullptr;
    }

    void click(QQuickItem *item)
    {
        const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        QTest::mouseClick(m_controller->panel(), Qt::LeftButton, {}, centre.toPoint());
    }

private Q_SLOTS:
    void init()
    {
        m_stack = std::make_unique<LockStack>();
        m_controller = std::make_unique<TrayIcon>(
            TrayIcon::Services{m_stack->overlay, m_stack->keepAwake, m_stack->defaults});
    }

    void cleanup()
    {
        m_controller.reset();
        m_stack->overlay.deactivate();
        m_stack.reset();
    }

    void iconFollowsTheLock()
    {
        const auto shown = [this] {
            return m_controller->trayIcon().icon().pixmap(22).toImage().convertToFormat(
                QImage::Format_ARGB32_Premultiplied);
        };
        QVERIFY(!m_controller->showsLockedIcon());
        QCOMPARE(shown(), TrayIconPainter::paint(false, 22));
        QVERIFY(TrayIconPainter::paint(false, 22) != TrayIconPainter::paint(true, 22));

        m_stack->overlay.lock();
        QVERIFY(m_controller->showsLockedIcon());
        QCOMPARE(shown(), TrayIconPainter::paint(true, 22));

        m_stack->overlay.deactivate();
        QVERIFY(!m_controller->showsLockedIcon());
        QCOMPARE(shown(), TrayIconPainter::paint(false, 22));
    }

    void titleCountsDownInTheToolTip()
    {
        QCOMPARE(m_controller->title(), QString());
        QCOMPARE(m_controller->trayIcon().toolTip(), QStringLiteral("Vostrel"));

        m_stack->keepAwake.start(15min);
        QCOMPARE(m_controller->title(), QStringLiteral(" 15:00"));
        m_stack->keepAwake.tick();
        QCOMPARE(m_controller->title(), QStringLiteral(" 14:59"));
        QCOMPARE(m_controller->trayIcon().toolTip(), QStringLiteral("Vostrel 14:59"));

        m_stack->keepAwake.stop();
        QCOMPARE(m_controller->title(), QString());
        QCOMPARE(m_controller->trayIcon().toolTip(), QStringLiteral("Vostrel"));

        // An unlimited period has no time to show.
        m_stack->keepAwake.start();
        QCOMPARE(m_controller->title(), QString());
    }

    void clickingTwiceOpensThenCloses()
    {
        QSystemTrayIcon &icon = m_controller->trayIcon();
        Q_EMIT icon.activated(QSystemTrayIcon::Trigger);
        QVERIFY(m_controller->isPanelOpen());
        TrayPanelWindow *panel = m_controller->panel();
        QCOMPARE(panel->size(), QSize(280, 420));
        QTRY_VERIFY(panel->isExposed());
        QVERIFY(panel->rootObject());

        Q_EMIT icon.activated(QSystemTrayIcon::Context);
        QVERIFY(!m_controller->isPanelOpen());
        QVERIFY(!panel->isVisible());
    }

    void anOutsidePressCloses()
    {
        // As the pointer grab reports a press beyond the panel's edge.
        m_controller->openPanel();
        TrayPanelWindow *panel = m_controller->panel();
        QTRY_VERIFY(panel->isExposed());
        QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(-30, 10));
        QVERIFY(!m_controller->isPanelOpen());
    }

    void aPressOnTheIconClosesWithoutReopening()
    {
        // The icon's own window: the press reaches the application first,
        // then the icon turns it into an activation.
        IconWindow icon(m_controller->trayIcon());
        icon.resize(22, 22);
        icon.show();
        QVERIFY(QTest::qWaitForWindowExposed(&icon));
        m_controller->openPanel();
        QTRY_VERIFY(m_controller->panel()->isExposed());

        QTest::mousePress(&icon, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(icon.presses, 1);
        QVERIFY(!m_controller->isPanelOpen());
        QTest::mouseRelease(&icon, Qt::LeftButton, {}, QPoint(10, 10));
        // The gesture is over (the event loop turns, or the StatusNotifier
        // delay passes: this icon reports no position).
        m_controller->endPressGuard();

        // The next click opens it again.
        QTest::mousePress(&icon, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(m_controller->isPanelOpen());
    }

    void aStatusNotifierActivationAfterTheClosingPressDoesNotReopen()
    {
        // Such a tray reports no icon position and sends its activation over
        // D-Bus, after the press that closed the panel.
        QVERIFY(m_controller->trayIcon().geometry().isEmpty());
        m_controller->openPanel();
        TrayPanelWindow *panel = m_controller->panel();
        QTRY_VERIFY(panel->isExposed());
        QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(-30, 10));
        QVERIFY(!m_controller->isPanelOpen());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        Q_EMIT m_controller->trayIcon().activated(QSystemTrayIcon::Trigger);
        QVERIFY(!m_controller->isPanelOpen());

        QVERIFY(m_controller->isPressGuardActive());
        m_controller->endPressGuard();
        Q_EMIT m_controller->trayIcon().activated(QSystemTrayIcon::Trigger);
        QVERIFY(m_controller->isPanelOpen());
    }

    void closeNotificationClosesThePanel()
    {
        m_controller->openPanel();
        QPointer<TrayPanelWindow> panel = m_controller->panel();
        Q_EMIT panel->model()->panelShouldClose();
        QVERIFY(!m_controller->isPanelOpen());
        QTRY_VERIFY(panel.isNull());
    }

    void everyOpeningStartsFromTheManagers()
    {
        m_controller->openPanel();
        QVERIFY(!m_controller->panel()->model()->isKeepAwakeActive());
        m_controller->closePanel();
        m_stack->keepAwake.start();
        m_controller->openPanel();
        QVERIFY(m_controller->panel()->model()->isKeepAwakeActive());
        QCOMPARE(m_controller->panel()->model()->statusLine(), QStringLiteral("Keeping awake"));
    }

    void rowsOfThePanelAct()
    {
        m_controller->openPanel();
        QTRY_VERIFY(m_controller->panel()->isExposed());
        QQuickItem *fifteen = itemWithText(QStringLiteral("For 15 minutes"));
        QVERIFY(fifteen);
        click(fifteen);
        QVERIFY(m_stack->keepAwake.isActive());
        QCOMPARE(m_stack->keepAwake.totalDurationValue(), QVariant(900.0));
        QTRY_VERIFY(itemWithText(QStringLiteral("Stop Tambering")));
        QVERIFY(!itemWithText(QStringLiteral("For 15 minutes")));
        QVERIFY(m_controller->isPanelOpen());

        QQuickItem *tenMinutes = itemWithText(QStringLiteral("10 min"));
        QVERIFY(tenMinutes);
        click(tenMinutes);
        QVERIFY(m_stack->defaults.boolValue(PreferenceKey::autoLockEnabled));
        QCOMPARE(m_stack->defaults.integer(PreferenceKey::autoLockMinutes), 10);

        QQuickItem *lockNow = itemWithText(QStringLiteral("Lock Now"));
        QVERIFY(lockNow);
        click(lockNow);
        QVERIFY(m_stack->overlay.isOverlayActive());
        QVERIFY(!m_controller->isPanelOpen());
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("icon");
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("frame");

        const QRect screen(0, 0, 1920, 1080);
        QTest::addRow("centred under the icon")
            << QRect(1000, 0, 22, 30) << QPoint() << screen << QRect(871, 34, 280, 420);
        QTest::addRow("kept inside the right edge")
            << QRect(1897, 1, 22, 30) << QPoint() << screen << QRect(1640, 35, 280, 420);
        QTest::addRow("kept inside the left edge")
            << QRect(2, 0, 22, 30) << QPoint() << screen << QRect(0, 34, 280, 420);
        QTest::addRow("over an icon at the bottom")
            << QRect(1000, 1050, 22, 30) << QPoint() << screen << QRect(871, 626, 280, 420);
        QTest::addRow("on the second screen")
            << QRect(3800, 0, 22, 30) << QPoint() << QRect(1920, 0, 1920, 1080)
            << QRect(3560, 34, 280, 420);
        QTest::addRow("a screen smaller than the panel keeps the top left in view")
            << QRect(100, 0, 20, 20) << QPoint() << QRect(0, 0, 200, 300) << QRect(0, 0, 280, 420);

        // Without icon geometry the panel keeps clear of the bar the pointer is on.
        QTest::addRow("under a top bar the work area leaves out")
            << QRect() << QPoint(500, 16) << QRect(0, 32, 1920, 1048) << QRect(360, 36, 280, 420);
        QTest::addRow("over a bottom bar the work area leaves out")
            << QRect() << QPoint(500, 1060) << QRect(0, 0, 1920, 1040) << QRect(360, 616, 280, 420);
        QTest::addRow("beside a left bar the work area leaves out")
            << QRect() << QPoint(20, 300) << QRect(48, 0, 1872, 1080) << QRect(52, 300, 280, 420);
        QTest::addRow("under a top bar the desktop does not report")
            << QRect() << QPoint(500, 16) << screen << QRect(360, 37, 280, 420);
        QTest::addRow("over a bottom bar the desktop does not report")
            << QRect() << QPoint(500, 1064) << screen << QRect(360, 625, 280, 420);
        QTest::addRow("beside a right bar the desktop does not report")
            << QRect() << QPoint(1900, 700) << screen << QRect(1597, 660, 280, 420);
        QTest::addRow("at the pointer away from every edge")
            << QRect() << QPoint(500, 300) << screen << QRect(360, 305, 280, 420);
        QTest::addRow("over the pointer low on the screen")
            << QRect() << QPoint(500, 1000) << screen << QRect(360, 576, 280, 420);
    }

    void placement()
    {
        QFETCH(QRect, icon);
        QFETCH(QPoint, cursor);
        QFETCH(QRect, area);
        QFETCH(QRect, frame);
        const QRect screen = area.united(QRect(0, 0, 1920, 1080));
        QCOMPARE(TrayPanelWindow::frameFor(icon, cursor, screen, area), frame);
        if (icon.isEmpty())
            QVERIFY(!frame.intersects(QRect(cursor, QSize(1, 1))));
    }

    void readableInLightAndDark_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::addRow("light") << false;
        QTest::addRow("dark") << true;
    }

    void readableInLightAndDark()
    {
        QFETCH(bool, dark);
        const QPalette original = QGuiApplication::palette();
        QPalette palette = original;
        palette.setColor(QPalette::Window,
                         dark ? QColor(0x2a, 0x2a, 0x2e) : QColor(0xef, 0xef, 0xef));
        palette.setColor(QPalette::WindowText, dark ? Qt::white : Qt::black);
        QGuiApplication::setPalette(palette);
        auto restore = qScopeGuard([&] { QGuiApplication::setPalette(original); });

        m_controller->openPanel();
        TrayPanelWindow *panel = m_controller->panel();
        QTRY_VERIFY(panel->isExposed());
        const QImage image = panel->grabWindow();
        QVERIFY(!image.isNull());
        if (const QString dir = qEnvironmentVariable("VOSTREL_PANEL_SHOTS"); !dir.isEmpty())
            image.save(dir + (dark ? QStringLiteral("/panel-dark.png")
                                   : QStringLiteral("/panel-light.png")));
        // The panel's body follows the palette, and its text stands out.
        const QColor body = image.pixelColor(image.width() - 20, image.height() / 2);
        QCOMPARE(body.lightnessF() < 0.5, dark);
        int contrasting = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const qreal lightness = image.pixelColor(x, y).lightnessF();
                if (std::abs(lightness - body.lightnessF()) > 0.5)
                    ++contrasting;
            }
        }
        QVERIFY2(contrasting > 1000, qPrintable(QString::number(contrasting)));
    }
};

QTEST_MAIN(TestTrayIcon)
#include "tst_trayicon.moc"
