#pragma once

#include <xcb/xcb.h>

#include <string>
#include <sys/types.h>

// Watches one Vostrel process and covers the screen when it dies.
class Guard
{
public:
    struct Options
    {
        pid_t appPid = 0;
        std::string appPath;
        // How long a relaunched Vostrel may take to raise its lock and relieve
        // us before it counts as hung and is started afresh.
        int relaunchPatienceMs = 60000;
    };

    explicit Guard(Options options);
    ~Guard();
    Guard(const Guard &) = delete;
    Guard &operator=(const Guard &) = delete;

    // Returns the exit status: 0 after standing down.
    int run();

private:
    enum class State { Watching, Covering };

    bool connectDisplay();
    bool createCover();
    // False when there is no display to cover.
    bool cover();
    void uncover();
    void tryGrab();
    void raise();
    void handleXEvents();
    // True when the watched process told us to stand down.
    bool handleSignals();
    void watchedDied();
    void relaunch();
    [[nodiscard]] int pollTimeoutMs() const;

    Options m_options;
    State m_state = State::Watching;
    int m_signalFd = -1;
    int m_watchedFd = -1; // pidfd of the process whose death we cover for
    pid_t m_watchedPid = 0;
    bool m_watchedByPolling = false;

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    xcb_window_t m_cover = XCB_NONE;
    bool m_keyboard = false;
    bool m_pointer = false;
    long long m_nextGrabCheckMs = 0;

    int m_relaunches = 0;
    long long m_nextRelaunchMs = 0;
    long long m_relaunchDeadlineMs = 0; // 0: not watching a relaunch
};
