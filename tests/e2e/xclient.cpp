// A hostile or unlucky X client for the end-to-end tests.
//   e2e_xclient raise            an override-redirect magenta window that
//                                raises itself every 50 ms, until killed
//   e2e_xclient map              the same window, raised once, until killed
//   e2e_xclient watch SECONDS FILE
//                                samples pixels across the screen for
//                                SECONDS and writes to FILE how long any of
//                                them showed magenta (the desktop and the
//                                test windows), in ms, and in how many samples
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
#include <utility>
#include <vector>

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
    const char *unready = !before.viewable                 ? "not viewable"
                          : before.parent != screen->root  ? "not a child of the root"
                          : !keyboardHeld(c, screen->root) ? "keyboard free"
                                                           : nullptr;
    if (unready) {
        std::printf("before: %s\n", unready);
        return 3;
    }
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

int raise(xcb_connection_t *c, xcb_screen_t *screen, bool again)
{
    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t values[] = {0xff00ff, 1};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 100, 100, 600, 400, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(c, window);
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    bool first = true;
    for (;;) {
        if (std::exchange(first, false) || again)
            xcb_configure_window(c, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        xcb_flush(c);
        if (xcb_connection_has_error(c))
            return 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

// One 1x1 image request per point, all sent before the first reply is read,
// so a sweep costs about one round trip and a gap of a millisecond shows.
int watch(xcb_connection_t *c, xcb_screen_t *screen, double seconds, const char *path)
{
    constexpr uint32_t magenta = 0xff00ff;
    std::vector<std::pair<int16_t, int16_t>> points;
    for (const int16_t y : {5, 300, 540, 1075}) {
        for (const int16_t x : {5, 300, 960, 1915, 1925, 2880, 3835})
            points.emplace_back(x, y);
    }
    const auto start = std::chrono::steady_clock::now();
    auto last = start;
    double uncoveredMs = 0;
    long uncoveredSweeps = 0;
    std::vector<xcb_get_image_cookie_t> cookies(points.size());
    std::puts("watching");
    std::fflush(stdout);
    while (std::chrono::duration<double>(last - start).count() < seconds) {
        for (std::size_t i = 0; i < points.size(); ++i)
            cookies[i] = xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, points[i].first,
                                       points[i].second, 1, 1, ~0U);
        bool seen = false;
        for (std::size_t i = 0; i < cookies.size(); ++i) {
            xcb_get_image_reply_t *reply = xcb_get_image_reply(c, cookies[i], nullptr);
            if (reply && xcb_get_image_data_length(reply) >= 4) {
                uint32_t pixel = 0;
                std::memcpy(&pixel, xcb_get_image_data(reply), sizeof pixel);
                if ((pixel & 0xffffff) == magenta && !seen)
                    std::printf("magenta at %d,%d after %.1f ms\n", points[i].first,
                                points[i].second,
                                std::chrono::duration<double, std::milli>(
                                    std::chrono::steady_clock::now() - start)
                                    .count());
                seen |= (pixel & 0xffffff) == magenta;
            }
            std::free(reply);
        }
        const auto now = std::chrono::steady_clock::now();
        if (seen) {
            uncoveredMs += std::chrono::duration<double, std::milli>(now - last).count();
            ++uncoveredSweeps;
        }
        last = now;
        if (xcb_connection_has_error(c))
            return 1;
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    FILE *out = std::fopen(path, "w");
    if (!out)
        return 1;
    std::fprintf(out, "%.1f %ld\n", uncoveredMs, uncoveredSweeps);
    std::fclose(out);
    return 0;
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
    if (std::strcmp(argv[1], "raise") == 0 || std::strcmp(argv[1], "map") == 0)
        return raise(c, screen, std::strcmp(argv[1], "raise") == 0);
    if (std::strcmp(argv[1], "watch") == 0 && argc > 3)
        return watch(c, screen, std::atof(argv[2]), argv[3]);
    if (std::strcmp(argv[1], "hold-grab") == 0 && argc > 2)
        return holdGrab(c, screen, argv[2]);
    if (std::strcmp(argv[1], "displace") == 0 && argc > 3)
        return displace(c, screen, xcb_window_t(std::strtoul(argv[2], nullptr, 0)), argv[3]);
    if (std::strcmp(argv[1], "keyboard-held") == 0)
        return keyboardHeld(c, screen->root) ? 0 : 1;
    return 2;
}
