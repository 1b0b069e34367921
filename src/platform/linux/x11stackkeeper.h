#pragma once

#include <xcb/xcb.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

// Keeps a set of windows at the top of the X stack. It watches the root
// window's children on a connection and a thread of its own, so a window that
// maps or raises itself above ours is pushed back under them within
// milliseconds, however busy the application's main thread is drawing.
class X11StackKeeper
{
public:
    X11StackKeeper();
    ~X11StackKeeper();
    X11StackKeeper(const X11StackKeeper &) = delete;
    X11StackKeeper &operator=(const X11StackKeeper &) = delete;

    // Starts keeping `windows` on top (or replaces the set); an empty set stops.
    // They are raised in order, so the last one given ends up topmost.
    void keep(const std::vector<xcb_window_t> &windows);
    void stop();

private:
    bool connect();
    void run();
    void raise();
    [[nodiscard]] bool isOurs(xcb_window_t window);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    int m_wakeFd = -1;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::mutex m_mutex;
    std::vector<xcb_window_t> m_windows;
};
