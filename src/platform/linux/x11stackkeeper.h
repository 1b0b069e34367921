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
// test grab every so often catches a loss that nothing announces. Either way
// the keeper at once grabs the keyboard itself, as a bridge, so typed keys are
// swallowed even if another client has moved the focus meanwhile, and tells
// the owner, which drops the bridge and grabs again on its own connection.
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

    // Called on the keeper's thread when the keyboard or pointer grab was
    // found lost; the owner grabs again (after releaseBridge()).
    void setInputLostHandler(std::function<void()> handler) { m_inputLost = std::move(handler); }

    // Starts keeping `windows` on top at their geometry (or replaces the set);
    // `focus` is the one that should own the keyboard. An empty set stops.
    // They are raised in order, so the last one given ends up topmost.
    void keep(const std::vector<Window> &windows, xcb_window_t focus);
    void stop();
    // Lets go of the keyboard if the keeper took it as a bridge; returns once
    // the server has processed the release, so a grab that follows from
    // another connection succeeds.
    void releaseBridge();
    // Where the input focus belongs while keeping: mapped while keeping.
    [[nodiscard]] xcb_window_t inputSink() const { return m_sink; }

private:
    bool connect();
    void run();
    void raise();
    void watch(const std::vector<Window> &windows);
    [[nodiscard]] const Window *find(xcb_window_t window) const;
    void restore(xcb_window_t window, bool reparent);
    // Takes the keyboard as a bridge when nobody holds it and reports a loss
    // of either grab; `probe` says whether the pointer is tried too.
    void checkInput(bool probe);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    xcb_window_t m_sink = XCB_NONE;
    int m_wakeFd = -1;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_bridge{false};
    mutable std::mutex m_mutex;
    std::vector<Window> m_windows;
    xcb_window_t m_focus = XCB_NONE;
    std::function<void()> m_inputLost;
};
