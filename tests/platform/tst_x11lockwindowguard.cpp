#include "platform/linux/x11lockwindowguard.h"

#include <QGuiApplication>
#include <QRasterWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {
// A connection of another client, to look at the server as others see it.
struct Observer
{
    Observer()
        : connection(xcb_connect(nullptr, nullptr))
        , root(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root)
    {}
    ~Observer() { xcb_disconnect(connection); }
    Q_DISABLE_COPY_MOVE(Observer)

    bool isViewable(QWindow *window) const
    {
        auto *reply = xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, xcb_window_t(window->winId())),
            nullptr);
        const bool viewable = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(reply);
        return viewable;
    }

    // Tries for the keyboard as another client would; lets go at once.
    bool keyboardIsFree() const
    {
        auto *reply =
            xcb_grab_keyboard_reply(connection,
                                    xcb_grab_keyboard(connection, 0, root, XCB_CURRENT_TIME,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                    nullptr);
        const bool free = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(reply);
        if (free) {
            xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
            xcb_flush(connection);
        }
        return free;
    }

    xcb_connection_t *connection;
    xcb_window_t root;
};
} // namespace

class TestX11LockWindowGuard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("Needs an X server");
    }

    // The lock's windows come down with the grabs, in one go, and stay down:
    // the stack keeper that maps a panel unmapped by others has stood down.
    void releaseTakesThePanelsAndTheGrabsAway()
    {
        X11LockWindowGuard guard;
        Observer observer;
        std::vector<std::unique_ptr<QRasterWindow>> panels;
        QList<QWindow *> windows;
        for (QScreen *screen : QGuiApplication::screens()) {
            auto panel = std::make_unique<QRasterWindow>();
            panel->setFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
            panel->setGeometry(screen->geometry());
            guard.prepare(panel.get());
            panel->show();
            windows.append(panel.get());
            panels.push_back(std::move(panel));
        }
        QSignalSpy grabbed(&guard, &LockWindowGuard::inputGrabbedChanged);
        guard.engage(windows, windows.last());
        QTRY_VERIFY(guard.isInputGrabbed());
        QVERIFY(!observer.keyboardIsFree());
        for (QWindow *window : std::as_const(windows))
            QTRY_VERIFY(observer.isViewable(window));

        guard.release();
        QVERIFY(!guard.isInputGrabbed());
        QCOMPARE(grabbed.last().first().toBool(), false);
        // Polled: the server may serve the observer before the guard's last flush.
        QTRY_VERIFY(observer.keyboardIsFree());
        for (QWindow *window : std::as_const(windows))
            QVERIFY(!observer.isViewable(window));
        QTest::qWait(100);
        for (QWindow *window : std::as_const(windows))
            QVERIFY(!observer.isViewable(window));
    }
};

QTEST_MAIN(TestX11LockWindowGuard)
#include "tst_x11lockwindowguard.moc"
