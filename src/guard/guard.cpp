#include "guard.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <spawn.h>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {
constexpr int grabRetryMs = 50;
constexpr int processPollMs = 100;
constexpr int maxRelaunchDelayMs = 30000;

long long nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int openPidFd(pid_t pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

// Without pidfds: a process is gone once it no longer exists or is a zombie.
bool isGone(pid_t pid)
{
    if (kill(pid, 0) != 0 && errno == ESRCH)
        return true;
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
    FILE *stat = std::fopen(path, "r");
    if (!stat)
        return true;
    char line[512] = {};
    const bool read = std::fgets(line, sizeof line, stat) != nullptr;
    std::fclose(stat);
    const char *end = read ? std::strrchr(line, ')') : nullptr;
    return end && end[1] == ' ' && end[2] == 'Z';
}
} // namespace

Guard::Guard(Options options)
    : m_options(std::move(options))
    , m_watchedPid(m_options.appPid)
{}

Guard::~Guard()
{
    if (m_connection)
        xcb_disconnect(m_connection);
    if (m_watchedFd >= 0)
        close(m_watchedFd);
    if (m_signalFd >= 0)
        close(m_signalFd);
}

int Guard::run()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGUSR1); // stand down
    sigaddset(&signals, SIGTERM); // stand down (Vostrel unlocked)
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGHUP);
    sigaddset(&signals, SIGCHLD);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    m_signalFd = signalfd(-1, &signals, SFD_CLOEXEC);

    m_watchedFd = openPidFd(m_watchedPid);
    m_watchedByPolling = m_watchedFd < 0;
    if (m_watchedByPolling && isGone(m_watchedPid) && !cover())
        return 1;

    for (;;) {
        std::vector<pollfd> fds;
        fds.push_back({m_signalFd, POLLIN, 0});
        const std::size_t watchedIndex = fds.size();
        if (m_watchedFd >= 0)
            fds.push_back({m_watchedFd, POLLIN, 0});
        const std::size_t xIndex = fds.size();
        if (m_connection)
            fds.push_back({xcb_get_file_descriptor(m_connection), POLLIN, 0});

        const int ready = poll(fds.data(), fds.size(), pollTimeoutMs());
        if (ready < 0 && errno != EINTR)
            return 1;

        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info{};
            while (read(m_signalFd, &info, sizeof info) == sizeof info) {
                if (info.ssi_signo == SIGCHLD) {
                    while (waitpid(-1, nullptr, WNOHANG) > 0) {
                    }
                    continue;
                }
                if (info.ssi_signo == SIGHUP)
                    continue;
                // SIGTERM while covering comes from someone else than a
                // Vostrel that has its lock up: keep covering.
                if (info.ssi_signo == SIGUSR1 || m_state == State::Watching) {
                    uncover();
                    return 0;
                }
            }
        }

        const bool watchedDied =
            (m_watchedFd >= 0 && fds[watchedIndex].revents & (POLLIN | POLLHUP)) ||
            (m_watchedByPolling && isGone(m_watchedPid));
        if (watchedDied) {
            if (m_watchedFd >= 0)
                close(m_watchedFd);
            m_watchedFd = -1;
            m_watchedByPolling = false;
            // Covered at once; the relaunch below waits for its back-off.
            if (!cover()) {
                // No display to cover any more (the session ended): nothing
                // is left to protect, and nothing to relaunch into.
                return 1;
            }
        }

        if (m_connection) {
            if (xIndex < fds.size() && fds[xIndex].revents)
                handleXEvents();
            if (xcb_connection_has_error(m_connection)) {
                // The X server is gone, and with it everything there was to hide.
                return 1;
            }
            if (!m_keyboard || !m_pointer)
                tryGrab();
        }
        if (m_state == State::Covering && m_watchedFd < 0 && !m_watchedByPolling &&
            nowMs() >= m_nextRelaunchMs)
            relaunch();
    }
}

int Guard::pollTimeoutMs() const
{
    int timeout = -1;
    if (m_watchedByPolling)
        timeout = processPollMs;
    if (m_connection && (!m_keyboard || !m_pointer))
        timeout = timeout < 0 ? grabRetryMs : std::min(timeout, grabRetryMs);
    if (m_state == State::Covering && m_watchedFd < 0 && !m_watchedByPolling) {
        const long long wait = std::max(0LL, m_nextRelaunchMs - nowMs());
        timeout =
            timeout < 0 ? static_cast<int>(wait) : std::min<int>(timeout, static_cast<int>(wait));
    }
    return timeout;
}

bool Guard::connectDisplay()
{
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
    return true;
}

bool Guard::cover()
{
    m_state = State::Covering;
    if (!m_connection && !connectDisplay())
        return false;
    if (m_cover == XCB_NONE) {
        auto *geometry =
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, m_root), nullptr);
        const uint16_t width = geometry ? geometry->width : 8192;
        const uint16_t height = geometry ? geometry->height : 8192;
        std::free(geometry);

        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        m_cover = xcb_generate_id(m_connection);
        const uint32_t values[] = {screen->black_pixel, 1,
                                   XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE};
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_cover, m_root, 0, 0, width, height,
                          0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                          XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
        const char name[] = "Vostrel guard";
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_cover, XCB_ATOM_WM_NAME,
                            XCB_ATOM_STRING, 8, sizeof name - 1, name);
        xcb_map_window(m_connection, m_cover);
        // Root substructure: windows mapping or rising above the cover.
        // Root structure: the screen changing size.
        const uint32_t rootMask =
            XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &rootMask);
    }
    raise();
    tryGrab();
    return true;
}

void Guard::uncover()
{
    if (!m_connection)
        return;
    if (m_keyboard)
        xcb_ungrab_keyboard(m_connection, XCB_CURRENT_TIME);
    if (m_pointer)
        xcb_ungrab_pointer(m_connection, XCB_CURRENT_TIME);
    if (m_cover != XCB_NONE)
        xcb_destroy_window(m_connection, m_cover);
    xcb_flush(m_connection);
    m_cover = XCB_NONE;
}

void Guard::raise()
{
    if (m_cover == XCB_NONE)
        return;
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(m_connection, m_cover, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(m_connection);
}

void Guard::tryGrab()
{
    if (m_cover == XCB_NONE)
        return;
    if (!m_keyboard) {
        xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_PARENT, m_cover, XCB_CURRENT_TIME);
        auto *reply =
            xcb_grab_keyboard_reply(m_connection,
                                    xcb_grab_keyboard(m_connection, 0, m_cover, XCB_CURRENT_TIME,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                    nullptr);
        m_keyboard = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(reply);
    }
    if (!m_pointer) {
        auto *reply = xcb_grab_pointer_reply(
            m_connection,
            xcb_grab_pointer(m_connection, 0, m_cover, XCB_EVENT_MASK_BUTTON_PRESS,
                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, m_cover, XCB_NONE,
                             XCB_CURRENT_TIME),
            nullptr);
        m_pointer = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(reply);
    }
}

void Guard::handleXEvents()
{
    bool restack = false;
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
        switch (event->response_type & ~0x80) {
        case XCB_MAP_NOTIFY:
            restack |= reinterpret_cast<xcb_map_notify_event_t *>(event)->window != m_cover;
            break;
        case XCB_CIRCULATE_NOTIFY:
            restack |= reinterpret_cast<xcb_circulate_notify_event_t *>(event)->window != m_cover;
            break;
        case XCB_CONFIGURE_NOTIFY: {
            const auto *configure = reinterpret_cast<xcb_configure_notify_event_t *>(event);
            if (configure->window == m_root && m_cover != XCB_NONE) {
                const uint32_t size[] = {configure->width, configure->height};
                xcb_configure_window(m_connection, m_cover,
                                     XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
            }
            restack |= configure->window != m_cover;
            break;
        }
        case XCB_UNMAP_NOTIFY:
            if (reinterpret_cast<xcb_unmap_notify_event_t *>(event)->window == m_cover &&
                m_cover != XCB_NONE) {
                xcb_map_window(m_connection, m_cover);
                restack = true;
            }
            break;
        default:
            break;
        }
        std::free(event);
    }
    if (restack)
        raise();
}

void Guard::relaunch()
{
    // The relaunched Vostrel is watched like the first: should it die before
    // it has the lock up, it is started again, less and less often.
    const std::string pidText = std::to_string(getpid());
    std::vector<std::string> environment;
    for (char **entry = environ; *entry; ++entry) {
        if (std::strncmp(*entry, "VOSTREL_GUARD_PID=", 18) != 0)
            environment.emplace_back(*entry);
    }
    environment.push_back("VOSTREL_GUARD_PID=" + pidText);
    std::vector<char *> envp;
    for (std::string &entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    std::string program = m_options.appPath;
    std::string relock = "--relock";
    char *argv[] = {program.data(), relock.data(), nullptr};

    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    pid_t child = 0;
    const int error = posix_spawn(&child, program.c_str(), nullptr, &attributes, argv, envp.data());
    posix_spawnattr_destroy(&attributes);

    const int delay = std::min(maxRelaunchDelayMs, 1000 << std::min(m_relaunches, 5));
    ++m_relaunches;
    m_nextRelaunchMs = nowMs() + delay;
    if (error != 0) {
        std::fprintf(stderr, "vostrel-guard: could not start %s: %s\n", program.c_str(),
                     std::strerror(error));
        return;
    }
    m_watchedPid = child;
    m_watchedFd = openPidFd(child);
    m_watchedByPolling = m_watchedFd < 0;
}
