#include "x11stackkeeper.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

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
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    return m_wakeFd >= 0;
}

void X11StackKeeper::keep(const std::vector<xcb_window_t> &windows)
{
    if (windows.empty()) {
        stop();
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_windows = windows;
    }
    if (m_running) {
        raise();
        return;
    }
    if (!connect())
        return;
    // Substructure events of the root report every top-level window that maps,
    // moves or changes its place in the stack.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    raise();
    m_running = true;
    m_thread = std::thread(&X11StackKeeper::run, this);
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
    xcb_flush(m_connection);
    const std::lock_guard lock(m_mutex);
    m_windows.clear();
}

bool X11StackKeeper::isOurs(xcb_window_t window)
{
    const std::lock_guard lock(m_mutex);
    return std::find(m_windows.cbegin(), m_windows.cend(), window) != m_windows.cend();
}

void X11StackKeeper::raise()
{
    std::vector<xcb_window_t> windows;
    {
        const std::lock_guard lock(m_mutex);
        windows = m_windows;
    }
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    for (xcb_window_t window : windows)
        xcb_configure_window(m_connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(m_connection);
}

void X11StackKeeper::run()
{
    pollfd fds[2] = {{xcb_get_file_descriptor(m_connection), POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    while (m_running) {
        bool restack = false;
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            xcb_window_t window = XCB_NONE;
            switch (event->response_type & ~0x80) {
            case XCB_MAP_NOTIFY:
                window = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
                break;
            case XCB_CONFIGURE_NOTIFY:
                window = reinterpret_cast<xcb_configure_notify_event_t *>(event)->window;
                break;
            case XCB_CIRCULATE_NOTIFY:
                window = reinterpret_cast<xcb_circulate_notify_event_t *>(event)->window;
                break;
            case XCB_UNMAP_NOTIFY: {
                // Another client unmapping a panel would uncover the screen.
                const auto unmapped = reinterpret_cast<xcb_unmap_notify_event_t *>(event)->window;
                if (isOurs(unmapped)) {
                    xcb_map_window(m_connection, unmapped);
                    restack = true;
                }
                break;
            }
            default:
                break;
            }
            if (window != XCB_NONE && !isOurs(window))
                restack = true;
            std::free(event);
        }
        if (xcb_connection_has_error(m_connection))
            return;
        if (restack)
            raise();
        ::poll(fds, 2, -1);
    }
}
