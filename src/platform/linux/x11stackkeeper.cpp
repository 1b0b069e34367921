#include "platform/linux/x11stackkeeper.h"

#include "platform/linux/xcbreply.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>

using namespace std::chrono_literals;

namespace {
// A lost grab that announces itself is taken back at once; this is for the
// ways that do not (a grab broken without a focus event reaching us). One
// round trip that the server answers at once while we hold the grabs.
constexpr auto probeInterval = 200ms;

void sync(xcb_connection_t *c)
{
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}
} // namespace

X11StackKeeper::X11StackKeeper() = default;

X11StackKeeper::~X11StackKeeper()
{
    stop();
    if (m_connection)
        xcb_disconnect(m_connection);
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

bool X11StackKeeper::connect()
{
    if (m_connection)
        return true;
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(m_connection)) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        return false;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    m_root = it.data->root;
    // Off the screen and without output: it only receives the keys that no
    // grab takes, selecting them so they do not travel on to the root window
    // and whoever listens there, and hears when the focus is taken from it.
    m_sink = xcb_generate_id(m_connection);
    const uint32_t values[] = {1, XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE |
                                      XCB_EVENT_MASK_FOCUS_CHANGE};
    xcb_create_window(m_connection, 0, m_sink, m_root, -10, -10, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                      XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    return m_wakeFd >= 0;
}

void X11StackKeeper::keep(const std::vector<Window> &windows, xcb_window_t focus,
                          xcb_connection_t *owner)
{
    if (windows.empty()) {
        stop();
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_windows = windows;
        m_focus = focus;
        m_owner = owner;
    }
    if (m_running) {
        watch(windows);
        raise();
        return;
    }
    if (!connect())
        return;
    // Substructure events of the root report every top-level window that maps,
    // moves or changes its place in the stack.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    watch(windows);
    raise();
    xcb_map_window(m_connection, m_sink);
    // Whatever the previous lock left queued belongs to it; and the sink must
    // be mapped before the owner gives it the focus on its own connection.
    sync(m_connection);
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
        std::free(event);
    m_running = true;
    m_thread = std::thread(&X11StackKeeper::run, this);
}

void X11StackKeeper::watch(const std::vector<Window> &windows)
{
    // Structure events of a window of ours report a move, a resize or a new
    // parent even once it is no longer a child of the root; focus events
    // report the keyboard grab on it broken.
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_FOCUS_CHANGE;
    for (const Window &window : windows)
        xcb_change_window_attributes(m_connection, window.id, XCB_CW_EVENT_MASK, &mask);
}

void X11StackKeeper::stop()
{
    if (!m_running)
        return;
    m_running = false;
    const uint64_t one = 1;
    (void)::write(m_wakeFd, &one, sizeof one);
    m_thread.join();
    uint64_t drained = 0;
    (void)::read(m_wakeFd, &drained, sizeof drained);
    // While unlocked we ask for nothing: no event of other windows wakes us.
    const uint32_t none = XCB_EVENT_MASK_NO_EVENT;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &none);
    const std::lock_guard lock(m_mutex);
    for (const Window &window : std::as_const(m_windows))
        xcb_change_window_attributes(m_connection, window.id, XCB_CW_EVENT_MASK, &none);
    xcb_unmap_window(m_connection, m_sink);
    xcb_flush(m_connection);
    m_windows.clear();
    m_focus = XCB_NONE;
    m_owner = nullptr;
}

X11StackKeeper::Grabs X11StackKeeper::grab(xcb_connection_t *c, xcb_window_t window, bool pointer)
{
    // owner_events off: every key is reported to the grab window, whatever
    // window is under the pointer.
    const auto keyboardCookie =
        xcb_grab_keyboard(c, 0, window, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    // owner_events on: the lock screen's own buttons still get their clicks.
    constexpr uint16_t mask = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                              XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW |
                              XCB_EVENT_MASK_LEAVE_WINDOW;
    xcb_grab_pointer_cookie_t pointerCookie{};
    if (pointer)
        pointerCookie = xcb_grab_pointer(c, 1, window, mask, XCB_GRAB_MODE_ASYNC,
                                         XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME);
    Grabs grabs;
    const XcbReply<xcb_grab_keyboard_reply_t> kr(
        xcb_grab_keyboard_reply(c, keyboardCookie, nullptr));
    grabs.keyboard = kr && kr->status == XCB_GRAB_STATUS_SUCCESS;
    if (pointer) {
        const XcbReply<xcb_grab_pointer_reply_t> pr(
            xcb_grab_pointer_reply(c, pointerCookie, nullptr));
        grabs.pointer = pr && pr->status == XCB_GRAB_STATUS_SUCCESS;
    }
    return grabs;
}

const X11StackKeeper::Window *X11StackKeeper::find(xcb_window_t window) const
{
    const auto it = std::find_if(m_windows.cbegin(), m_windows.cend(),
                                 [window](const Window &w) { return w.id == window; });
    return it == m_windows.cend() ? nullptr : &*it;
}

void X11StackKeeper::raise()
{
    std::vector<xcb_window_t> windows;
    {
        const std::lock_guard lock(m_mutex);
        for (const Window &window : std::as_const(m_windows))
            windows.push_back(window.id);
    }
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    for (xcb_window_t window : windows)
        xcb_configure_window(m_connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(m_connection);
}

void X11StackKeeper::restore(xcb_window_t id, bool reparent)
{
    std::optional<Window> window;
    {
        const std::lock_guard lock(m_mutex);
        if (const Window *w = find(id))
            window = *w;
    }
    if (!window)
        return;
    if (reparent)
        xcb_reparent_window(m_connection, id, m_root, window->x, window->y);
    const uint32_t values[] = {uint32_t(int32_t(window->x)), uint32_t(int32_t(window->y)),
                               window->width, window->height, 0};
    xcb_configure_window(m_connection, id,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT | XCB_CONFIG_WINDOW_BORDER_WIDTH,
                         values);
    xcb_map_window(m_connection, id);
}

void X11StackKeeper::checkInput(bool probe)
{
    xcb_connection_t *owner = nullptr;
    xcb_window_t focus = XCB_NONE;
    {
        const std::lock_guard lock(m_mutex);
        owner = m_owner;
        focus = m_focus;
    }
    if (!owner || focus == XCB_NONE)
        return;
    if (probe) {
        // Tried on the keeper's own connection: the owner's may be busy
        // sending frames, and the keeper must not wait behind them to push a
        // raised window back. A grab taken here finds the lock's lost.
        const Grabs free = grab(m_connection, m_root, true);
        if (!free.keyboard && !free.pointer)
            return;
        xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_PARENT, m_sink, XCB_CURRENT_TIME);
        if (free.keyboard)
            xcb_ungrab_keyboard(m_connection, XCB_CURRENT_TIME);
        if (free.pointer)
            xcb_ungrab_pointer(m_connection, XCB_CURRENT_TIME);
        // Done before the owner's grabs arrive on the other connection.
        sync(m_connection);
    }
    // The owner holding them already keeps them; lost ones are its own again
    // within a round trip of the loss being seen.
    const Grabs grabs = grab(owner, focus, true);
    const bool lost = !grabs.keyboard || !grabs.pointer;
    if (!probe) {
        // Keys typed while nobody holds the keyboard go to the focus window:
        // it must be ours.
        xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_PARENT, m_sink, XCB_CURRENT_TIME);
        xcb_flush(m_connection);
    }
    if (lost && m_inputLost)
        m_inputLost();
}

void X11StackKeeper::run()
{
    pollfd fds[2] = {{xcb_get_file_descriptor(m_connection), POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    auto nextProbe = std::chrono::steady_clock::now() + probeInterval;
    while (m_running) {
        bool restack = false;
        bool grabBroken = false;
        bool focusTaken = false;
        std::vector<std::pair<xcb_window_t, bool>> displaced;
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            xcb_window_t window = XCB_NONE;
            switch (event->response_type & ~0x80) {
            case XCB_MAP_NOTIFY:
                window = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
                break;
            case XCB_CONFIGURE_NOTIFY: {
                const auto *e = reinterpret_cast<xcb_configure_notify_event_t *>(event);
                window = e->window;
                const std::lock_guard lock(m_mutex);
                if (const Window *ours = find(window)) {
                    if (e->x != ours->x || e->y != ours->y || e->width != ours->width ||
                        e->height != ours->height || e->border_width != 0)
                        displaced.emplace_back(window, false);
                }
                break;
            }
            case XCB_CIRCULATE_NOTIFY:
                window = reinterpret_cast<xcb_circulate_notify_event_t *>(event)->window;
                break;
            case XCB_UNMAP_NOTIFY: {
                // Another client unmapping a panel would uncover the screen.
                const auto unmapped = reinterpret_cast<xcb_unmap_notify_event_t *>(event)->window;
                const std::lock_guard lock(m_mutex);
                if (find(unmapped)) {
                    displaced.emplace_back(unmapped, false);
                    restack = true;
                }
                break;
            }
            case XCB_REPARENT_NOTIFY: {
                const auto *e = reinterpret_cast<xcb_reparent_notify_event_t *>(event);
                const std::lock_guard lock(m_mutex);
                if (e->parent != m_root && find(e->window)) {
                    displaced.emplace_back(e->window, true);
                    restack = true;
                }
                break;
            }
            case XCB_FOCUS_OUT: {
                const auto *e = reinterpret_cast<xcb_focus_out_event_t *>(event);
                // The focus moved off the sink by another client, not by a
                // grab starting or ending: it goes back before a broken grab
                // could let keys follow it.
                if (e->event == m_sink && e->detail != XCB_NOTIFY_DETAIL_INFERIOR &&
                    e->detail != XCB_NOTIFY_DETAIL_POINTER &&
                    (e->mode == XCB_NOTIFY_MODE_NORMAL || e->mode == XCB_NOTIFY_MODE_WHILE_GRABBED))
                    focusTaken = true;
                const std::lock_guard lock(m_mutex);
                if (e->mode == XCB_NOTIFY_MODE_UNGRAB && e->event == m_focus)
                    grabBroken = true;
                break;
            }
            default:
                break;
            }
            if (window != XCB_NONE) {
                const std::lock_guard lock(m_mutex);
                if (!find(window))
                    restack = true;
            }
            std::free(event);
        }
        if (xcb_connection_has_error(m_connection))
            return;
        for (const auto &[window, reparent] : displaced)
            restore(window, reparent);
        if (restack || !displaced.empty())
            raise();
        if (focusTaken) {
            xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_PARENT, m_sink, XCB_CURRENT_TIME);
            xcb_flush(m_connection);
        }
        const auto now = std::chrono::steady_clock::now();
        if (grabBroken || now >= nextProbe) {
            checkInput(!grabBroken);
            nextProbe = now + probeInterval;
            // Waiting for its replies may have queued events that poll()
            // would not report.
            continue;
        }
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
            nextProbe - std::chrono::steady_clock::now());
        ::poll(fds, 2, int(std::max<std::chrono::milliseconds::rep>(wait.count(), 0)));
        if (fds[1].revents & POLLIN) {
            uint64_t drained = 0;
            (void)::read(m_wakeFd, &drained, sizeof drained);
        }
    }
}
