// A hostile or unlucky X client for the end-to-end tests.
//   e2e_xclient raise            an override-redirect magenta window that
//                                raises itself every 50 ms, until killed
//   e2e_xclient hold-grab FILE   holds an active keyboard grab until SIGUSR1,
//                                then writes to FILE how many milliseconds
//                                passed until another client had the keyboard
//   e2e_xclient displace WINDOW HOW
//                                moves, resizes, reparents or unmaps WINDOW
//                                (HOW: move, resize, reparent, unmap), then
//                                prints "covered=MS keyboard=MS": how long
//                                until WINDOW was back where it was (parent,
//                                geometry, mapped) and the keyboard grabbed
//   e2e_xclient keyboard-held    exits 0 when some client holds the keyboard
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {
volatile std::sig_atomic_t released = 0;

using Clock = std::chrono::steady_clock;

long long millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Tries for the keyboard as any other client could; lets go at once.
bool keyboardHeld(xcb_connection_t *c, xcb_window_t root)
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

struct Placement
{
    xcb_window_t parent = XCB_NONE;
    int x = 0, y = 0, width = 0, height = 0;
    bool viewable = false;
    bool operator==(const Placement &) const = default;
};

Placement placement(xcb_connection_t *c, xcb_window_t window)
{
    Placement p;
    auto *tree = xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr);
    auto *geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    auto *attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
    if (tree && geometry && attributes) {
        p = {tree->parent,    geometry->x,      geometry->y,
             geometry->width, geometry->height, attributes->map_state == XCB_MAP_STATE_VIEWABLE};
    }
    std::free(tree);
    std::free(geometry);
    std::free(attributes);
    return p;
}

int displace(xcb_connection_t *c, xcb_screen_t *screen, xcb_window_t window, const char *how)
{
    const Placement before = placement(c, window);
    if (!before.viewable || before.parent != screen->root || !keyboardHeld(c, screen->root))
        return 3;
    if (std::strcmp(how, "move") == 0) {
        const uint32_t xy[] = {uint32_t(before.x + 700), uint32_t(before.y + 300)};
        xcb_configure_window(c, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, xy);
    } else if (std::strcmp(how, "resize") == 0) {
        const uint32_t size[] = {200, 150};
        xcb_configure_window(c, window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    } else if (std::strcmp(how, "reparent") == 0) {
        // A small window of ours, kept on top, as the panel's new home.
        const xcb_window_t box = xcb_generate_id(c);
        const uint32_t values[] = {0x00ff00, 1};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, box, screen->root, 0, 0, 300, 200, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                          XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
        xcb_map_window(c, box);
        xcb_reparent_window(c, window, box, 0, 0);
    } else if (std::strcmp(how, "unmap") == 0) {
        xcb_unmap_window(c, window);
    } else {
        return 2;
    }
    xcb_flush(c);
    const auto start = Clock::now();
    long long covered = -1;
    long long keyboard = -1;
    while ((covered < 0 || keyboard < 0) && millisecondsSince(start) < 2000) {
        if (covered < 0 && placement(c, window) == before)
            covered = millisecondsSince(start);
        if (keyboard < 0 && covered >= 0 && keyboardHeld(c, screen->root))
            keyboard = millisecondsSince(start);
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    std::printf("covered=%lld keyboard=%lld\n", covered, keyboard);
    return covered >= 0 && keyboard >= 0 ? 0 : 1;
}

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
    if (std::strcmp(argv[1], "displace") == 0 && argc > 3)
        return displace(c, screen, xcb_window_t(std::strtoul(argv[2], nullptr, 0)), argv[3]);
    if (std::strcmp(argv[1], "keyboard-held") == 0)
        return keyboardHeld(c, screen->root) ? 0 : 1;
    return 2;
}
