#include "guard/guard.h"

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
// Grabs can be lost without notice (an XKB ungrab action, a server grab
// ending); taking them again while held costs a round trip and nothing else.
constexpr int grabCheckMs = 250;
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
    // Every signal a terminal, a shell or a stray script may send is read
    // here rather than acted on: only the watched process can make us stand
    // down (SIGUSR1, or SIGTERM when it unlocks), and nothing else ends us.
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGUSR1, SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGCHLD, SIGPIPE, SIGTSTP,
                             SIGTTIN, SIGTTOU, SIGUSR2, SIGALRM})
        sigaddset(&signals, signal);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    m_signalFd = signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
    if (m_signalFd < 0)
        return 1;

    m_watchedFd = openPidFd(m_watchedPid);
    m_watchedByPolling = m_watchedFd < 0;
    // The cover exists and is mapped, low in the stack, before it is needed:
    // Vostrel keeps it right below its panels, so when they vanish with it
    // the screen is already covered and keys land on this window.
    if (connectDisplay())
        createCover();
    if (m_watchedByPolling && isGone(m_watchedPid)) {
        watchedDied();
        if (!cover())
            return 1;
    }

    for (;;) {
        std::vector<pollfd> fds;
        fds.push_back({m_signalFd, POLLIN, 0});
        const std::size_t watchedIndex = fds.size();
        if (m_watchedFd >= 0)
            fds.push_back({m_watchedFd, POLLIN, 0});
        if (m_connection)
            fds.push_back({xcb_get_file_descriptor(m_connection), POLLIN, 0});

        if (poll(fds.data(), fds.size(), pollTimeoutMs()) < 0 && errno != EINTR)
            return 1;

        // Read before the death is looked at: a relaunched Vostrel that finds
        // another instance holding the lock relieves us and exits at once.
        if (handleSignals()) {
            uncover();
            return 0;
        }
        const bool died = (m_watchedFd >= 0 && fds[watchedIndex].revents & (POLLIN | POLLHUP)) ||
                          (m_watchedByPolling && isGone(m_watchedPid));
        if (died) {
            watchedDied();
            // Covered at once; the relaunch below waits for its back-off.
            if (!cover()) {
                // No display to cover any more (the session ended): nothing
                // is left to protect, and nothing to relaunch into.
                return 1;
            }
        }

        if (m_connection) {
            // Also drains what xcb queued while it waited for a grab's reply.
            handleXEvents();
            if (xcb_connection_has_error(m_connection)) {
                // The X server is gone, and with it everything there was to hide.
                return 1;
            }
            if (m_state == State::Covering &&
                (!m_keyboard || !m_pointer || nowMs() >= m_nextGrabCheckMs))
                tryGrab();
        }
        if (m_state == State::Covering && m_watchedFd < 0 && !m_watchedByPolling &&
            nowMs() >= m_nextRelaunchMs)
            relaunch();
        else if (m_relaunchDeadlineMs != 0 && m_watchedPid > 0 && nowMs() >= m_relaunchDeadlineMs) {
            // Hung before its lock was up: the screen would stay black for
            // good. Its death is seen above, and the next try follows.
            std::fprintf(stderr, "vostrel-guard: the relaunched Vostrel did not take over\n");
            m_relaunchDeadlineMs = 0;
            kill(m_watchedPid, SIGKILL);
        }
    }
}

bool Guard::handleSignals()
{
    signalfd_siginfo info{};
    bool standDown = false;
    while (read(m_signalFd, &info, sizeof info) == sizeof info) {
        const auto sender = static_cast<pid_t>(info.ssi_pid);
        if (info.ssi_signo == SIGCHLD) {
            while (waitpid(-1, nullptr, WNOHANG) > 0) {
            }
        } else if ((info.ssi_signo == SIGUSR1 || info.ssi_signo == SIGTERM) && m_watchedPid > 0 &&
                   sender == m_watchedPid) {
            standDown = true;
        } else {
            std::fprintf(stderr, "vostrel-guard: ignored signal %u from process %d\n",
                         info.ssi_signo, static_cast<int>(sender));
        }
    }
    return standDown;
}

void Guard::watchedDied()
{
    if (m_watchedFd >= 0)
        close(m_watchedFd);
    m_watchedFd = -1;
    m_watchedByPolling = false;
    // Until the relaunch, no process speaks for the lock.
    m_watchedPid = 0;
    m_relaunchDeadlineMs = 0;
}

int Guard::pollTimeoutMs() const
{
    int timeout = -1;
    const auto atMost = [&timeout](long long ms) {
        const int bounded = static_cast<int>(std::clamp(ms, 0LL, 60000LL));
        timeout = timeout < 0 ? bounded : std::min(timeout, bounded);
    };
    if (m_watchedByPolling)
        atMost(processPollMs);
    if (m_connection && m_state == State::Covering)
        atMost(!m_keyboard || !m_pointer ? grabRetryMs : m_nextGrabCheckMs - nowMs());
    if (m_state == State::Covering && m_watchedFd < 0 && !m_watchedByPolling)
        atMost(m_nextRelaunchMs - nowMs());
    if (m_relaunchDeadlineMs != 0)
        atMost(m_relaunchDeadlineMs - nowMs());
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

bool Guard::createCover()
{
    auto *geometry =
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, m_root), nullptr);
    const uint16_t width = geometry ? geometry->width : 8192;
    const uint16_t height = geometry ? geometry->height : 8192;
    std::free(geometry);

    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    m_cover = xcb_generate_id(m_connection);
    const uint32_t values[] = {screen->black_pixel, 1,
                               XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE};
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_cover, m_root, 0, 0, width, height, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    const char name[] = "Vostrel guard";
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_cover, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, sizeof name - 1, name);
    // A compositor must neither fade nor dim the cover: drawn at less than
    // full opacity it would show what it hides.
    const auto setCardinal = [this](const char *atomName, uint32_t value) {
        auto *atom = xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(atomName)),
                            atomName),
            nullptr);
        if (!atom)
            return;
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_cover, atom->atom,
                            XCB_ATOM_CARDINAL, 32, 1, &value);
        std::free(atom);
    };
    setCardinal("_NET_WM_WINDOW_OPACITY", 0xffffffffU);
    setCardinal("_NET_WM_BYPASS_COMPOSITOR", 1);

    // At the bottom until Vostrel lifts it to just below its panels; on top
    // it would hide the lock screen.
    const uint32_t below = XCB_STACK_MODE_BELOW;
    xcb_configure_window(m_connection, m_cover, XCB_CONFIG_WINDOW_STACK_MODE, &below);
    xcb_map_window(m_connection, m_cover);
    // Root substructure: windows mapping or rising above the cover.
    // Root structure: the screen changing size.
    const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &rootMask);
    // A round trip: the server has made and stacked the window before
    // Vostrel, on a connection of its own, is told to restack it.
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    if (xcb_connection_has_error(m_connection))
        return false;

    // Vostrel reads the window from our output; afterwards the output goes
    // where errors go, so a relaunched Vostrel never writes into a pipe whose
    // reader has died.
    std::printf("cover %u\n", static_cast<unsigned>(m_cover));
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    return true;
}

bool Guard::cover()
{
    m_state = State::Covering;
    if (!m_connection && !connectDisplay())
        return false;
    if (m_cover == XCB_NONE && !createCover())
        return false;
    xcb_map_window(m_connection, m_cover);
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
    m_nextGrabCheckMs = nowMs() + grabCheckMs;
    xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_PARENT, m_cover, XCB_CURRENT_TIME);
    auto *keyboard =
        xcb_grab_keyboard_reply(m_connection,
                                xcb_grab_keyboard(m_connection, 0, m_cover, XCB_CURRENT_TIME,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                nullptr);
    m_keyboard = keyboard && keyboard->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(keyboard);
    auto *pointer = xcb_grab_pointer_reply(
        m_connection,
        xcb_grab_pointer(m_connection, 0, m_cover, XCB_EVENT_MASK_BUTTON_PRESS, XCB_GRAB_MODE_ASYNC,
                         XCB_GRAB_MODE_ASYNC, m_cover, XCB_NONE, XCB_CURRENT_TIME),
        nullptr);
    m_pointer = pointer && pointer->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(pointer);
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
            // While Vostrel lives it maps the cover back itself, and takes it
            // down with its panels at the unlock.
            if (reinterpret_cast<xcb_unmap_notify_event_t *>(event)->window == m_cover &&
                m_cover != XCB_NONE && m_state == State::Covering) {
                xcb_map_window(m_connection, m_cover);
                restack = true;
            }
            break;
        default:
            break;
        }
        std::free(event);
    }
    // While Vostrel lives, its own stack keeper places the cover; a guard
    // raising it too would fight the panels for the top.
    if (m_state == State::Covering && restack)
        raise();
    else
        xcb_flush(m_connection);
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
    m_relaunchDeadlineMs = nowMs() + m_options.relaunchPatienceMs;
    m_watchedFd = openPidFd(child);
    m_watchedByPolling = m_watchedFd < 0;
}
