// Times a screen locker on the X display: from the command (or the D-Bus call)
// to every monitor covered, from the last PIN digit typed to the lock gone,
// and from the launch of the application to its D-Bus name and tray icon.
// Works for any locker: "covered" means a viewable window directly under the
// root contains each monitor's rectangle and someone holds the keyboard (our
// own grab of the root window fails with AlreadyGrabbed).
//
//   vostrel-bench-locklatency lock RUNS [OPTIONS] --dbus
//   vostrel-bench-locklatency lock RUNS [OPTIONS] -- COMMAND [ARGS...]
//       --dbus runs the LockScreen method of the running Vostrel; otherwise
//       COMMAND runs in a process group of its own. Each lock ends with
//       UnlockScreen(PIN) when --pin is given, else with SIGTERM to the
//       command's process group.
//   vostrel-bench-locklatency unlock RUNS PIN [OPTIONS]
//       locks the running Vostrel through D-Bus, then types PIN through XTEST
//       (as xdotool does): from the key press of the last digit to the lock
//       gone.
//   vostrel-bench-locklatency startup RUNS [OPTIONS] -- COMMAND [ARGS...]
//       launches the application: to its D-Bus name owned and to its tray
//       icon viewable in trayer (an XEmbed tray); ends it with SIGTERM.
//   vostrel-bench-locklatency wait locked|unlocked [OPTIONS]
//       waits (at most --timeout MS, 10 s by default) until the screen is
//       locked, or free again; exits 1 when it is not. With --pin, a panel
//       Vostrel left on screen after its unlock is cleared (and counted).
//   vostrel-bench-locklatency info
//       the Qt version this tool runs with.
//
// OPTIONS: --monitors WxH+X+Y[,WxH+X+Y...] (default: the whole root window)
//          --pin PIN   --pause MS (between runs)   --warmup N (runs not counted)
//          --settle MS (unlock: after the lock, before typing)
//          --delay MS (unlock: between digits)
//          --output FILE (the command's output goes there, appended)
//          --timeout MS (wait)
//
// Every run prints a line; the last line is
//   result: n=N median=… p10=… p90=… min=… max=… [first=…]
// in milliseconds, for scripts to read (startup prints one for each figure).
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const QString serviceName = QStringLiteral("app.vostrel.Vostrel");

struct Rect
{
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    [[nodiscard]] bool contains(const Rect &o) const
    {
        return x <= o.x && y <= o.y && x + w >= o.x + o.w && y + h >= o.y + o.h;
    }
};

// The process group of the command being measured, stopped should we be.
volatile pid_t runningGroup = 0;

void onSignal(int sig)
{
    if (runningGroup > 0)
        kill(-runningGroup, SIGKILL);
    std::signal(sig, SIG_DFL);
    raise(sig);
}

[[noreturn]] void die(const char *message)
{
    std::fprintf(stderr, "vostrel-bench-locklatency: %s\n", message);
    if (runningGroup > 0)
        kill(-runningGroup, SIGKILL);
    std::exit(1);
}

class Display
{
public:
    explicit Display(std::vector<Rect> monitors)
        : m_monitors(std::move(monitors))
    {
        int screenNumber = 0;
        m_c = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(m_c))
            die("cannot connect to the X display");
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_c));
        for (int i = 0; i < screenNumber; ++i)
            xcb_screen_next(&it);
        m_root = it.data->root;
        if (m_monitors.empty())
            m_monitors.push_back({0, 0, it.data->width_in_pixels, it.data->height_in_pixels});
    }
    ~Display() { xcb_disconnect(m_c); }
    Display(const Display &) = delete;
    Display &operator=(const Display &) = delete;

    xcb_connection_t *connection() const { return m_c; }
    xcb_window_t root() const { return m_root; }

    // How many monitors a viewable window directly under the root covers.
    int coveredMonitors() const
    {
        const std::vector<Rect> windows = viewableTopLevels();
        int covered = 0;
        for (const Rect &monitor : m_monitors) {
            covered += std::any_of(windows.cbegin(), windows.cend(),
                                   [&](const Rect &w) { return w.contains(monitor); })
                           ? 1
                           : 0;
        }
        return covered;
    }
    bool allCovered() const { return coveredMonitors() == int(m_monitors.size()); }

    // Whether another client holds the keyboard. The probe lets go in the
    // same batch of requests, so it never keeps a locker from grabbing.
    bool keyboardHeld() const
    {
        const xcb_grab_keyboard_cookie_t cookie = xcb_grab_keyboard(
            m_c, 0, m_root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_ungrab_keyboard(m_c, XCB_CURRENT_TIME);
        xcb_flush(m_c);
        xcb_grab_keyboard_reply_t *reply = xcb_grab_keyboard_reply(m_c, cookie, nullptr);
        const bool held = reply && (reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED ||
                                    reply->status == XCB_GRAB_STATUS_FROZEN);
        std::free(reply);
        return held;
    }

    bool locked() const { return allCovered() && keyboardHeld(); }
    bool uncovered() const { return coveredMonitors() == 0 && !keyboardHeld(); }

    // The key code that types DIGIT in the current keyboard map.
    xcb_keycode_t keycodeForDigit(char digit) const
    {
        const xcb_setup_t *setup = xcb_get_setup(m_c);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        auto *map = xcb_get_keyboard_mapping_reply(
            m_c, xcb_get_keyboard_mapping(m_c, setup->min_keycode, uint8_t(count)), nullptr);
        if (!map)
            die("no keyboard mapping");
        const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(map);
        const int perCode = map->keysyms_per_keycode;
        xcb_keycode_t found = 0;
        for (int i = 0; i < count && !found; ++i) {
            if (perCode > 0 && syms[i * perCode] == xcb_keysym_t(digit))
                found = xcb_keycode_t(setup->min_keycode + i);
        }
        std::free(map);
        if (!found)
            die("a PIN digit has no key in the keyboard map");
        return found;
    }

    void pressAndRelease(xcb_keycode_t code) const
    {
        xcb_test_fake_input(m_c, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(m_c, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(m_c);
    }

    // Whether a viewable window of class "vostrel" sits inside trayer's panel.
    bool trayIconShown() const
    {
        std::vector<xcb_window_t> level = trayerWindows();
        for (int depth = 0; depth < 8 && !level.empty(); ++depth) {
            std::vector<xcb_query_tree_cookie_t> trees;
            for (const xcb_window_t w : level)
                trees.push_back(xcb_query_tree(m_c, w));
            std::vector<xcb_window_t> next;
            for (const auto &cookie : trees) {
                auto *tree = xcb_query_tree_reply(m_c, cookie, nullptr);
                if (!tree)
                    continue;
                const xcb_window_t *children = xcb_query_tree_children(tree);
                next.insert(next.end(), children, children + xcb_query_tree_children_length(tree));
                std::free(tree);
            }
            std::vector<xcb_get_property_cookie_t> classes;
            std::vector<xcb_get_window_attributes_cookie_t> attributes;
            for (const xcb_window_t w : next) {
                classes.push_back(
                    xcb_get_property(m_c, 0, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64));
                attributes.push_back(xcb_get_window_attributes(m_c, w));
            }
            bool shown = false;
            for (std::size_t i = 0; i < next.size(); ++i) {
                auto *cls = xcb_get_property_reply(m_c, classes[i], nullptr);
                auto *attr = xcb_get_window_attributes_reply(m_c, attributes[i], nullptr);
                const bool ours = cls && xcb_get_property_value_length(cls) >= 8 &&
                                  std::memcmp(xcb_get_property_value(cls), "vostrel", 8) == 0;
                shown = shown || (ours && attr && attr->map_state == XCB_MAP_STATE_VIEWABLE);
                std::free(cls);
                std::free(attr);
            }
            if (shown)
                return true;
            level = std::move(next);
        }
        return false;
    }

private:
    std::vector<Rect> viewableTopLevels() const
    {
        std::vector<Rect> result;
        auto *tree = xcb_query_tree_reply(m_c, xcb_query_tree(m_c, m_root), nullptr);
        if (!tree)
            return result;
        const int count = xcb_query_tree_children_length(tree);
        const xcb_window_t *children = xcb_query_tree_children(tree);
        std::vector<xcb_get_window_attributes_cookie_t> attributes;
        std::vector<xcb_get_geometry_cookie_t> geometries;
        for (int i = 0; i < count; ++i) {
            attributes.push_back(xcb_get_window_attributes(m_c, children[i]));
            geometries.push_back(xcb_get_geometry(m_c, children[i]));
        }
        for (int i = 0; i < count; ++i) {
            auto *a = xcb_get_window_attributes_reply(m_c, attributes[i], nullptr);
            auto *g = xcb_get_geometry_reply(m_c, geometries[i], nullptr);
            if (a && g && a->map_state == XCB_MAP_STATE_VIEWABLE &&
                a->_class != XCB_WINDOW_CLASS_INPUT_ONLY)
                result.push_back(
                    {g->x, g->y, g->width + 2 * g->border_width, g->height + 2 * g->border_width});
            std::free(a);
            std::free(g);
        }
        std::free(tree);
        return result;
    }

    // Trayer's top-level windows: its panel ("panel" "trayer") and others.
    std::vector<xcb_window_t> trayerWindows() const
    {
        std::vector<xcb_window_t> found;
        auto *tree = xcb_query_tree_reply(m_c, xcb_query_tree(m_c, m_root), nullptr);
        if (!tree)
            return found;
        const int count = xcb_query_tree_children_length(tree);
        const xcb_window_t *children = xcb_query_tree_children(tree);
        std::vector<xcb_get_property_cookie_t> classes;
        for (int i = 0; i < count; ++i)
            classes.push_back(
                xcb_get_property(m_c, 0, children[i], XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64));
        for (int i = 0; i < count; ++i) {
            auto *cls = xcb_get_property_reply(m_c, classes[i], nullptr);
            if (cls) {
                const std::string value(static_cast<const char *>(xcb_get_property_value(cls)),
                                        std::size_t(xcb_get_property_value_length(cls)));
                if (value.find("trayer") != std::string::npos)
                    found.push_back(children[i]);
            }
            std::free(cls);
        }
        std::free(tree);
        return found;
    }

    xcb_connection_t *m_c = nullptr;
    xcb_window_t m_root = XCB_NONE;
    std::vector<Rect> m_monitors;
};

struct Options
{
    std::vector<Rect> monitors;
    std::optional<QString> pin;
    int pauseMs = 0;
    int warmup = 0;
    int settleMs = 1000;
    int delayMs = 40;
    bool dbus = false;
    int timeoutMs = 10000;
    std::string output;
    std::vector<std::string> command;
};

std::vector<Rect> parseMonitors(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)x(\\d+)\\+(\\d+)\\+(\\d+)$"));
    std::vector<Rect> result;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = pattern.match(part.trimmed());
        if (!m.hasMatch())
            die("--monitors takes WxH+X+Y[,WxH+X+Y...]");
        result.push_back({m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(),
                          m.captured(2).toInt()});
    }
    return result;
}

Options parseOptions(const QStringList &args, int from, int pauseMs)
{
    Options o;
    o.pauseMs = pauseMs;
    for (int i = from; i < args.size(); ++i) {
        const QString &a = args[i];
        const auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                die("an option lacks its value");
            return args[++i];
        };
        if (a == QLatin1String("--")) {
            for (++i; i < args.size(); ++i)
                o.command.push_back(args[i].toStdString());
        } else if (a == QLatin1String("--dbus")) {
            o.dbus = true;
        } else if (a == QLatin1String("--monitors")) {
            o.monitors = parseMonitors(value());
        } else if (a == QLatin1String("--pin")) {
            o.pin = value();
        } else if (a == QLatin1String("--pause")) {
            o.pauseMs = value().toInt();
        } else if (a == QLatin1String("--warmup")) {
            o.warmup = value().toInt();
        } else if (a == QLatin1String("--settle")) {
            o.settleMs = value().toInt();
        } else if (a == QLatin1String("--delay")) {
            o.delayMs = value().toInt();
        } else if (a == QLatin1String("--output")) {
            o.output = value().toStdString();
        } else if (a == QLatin1String("--timeout")) {
            o.timeoutMs = value().toInt();
        } else {
            die(qPrintable(QStringLiteral("unknown option %1").arg(a)));
        }
    }
    return o;
}

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Polls CONDITION every half millisecond for at most LIMIT_MS.
template<typename Condition> bool waitFor(Condition condition, int limitMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > limitMs)
            return false;
        QThread::usleep(500);
    }
    return true;
}

pid_t spawn(const std::vector<std::string> &command, const std::string &output)
{
    const pid_t pid = fork();
    if (pid < 0)
        die("fork failed");
    if (pid == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (!output.empty()) {
            const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
            if (fd >= 0) {
                dup2(fd, STDOUT_FILENO);
                dup2(fd, STDERR_FILENO);
            }
        }
        std::vector<char *> argv;
        for (const std::string &s : command)
            argv.push_back(const_cast<char *>(s.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        std::perror(argv[0]);
        _exit(127);
    }
    setpgid(pid, pid);
    runningGroup = pid;
    return pid;
}

// Waits for PID to end, for at most LIMIT_MS; true when it did.
bool reap(pid_t pid, int limitMs)
{
    return waitFor([pid] { return waitpid(pid, nullptr, WNOHANG) != 0; }, limitMs);
}

// SIGTERM to the process group, SIGKILL should it not end within 5 s.
void stopGroup(pid_t pid)
{
    kill(-pid, SIGTERM);
    if (!reap(pid, 5000)) {
        kill(-pid, SIGKILL);
        reap(pid, 2000);
    }
    // What else ran in the group (a forked locker) goes too.
    kill(-pid, SIGKILL);
    runningGroup = 0;
}

QDBusMessage vostrelCall(const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(serviceName, QStringLiteral("/app/vostrel/Vostrel"),
                                       QStringLiteral("app.vostrel.Vostrel"), method);
    message.setArguments(arguments);
    return message;
}

void unlockThroughDBus(const QString &pin)
{
    const QDBusMessage reply = QDBusConnection::sessionBus().call(
        vostrelCall(QStringLiteral("UnlockScreen"), {pin}), QDBus::Block, 10000);
    if (reply.arguments().value(0).toBool() != true)
        die("UnlockScreen did not accept the PIN");
}

bool screenLocked()
{
    const QDBusMessage reply = QDBusConnection::sessionBus().call(
        vostrelCall(QStringLiteral("GetStatus")), QDBus::Block, 10000);
    return reply.arguments().value(0).toString().contains(QLatin1String("locked"));
}

// A panel left on screen after the application reported the unlock: locks
// and unlocks again (not measured) until the screen is free, at most three
// times. Counted, so that the table can say how often it happened.
int leftOvers = 0;

void clearLeftOver(const Display &display, const QString &pin)
{
    ++leftOvers;
    std::printf("a panel stayed on screen after the unlock; locking and unlocking again\n");
    for (int attempt = 0; attempt < 3; ++attempt) {
        QDBusConnection::sessionBus().asyncCall(vostrelCall(QStringLiteral("LockScreen")));
        if (!waitFor([&] { return display.locked(); }, 10000))
            die("the screen was not locked within 10 s");
        unlockThroughDBus(pin);
        if (waitFor([&] { return display.uncovered(); }, 3000))
            return;
    }
    die("a panel stays on screen after three more unlocks");
}

void waitUntilFree(const Display &display)
{
    if (!waitFor([&] { return display.uncovered(); }, 10000)) {
        std::fprintf(stderr, "monitors covered: %d, keyboard held: %s\n", display.coveredMonitors(),
                     display.keyboardHeld() ? "yes" : "no");
        die("the lock did not go away within 10 s");
    }
}

double percentile(const std::vector<double> &sorted, double p)
{
    const std::size_t rank = std::size_t(std::ceil(p * double(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

void printResult(const char *label, std::vector<double> samples, std::optional<double> first)
{
    if (samples.empty()) {
        std::printf("%s n=0\n", label);
        return;
    }
    std::sort(samples.begin(), samples.end());
    const double median = samples.size() % 2 == 1
                              ? samples[samples.size() / 2]
                              : (samples[samples.size() / 2 - 1] + samples[samples.size() / 2]) / 2;
    std::printf("%s n=%zu median=%.1f p10=%.1f p90=%.1f min=%.1f max=%.1f", label, samples.size(),
                median, percentile(samples, 0.1), percentile(samples, 0.9), samples.front(),
                samples.back());
    if (first)
        std::printf(" first=%.1f", *first);
    std::printf("\n");
    std::fflush(stdout);
}

int lockMode(int runs, const Options &o)
{
    if (!o.dbus && o.command.empty())
        die("lock needs --dbus or -- COMMAND");
    Display display(o.monitors);
    std::vector<double> samples;
    std::optional<double> first;
    for (int run = 0; run < o.warmup + runs; ++run) {
        if (!display.uncovered())
            die("the screen is covered or the keyboard held before locking");
        pid_t pid = 0;
        QElapsedTimer timer;
        timer.start();
        if (o.dbus)
            QDBusConnection::sessionBus().asyncCall(vostrelCall(QStringLiteral("LockScreen")));
        else
            pid = spawn(o.command, o.output);
        if (!waitFor([&] { return display.locked(); }, 10000))
            die("the screen was not locked within 10 s");
        const double ms = msSince(timer);
        if (run < o.warmup) {
            std::printf("warm-up %d: %.1f ms\n", run + 1, ms);
            if (!first)
                first = ms;
        } else {
            samples.push_back(ms);
            std::printf("run %2d: %.1f ms\n", run + 1 - o.warmup, ms);
        }
        std::fflush(stdout);

        if (o.pin) {
            unlockThroughDBus(*o.pin);
            if (pid > 0 && !reap(pid, 5000))
                stopGroup(pid);
            runningGroup = 0;
            if (!waitFor([&] { return display.uncovered(); }, 3000))
                clearLeftOver(display, *o.pin);
        } else if (pid > 0) {
            stopGroup(pid);
        }
        waitUntilFree(display);
        QThread::msleep(ulong(o.pauseMs));
    }
    if (leftOvers > 0)
        std::printf("left-over: %d\n", leftOvers);
    printResult("result:", samples, first);
    return 0;
}

int unlockMode(int runs, const QString &pin, const Options &o)
{
    Display display(o.monitors);
    std::vector<xcb_keycode_t> codes;
    for (const QChar ch : pin)
        codes.push_back(display.keycodeForDigit(char(ch.toLatin1())));
    if (codes.empty())
        die("an empty PIN");
    std::vector<double> samples;
    int failures = 0;
    for (int run = 0; run < o.warmup + runs; ++run) {
        if (!display.uncovered())
            die("the screen is covered or the keyboard held before locking");
        QDBusConnection::sessionBus().asyncCall(vostrelCall(QStringLiteral("LockScreen")));
        if (!waitFor([&] { return display.locked(); }, 10000))
            die("the screen was not locked within 10 s");
        QThread::msleep(ulong(o.settleMs));
        for (std::size_t i = 0; i + 1 < codes.size(); ++i) {
            display.pressAndRelease(codes[i]);
            QThread::msleep(ulong(o.delayMs));
        }
        QElapsedTimer timer;
        timer.start();
        display.pressAndRelease(codes.back());
        if (!waitFor([&] { return display.uncovered(); }, 5000)) {
            if (screenLocked()) {
                ++failures;
                std::printf("run %2d: the typed PIN did not unlock within 5 s\n", run + 1);
                unlockThroughDBus(pin);
            }
            if (!waitFor([&] { return display.uncovered(); }, 3000))
                clearLeftOver(display, pin);
        } else {
            const double ms = msSince(timer);
            if (run < o.warmup) {
                std::printf("warm-up %d: %.1f ms\n", run + 1, ms);
            } else {
                samples.push_back(ms);
                std::printf("run %2d: %.1f ms\n", run + 1 - o.warmup, ms);
            }
        }
        std::fflush(stdout);
        QThread::msleep(ulong(o.pauseMs));
    }
    if (failures > 0)
        std::printf("failures: %d\n", failures);
    if (leftOvers > 0)
        std::printf("left-over: %d\n", leftOvers);
    printResult("result:", samples, std::nullopt);
    return failures > 0 ? 1 : 0;
}

int startupMode(int runs, const Options &o)
{
    if (o.command.empty())
        die("startup needs -- COMMAND");
    Display display(o.monitors);
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    const auto nameOwned = [&] {
        return bus->isServiceRegistered(serviceName).value();
    };
    if (nameOwned())
        die("the application already runs");
    std::vector<double> toName;
    std::vector<double> toTray;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const pid_t pid = spawn(o.command, o.output);
        std::optional<double> name;
        std::optional<double> tray;
        while ((!name || !tray) && timer.elapsed() < 20000) {
            if (!name && nameOwned())
                name = msSince(timer);
            if (!tray && display.trayIconShown())
                tray = msSince(timer);
            if (waitpid(pid, nullptr, WNOHANG) == pid) {
                runningGroup = 0;
                die("the application ended during start-up");
            }
            QThread::usleep(500);
        }
        std::printf(
            "run %d: D-Bus name %s, tray icon %s\n", run + 1,
            name ? qPrintable(QString::number(*name, 'f', 1) + QStringLiteral(" ms")) : "never",
            tray ? qPrintable(QString::number(*tray, 'f', 1) + QStringLiteral(" ms")) : "never");
        std::fflush(stdout);
        if (name)
            toName.push_back(*name);
        if (tray)
            toTray.push_back(*tray);
        // Give it time to settle, as a launch at login would, then end it.
        QThread::msleep(500);
        stopGroup(pid);
        if (!waitFor([&] { return !nameOwned(); }, 5000))
            die("the D-Bus name stayed after the application ended");
        QThread::msleep(ulong(o.pauseMs));
    }
    printResult("result-name:", toName, std::nullopt);
    printResult("result-tray:", toTray, std::nullopt);
    return 0;
}

int waitMode(const QString &state, const Options &o)
{
    Display display(o.monitors);
    const bool wantLocked = state == QLatin1String("locked");
    bool reached =
        waitFor([&] { return wantLocked ? display.locked() : display.uncovered(); }, o.timeoutMs);
    if (!reached && !wantLocked && o.pin && !screenLocked()) {
        clearLeftOver(display, *o.pin);
        std::printf("left-over: %d\n", leftOvers);
        reached = true;
    }
    if (!reached)
        std::fprintf(stderr,
                     "vostrel-bench-locklatency: the screen was not %s within %d ms "
                     "(monitors covered: %d, keyboard held: %s)\n",
                     wantLocked ? "locked" : "free", o.timeoutMs, display.coveredMonitors(),
                     display.keyboardHeld() ? "yes" : "no");
    return reached ? 0 : 1;
}

[[noreturn]] void usage()
{
    std::fputs("usage: vostrel-bench-locklatency lock RUNS [OPTIONS] (--dbus | -- COMMAND...)\n"
               "       vostrel-bench-locklatency unlock RUNS PIN [OPTIONS]\n"
               "       vostrel-bench-locklatency startup RUNS [OPTIONS] -- COMMAND...\n"
               "       vostrel-bench-locklatency wait locked|unlocked [OPTIONS]\n"
               "       vostrel-bench-locklatency info\n",
               stderr);
    std::exit(2);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    std::signal(SIGHUP, onSignal);
    const QStringList args = QCoreApplication::arguments();
    const QString mode = args.value(1);
    if (mode == QLatin1String("info")) {
        std::printf("Qt %s\n", qVersion());
        return 0;
    }
    if (mode == QLatin1String("wait")) {
        const QString state = args.value(2);
        if (state != QLatin1String("locked") && state != QLatin1String("unlocked"))
            usage();
        return waitMode(state, parseOptions(args, 3, 0));
    }
    bool ok = false;
    const int runs = args.value(2).toInt(&ok);
    if (!ok || runs < 1)
        usage();
    if (mode == QLatin1String("lock"))
        return lockMode(runs, parseOptions(args, 3, 300));
    if (mode == QLatin1String("unlock")) {
        if (args.size() < 4)
            usage();
        return unlockMode(runs, args[3], parseOptions(args, 4, 500));
    }
    if (mode == QLatin1String("startup")) {
        return startupMode(runs, parseOptions(args, 3, 1000));
    }
    usage();
}
