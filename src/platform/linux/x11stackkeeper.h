#pragma once

#include <xcb/xcb.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Keeps a set of windows at the top of the X stack, where they were put, and
// the keyboard with them. It watches the root window's children and the
// windows themselves on a connection and a thread of its own, so a window
// that maps or raises itself above ours is pushed back under them, and a
// window of ours that another client moves, resizes, reparents or unmaps is
// put back, within milliseconds however busy the application's main thread is.
//
// A keyboard grab can be lost without the grabbing client being asked: the
// server's grab-breaking key (XKB grab:break_actions) or the grab window
// becoming unviewable. The input focus is kept on a window of the keeper's
// own (`inputSink`) rather than on the grab window: keys typed without a grab
// go there and no further, and the server announces a lost grab only when the
// focus lies elsewhere (a FocusOut with NotifyUngrab on the grab window). A
// program that moves the focus away while locked has it taken back at once,
// so a grab broken later still finds the focus on the sink. A test grab every
// so often catches a loss that nothing announces. Either way the keeper takes
// the grabs back at once on the owner's connection: a grab belongs to the
// client that made it, so the owner holds it again without a hand-over that
// would leave the keyboard free for a round trip, and what is typed next
// reaches the owner's window.
class X11StackKeeper
{
public:
    struct Window
    {
        xcb_window_t id = XCB_NONE;
        int16_t x = 0;
        int16_t y = 0;
        uint16_t width = 0;
        uint16_t height = 0;
    };

    X11StackKeeper();
    ~X11StackKeeper();
    X11StackKeeper(const X11StackKeeper &) = delete;
    X11StackKeeper &operator=(const X11StackKeeper &) = delete;

    // Called on the keeper's thread when a grab was broken or could not be
    // taken back because another client holds it.
    void setInputLostHandler(std::function<void()> handler) { m_inputLost = std::move(handler); }

    // Starts keeping `windows` on top at their geometry (or replaces the set);
    // `focus` is the one that should own the grabs, made on `owner` (used
    // from the keeper's thread too, as xcb allows). An empty set stops.
    // They are raised in order, so the last one given ends up topmost.
    void keep(const std::vector<Window> &windows, xcb_window_t focus, xcb_connection_t *owner);
    void stop();
    // Grabs the keyboard and, if asked, the pointer for `window` on `c`, as
    // the lock holds them; a client that holds them already keeps them.
    // Returns which of the grabs are held.
    struct Grabs
    {
        bool keyboard = false;
        bool pointer = false;
    };
    static Grabs grab(xcb_connection_t *c, xcb_window_t window, bool pointer);
    // Where the input focus belongs while keeping: mapped while keeping.
    [[nodiscard]] xcb_window_t inputSink() const { return m_sink; }

private:
    bool connect();
    void run();
    void raise();
    void watch(const std::vector<Window> &windows);
    [[nodiscard]] const Window *find(xcb_window_t window) const;
    void restore(xcb_window_t window, bool reparent);
    // Takes the grabs back for the owner and reports those it could not;
    // `probe` says whether the pointer is tried too.
    void checkInput(bool probe);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    xcb_window_t m_sink = XCB_NONE;
    int m_wakeFd = -1;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
    mutable std::mutex m_mutex;
    std::vector<Window> m_windows;
    xcb_window_t m_focus = XCB_NONE;
    xcb_connection_t *m_owner = nullptr;
    std::function<void()> m_inputLost;
};
