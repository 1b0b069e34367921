#include "core/preferencekeys.h"
#include "support/lockstack.h"
#include "tray/trayicon.h"
#include "tray/trayiconpainter.h"
#include "tray/traymodel.h"
#include "tray/traypanelwindow.h"

#include <QApplication>
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
        QTest::addRow("on the second screen")
            << QRect(3800, 0, 22, 30) << QPoint() << QRect(1920, 0, 1920, 1080)
            << QRect(3560, 34, 280, 420);

        // Without icon geometry the panel keeps clear of the bar the pointer is on.
        QTest::addRow("under a top bar the work area leaves out")
            << QRect() << QPoint(500, 16) << QRect(0, 32, 1920, 1048) << QRect(360, 36, 280, 420);
        QTest::addRow("under a top bar the desktop does not report")
            << QRect() << QPoint(500, 16) << screen << QRect(360, 37, 280, 420);
        QTest::addRow("beside a right bar the desktop does not report")
            << QRect() << QPoint(1900, 700) << screen << QRect(1597, 660, 280, 420);
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
};

QTEST_MAIN(TestTrayIcon)
#include "tst_trayicon.moc"
