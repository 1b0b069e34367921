// Measures how long the running Vostrel takes from the LockScreen D-Bus call
// to every monitor covered: one mapped panel per monitor and the keyboard
// grabbed. Prints one line per run and the median.
//   vostrel-bench-locklatency RUNS PIN MONITORS
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
int viewablePanels(xcb_connection_t *c, xcb_window_t root)
{
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    if (!tree)
        return 0;
    const int count = xcb_query_tree_children_length(tree);
    xcb_window_t *children = xcb_query_tree_children(tree);
    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    std::vector<xcb_get_property_cookie_t> names;
    for (int i = 0; i < count; ++i) {
        attributes.push_back(xcb_get_window_attributes(c, children[i]));
        names.push_back(
            xcb_get_property(c, 0, children[i], XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 0, 16));
    }
    int panels = 0;
    for (int i = 0; i < count; ++i) {
        auto *a = xcb_get_window_attributes_reply(c, attributes[i], nullptr);
        auto *n = xcb_get_property_reply(c, names[i], nullptr);
        const bool viewable = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
        const bool named = n && xcb_get_property_value_length(n) == 7 &&
                           std::memcmp(xcb_get_property_value(n), "Vostrel", 7) == 0;
        panels += viewable && named ? 1 : 0;
        std::free(a);
        std::free(n);
    }
    std::free(tree);
    return panels;
}

bool keyboardHeldByAnother(xcb_connection_t *c, xcb_window_t root)
{
    auto *reply = xcb_grab_keyboard_reply(
        c,
        xcb_grab_keyboard(c, 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool held = reply && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
    if (reply && reply->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        xcb_flush(c);
    }
    std::free(reply);
    return held;
}

QDBusMessage call(const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("app.vostrel.Vostrel"), QStringLiteral("/app/vostrel/Vostrel"),
        QStringLiteral("app.vostrel.Vostrel"), method);
    message.setArguments(arguments);
    return message;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fputs("usage: vostrel-bench-locklatency RUNS PIN MONITORS\n", stderr);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const QString pin = QString::fromLocal8Bit(argv[2]);
    const int monitors = std::atoi(argv[3]);

    int screen = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(c))
        return 1;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    QDBusConnection bus = QDBusConnection::sessionBus();

    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        bus.asyncCall(call(QStringLiteral("LockScreen")));
        while (viewablePanels(c, root) < monitors || !keyboardHeldByAnother(c, root)) {
            if (timer.elapsed() > 10000) {
                std::fputs("timed out waiting for the lock\n", stderr);
                return 1;
            }
        }
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        samples.push_back(ms);
        std::printf("run %2d: %.1f ms\n", run + 1, ms);

        const QDBusMessage reply = bus.call(call(QStringLiteral("UnlockScreen"), {pin}));
        if (reply.arguments().value(0).toBool() != true) {
            std::fputs("the PIN was not accepted\n", stderr);
            return 1;
        }
        while (viewablePanels(c, root) > 0)
            QThread::msleep(1);
        QThread::msleep(300);
    }
    std::sort(samples.begin(), samples.end());
    std::printf("lock latency over %d runs: median %.1f ms, min %.1f ms, max %.1f ms\n", runs,
                samples[samples.size() / 2], samples.front(), samples.back());
    xcb_disconnect(c);
    return 0;
}
