#include "platform/linux/x11lockwindowguard.h"

#include "platform/linux/xcbreply.h"

#include <QGuiApplication>
#include <QWindow>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

using namespace std::chrono_literals;

namespace {
// Fast enough that the lock has the keyboard within a frame or two of another
// client letting go, slow enough to cost nothing while it holds on.
constexpr auto grabRetryInterval = 20ms;
} // namespace

X11LockWindowGuard::X11LockWindowGuard(QObject *parent)
    : LockWindowGuard(parent)
{
    m_retryTimer.setInterval(grabRetryInterval);
    m_retryTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_retryTimer, &QTimer::timeout, this, &X11LockWindowGuard::tryGrab);
    // Called on the keeper's thread.
    m_stackKeeper.setInputLostHandler([this] {
        QMetaObject::invokeMethod(this, &X11LockWindowGuard::retakeInput, Qt::QueuedConnection);
    });
}

X11LockWindowGuard::~X11LockWindowGuard()
{
    release();
}

xcb_connection_t *X11LockWindowGuard::qtConnection() const
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

void X11LockWindowGuard::prepare(QWindow *panel)
{
    xcb_connection_t *c = qtConnection();
    if (!c)
        return;
    // Qt leaves a window's background empty, so until the first frame is
    // drawn a freshly mapped window still shows what was beneath it.
    panel->create();
    const auto window = xcb_window_t(panel->winId());
    const uint32_t black = xcb_setup_roots_iterator(xcb_get_setup(c)).data->black_pixel;
    xcb_change_window_attributes(c, window, XCB_CW_BACK_PIXEL, &black);
    // A compositor draws windows as it likes: picom's inactive-opacity would
    // show the desktop through every panel but the focused one. Set before
    // the first map, which is when a compositor reads them.
    const uint32_t opaque = 0xffffffff;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_WINDOW_OPACITY"),
                        XCB_ATOM_CARDINAL, 32, 1, &opaque);
    const uint32_t bypass = 1;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_BYPASS_COMPOSITOR"),
                        XCB_ATOM_CARDINAL, 32, 1, &bypass);
    xcb_flush(c);
}

xcb_atom_t X11LockWindowGuard::atom(const char *name) const
{
    xcb_connection_t *c = qtConnection();
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

void X11LockWindowGuard::engage(const QList<QWindow *> &panels, QWindow *focusPanel)
{
    m_panels.clear();
    m_panelIds.clear();
    for (QWindow *panel : panels) {
        m_panels.append(panel);
        m_panelIds.insert(xcb_window_t(panel->winId()));
    }
    m_focusPanel = focusPanel;
    m_engaged = true;

    if (!qtConnection())
        return;
    // The keeper's thread grabs on Qt's connection: it must be done before
    // the connection goes with the application.
    connect(qGuiApp, &QCoreApplication::aboutToQuit, this, &X11LockWindowGuard::release,
            Qt::UniqueConnection);
    keepPanelsOnTop();
    // Focus first: while another client holds the keyboard, keys typed after
    // it lets go go nowhere rather than to a hidden window.
    focusLock(qtConnection());
    // A new focus panel needs the grabs again, on its own window.
    setGrabbed(false, false);
    tryGrab();
}

bool X11LockWindowGuard::seizeInput(std::chrono::milliseconds timeout)
{
    xcb_connection_t *c = qtConnection();
    if (!m_engaged || !c || !m_focusPanel)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!isInputGrabbed()) {
        focusLock(c);
        tryGrab();
        if (isInputGrabbed() || std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(2ms);
    }
    return isInputGrabbed();
}

void X11LockWindowGuard::release()
{
    if (!m_engaged)
        return;
    m_engaged = false;
    m_retryTimer.stop();
    m_stackKeeper.stop();
    if (xcb_connection_t *c = qtConnection()) {
        if (m_keyboard)
            xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        if (m_pointer)
            xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
        // Off the screen in the same flush as the grabs: hiding through Qt
        // first waits for each panel's render thread to finish its frame.
        for (const xcb_window_t panel : std::as_const(m_panelIds))
            xcb_unmap_window(c, panel);
        // The crash guard's cover under them goes too, or it would show black
        // until the guard has handled its stop signal.
        if (m_crashCover != XCB_NONE)
            xcb_unmap_window(c, m_crashCover);
        xcb_flush(c);
    }
    m_panels.clear();
    m_panelIds.clear();
    m_focusPanel = nullptr;
    m_crashCover = XCB_NONE;
    setGrabbed(false, false);
}

void X11LockWindowGuard::setCrashCover(quint32 window)
{
    // A cover announced after the lock came down belongs to no lock.
    if (!m_engaged)
        return;
    m_crashCover = xcb_window_t(window);
    keepPanelsOnTop();
}

void X11LockWindowGuard::tryGrab()
{
    xcb_connection_t *c = qtConnection();
    if (!m_engaged || !c || !m_focusPanel) {
        m_retryTimer.stop();
        return;
    }
    const auto window = xcb_window_t(m_focusPanel->winId());
    // Both again even when one is held: the same client grabbing again keeps
    // its grab.
    const auto grabs = X11StackKeeper::grab(c, window, true);
    setGrabbed(grabs.keyboard, grabs.pointer);
    if (isInputGrabbed())
        m_retryTimer.stop();
    else if (!m_retryTimer.isActive())
        m_retryTimer.start();
}

void X11LockWindowGuard::setGrabbed(bool keyboard, bool pointer)
{
    const bool before = isInputGrabbed();
    m_keyboard = keyboard;
    m_pointer = pointer;
    if (before != isInputGrabbed())
        Q_EMIT inputGrabbedChanged(isInputGrabbed());
}

void X11LockWindowGuard::retakeInput()
{
    xcb_connection_t *c = qtConnection();
    if (!m_engaged || !c || !m_focusPanel)
        return;
    setGrabbed(false, false);
    focusLock(c);
    tryGrab();
}

void X11LockWindowGuard::focusLock(xcb_connection_t *c) const
{
    // The keeper's sink, not the grab window: a grab broken while the focus
    // lies on its own window is announced to nobody.
    xcb_window_t target = m_stackKeeper.inputSink();
    if (target == XCB_NONE && m_focusPanel)
        target = xcb_window_t(m_focusPanel->winId());
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, target, XCB_CURRENT_TIME);
}

void X11LockWindowGuard::keepPanelsOnTop()
{
    xcb_connection_t *c = qtConnection();
    // Raised in this order: the crash cover first, so it ends up under them.
    // One at a time: GCC 14 misreads a range insert after the push_back
    // as a write out of bounds.
    std::vector<xcb_window_t> ids;
    if (m_crashCover != XCB_NONE)
        ids.push_back(m_crashCover);
    for (const xcb_window_t id : m_panelIds)
        ids.push_back(id);
    // Where each window is now, as the server has it after Qt's own requests
    // (asked on Qt's connection, so they come first): the keeper puts one
    // back there when another client moves it.
    std::vector<xcb_get_geometry_cookie_t> cookies;
    for (const xcb_window_t id : std::as_const(ids))
        cookies.push_back(xcb_get_geometry(c, id));
    std::vector<X11StackKeeper::Window> windows;
    auto cookie = cookies.cbegin();
    for (const xcb_window_t id : std::as_const(ids)) {
        const XcbReply<xcb_get_geometry_reply_t> reply(
            xcb_get_geometry_reply(c, *cookie++, nullptr));
        if (reply)
            windows.push_back({id, reply->x, reply->y, reply->width, reply->height});
    }
    m_stackKeeper.keep(windows, m_focusPanel ? xcb_window_t(m_focusPanel->winId()) : XCB_NONE, c);
}
