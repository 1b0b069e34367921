// A hostile or unlucky X client for the end-to-end tests.
//   e2e_xclient raise            an override-redirect magenta window that
//                                raises itself every 50 ms, until killed
//   e2e_xclient hold-grab FILE   holds an active keyboard grab until SIGUSR1,
//                                then writes to FILE how many milliseconds
//                                passed until another client had the keyboard
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {
volatile std::sig_atomic_t released = 0;

void onRelease(int)
{
    released = 1;
}

int raise(xcb_connection_t *c, xcb_screen_t *screen)
{
    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t values[] = {0xff00ff, 1};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 100, 100, 600, 400, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(c, window);
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    for (;;) {
        xcb_configure_window(c, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        xcb_flush(c);
        if (xcb_connection_has_error(c))
            return 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

int holdGrab(xcb_connection_t *c, xcb_screen_t *screen, const char *path)
{
    std::signal(SIGUSR1, onRelease);
    auto *reply =
        xcb_grab_keyboard_reply(c,
                                xcb_grab_keyboard(c, 0, screen->root, XCB_CURRENT_TIME,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                nullptr);
    if (!reply || reply->status != XCB_GRAB_STATUS_SUCCESS)
        return 1;
    std::free(reply);
    std::puts("grabbed");
    std::fflush(stdout);
    while (!released)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));

    xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    xcb_flush(c);
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        auto *probe =
            xcb_grab_keyboard_reply(c,
                                    xcb_grab_keyboard(c, 0, screen->root, XCB_CURRENT_TIME,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                    nullptr);
        const bool taken = probe && probe->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
        if (probe && probe->status == XCB_GRAB_STATUS_SUCCESS) {
            // Let go at once, or the probe itself would keep the lock out.
            xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
            xcb_flush(c);
        }
        std::free(probe);
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count();
        if (taken || elapsed > 5000) {
            FILE *out = std::fopen(path, "w");
            if (out) {
                std::fprintf(out, "%lld\n", static_cast<long long>(taken ? elapsed : -1));
                std::fclose(out);
            }
            return taken ? 0 : 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 1;
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (std::strcmp(argv[1], "raise") == 0)
        return raise(c, screen);
    if (std::strcmp(argv[1], "hold-grab") == 0 && argc > 2)
        return holdGrab(c, screen, argv[2]);
    return 2;
}
