#include "platform/wayland/sessionlockclient.h"

#include "platform/platformlog.h"
#include "platform/wayland/shmbufferpool.h"
#include "platform/wayland/xkbkeyboard.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <wayland-cursor.h>

#include "platform/wayland/ext-session-lock-v1-client-protocol.h"
#include "platform/wayland/idle-inhibit-unstable-v1-client-protocol.h"

struct SessionLockClient::Globals
{
    wl_registry *registry = nullptr;
    wl_compositor *compositor = nullptr;
    quint32 compositorVersion = 0;
    wl_shm *shm = nullptr;
    ext_session_lock_manager_v1 *lockManager = nullptr;
    zwp_idle_inhibit_manager_v1 *idleInhibitManager = nullptr;
    wl_seat *seat = nullptr;
    quint32 seatName = 0;
    wl_keyboard *keyboard = nullptr;
    wl_pointer *pointer = nullptr;
    ext_session_lock_v1 *lock = nullptr;
    wl_cursor_theme *cursorTheme = nullptr;
    wl_surface *cursorSurface = nullptr;
};

struct SessionLockClient::Output
{
    SessionLockClient *client = nullptr;
    quint32 name = 0;
    wl_output *output = nullptr;
    quint32 version = 0;
    QString outputName;
    wl_surface *surface = nullptr;
    ext_session_lock_surface_v1 *lockSurface = nullptr;
    zwp_idle_inhibitor_v1 *inhibitor = nullptr;
    std::unique_ptr<ShmBufferPool> pool;
    QSize size;
    bool configured = false;
    // The newest frame not yet drawn, and everything that changed since the
    // last one that was.
    QImage pendingFrame;
    QRegion pendingDamage;
};

namespace {

template<typename T> void destroyProxy(T *&proxy, void (*destroy)(T *))
{
    if (proxy)
        destroy(proxy);
    proxy = nullptr;
}

template<typename... Args> void ignore(void *, Args...)
{}

constexpr quint32 OutputVersion = 4;     // 4: the output's name
constexpr quint32 SeatVersion = 5;       // 4: key repeat; 5: release requests
constexpr quint32 CompositorVersion = 4; // 4: damage in buffer coordinates

} // namespace

// The C callbacks of the protocol objects; data is the SessionLockClient or
// the Output the object belongs to.
struct SessionLockListeners
{
    using Client = SessionLockClient;
    using Output = SessionLockClient::Output;

    static Client *client(void *data) { return static_cast<Client *>(data); }

    static void global(void *data, wl_registry *registry, uint32_t name, const char *interface,
                       uint32_t version)
    {
        Client *self = client(data);
        auto &g = *self->m_globals;
        const auto bind = [&](const wl_interface *wanted, quint32 maxVersion) {
            return wl_registry_bind(registry, name, wanted, std::min(version, maxVersion));
        };
        if (std::strcmp(interface, wl_compositor_interface.name) == 0 && !g.compositor) {
            g.compositorVersion = std::min(version, CompositorVersion);
            g.compositor =
                static_cast<wl_compositor *>(bind(&wl_compositor_interface, CompositorVersion));
        } else if (std::strcmp(interface, wl_shm_interface.name) == 0 && !g.shm) {
            g.shm = static_cast<wl_shm *>(bind(&wl_shm_interface, 1));
        } else if (std::strcmp(interface, ext_session_lock_manager_v1_interface.name) == 0 &&
                   !g.lockManager) {
            g.lockManager = static_cast<ext_session_lock_manager_v1 *>(
                bind(&ext_session_lock_manager_v1_interface, 1));
        } else if (std::strcmp(interface, zwp_idle_inhibit_manager_v1_interface.name) == 0 &&
                   !g.idleInhibitManager) {
            g.idleInhibitManager = static_cast<zwp_idle_inhibit_manager_v1 *>(
                bind(&zwp_idle_inhibit_manager_v1_interface, 1));
        } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !g.seat) {
            // One seat: a lock screen answers the keyboard and pointer of the
            // first; the compositor sends every seat's input to the lock anyway.
            g.seatName = name;
            g.seat = static_cast<wl_seat *>(bind(&wl_seat_interface, SeatVersion));
            wl_seat_add_listener(g.seat, &seatListener, self);
        } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
            auto output = std::make_unique<Output>();
            output->client = self;
            output->name = name;
            output->version = std::min(version, OutputVersion);
            output->output = static_cast<wl_output *>(bind(&wl_output_interface, OutputVersion));
            wl_output_add_listener(output->output, &outputListener, output.get());
            Output &added = *output;
            self->m_outputs[name] = std::move(output);
            // An output plugged in during the lock is covered at once.
            if (self->m_state != Client::State::Idle)
                self->addSurface(added);
        }
    }

    static void globalRemove(void *data, wl_registry *, uint32_t name)
    {
        Client *self = client(data);
        auto &g = *self->m_globals;
        if (g.seat && name == g.seatName) {
            self->releaseSeat();
            return;
        }
        self->removeOutput(name);
    }

    static constexpr wl_registry_listener registryListener = {
        .global = &global,
        .global_remove = &globalRemove,
    };

    static void outputName(void *data, wl_output *, const char *name)
    {
        static_cast<Output *>(data)->outputName = QString::fromUtf8(name);
    }

    static constexpr wl_output_listener outputListener = {
        .geometry = &ignore<wl_output *, int32_t, int32_t, int32_t, int32_t, int32_t, const char *,
                            const char *, int32_t>,
        .mode = &ignore<wl_output *, uint32_t, int32_t, int32_t, int32_t>,
        .done = &ignore<wl_output *>,
        .scale = &ignore<wl_output *, int32_t>,
        .name = &outputName,
        .description = &ignore<wl_output *, const char *>,
    };

    static void locked(void *data, ext_session_lock_v1 *)
    {
        Client *self = client(data);
        self->m_state = Client::State::Locked;
        Q_EMIT self->locked();
    }

    static void finished(void *data, ext_session_lock_v1 *)
    {
        Client *self = client(data);
        // Refused (someone else holds the lock) or ended by the compositor;
        // either way the lock object is only good for destroying now.
        destroyProxy(self->m_globals->lock, &ext_session_lock_v1_destroy);
        self->endLock();
        Q_EMIT self->finished();
    }

    static constexpr ext_session_lock_v1_listener lockListener = {
        .locked = &locked,
        .finished = &finished,
    };

    static void configure(void *data, ext_session_lock_surface_v1 *lockSurface, uint32_t serial,
                          uint32_t width, uint32_t height)
    {
        auto *output = static_cast<Output *>(data);
        Client *self = output->client;
        ext_session_lock_surface_v1_ack_configure(lockSurface, serial);
        const QSize size{int(width), int(height)};
        QString error;
        if (!output->pool->resize(size, &error))
            qCWarning(lcPlatform) << "Lock surface of output" << output->name << ":" << error;
        if (size != output->size) {
            // Whatever was drawn for the old size is of no use any more.
            output->pendingFrame = QImage();
            output->pendingDamage = QRegion();
        }
        output->size = size;
        output->configured = true;
        Q_EMIT self->surfaceConfigured(int(output->name), size);
    }

    static constexpr ext_session_lock_surface_v1_listener lockSurfaceListener = {
        .configure = &configure,
    };

    static void capabilities(void *data, wl_seat *seat, uint32_t caps)
    {
        auto &g = *client(data)->m_globals;
        const bool hasKeyboard = caps & WL_SEAT_CAPABILITY_KEYBOARD;
        const bool hasPointer = caps & WL_SEAT_CAPABILITY_POINTER;
        if (hasKeyboard && !g.keyboard) {
            g.keyboard = wl_seat_get_keyboard(seat);
            wl_keyboard_add_listener(g.keyboard, &keyboardListener, data);
        } else if (!hasKeyboard && g.keyboard) {
            client(data)->releaseKeyboard();
        }
        if (hasPointer && !g.pointer) {
            g.pointer = wl_seat_get_pointer(seat);
            wl_pointer_add_listener(g.pointer, &pointerListener, data);
        } else if (!hasPointer && g.pointer) {
            client(data)->releasePointer();
        }
    }

    static constexpr wl_seat_listener seatListener = {
        .capabilities = &capabilities,
        .name = &ignore<wl_seat *, const char *>,
    };

    static void keymap(void *data, wl_keyboard *, uint32_t format, int32_t fd, uint32_t size)
    {
        Client *self = client(data);
        if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 || size == 0) {
            close(fd);
            return;
        }
        void *text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        close(fd);
        if (text == MAP_FAILED) {
            qCWarning(lcPlatform) << "Cannot map the keyboard's keymap:" << strerror(errno);
            return;
        }
        const auto *chars = static_cast<const char *>(text);
        const QByteArray keymap(chars, qsizetype(strnlen(chars, size)));
        munmap(text, size);
        if (!self->m_keyboard->setKeymap(keymap))
            qCWarning(lcPlatform) << "The compositor's keymap does not compile";
    }

    static void leave(void *data, wl_keyboard *, uint32_t, wl_surface *)
    {
        client(data)->m_repeatTimer->stop();
    }

    static void key(void *data, wl_keyboard *, uint32_t, uint32_t, uint32_t key, uint32_t state)
    {
        client(data)->keyEvent(key, state == WL_KEYBOARD_KEY_STATE_PRESSED);
    }

    static void modifiers(void *data, wl_keyboard *, uint32_t, uint32_t depressed, uint32_t latched,
                          uint32_t locked, uint32_t group)
    {
        client(data)->m_keyboard->updateModifiers(depressed, latched, locked, group);
    }

    static void repeatInfo(void *data, wl_keyboard *, int32_t rate, int32_t delay)
    {
        Client *self = client(data);
        self->m_repeatRate = rate;
        self->m_repeatDelay = delay;
    }

    static constexpr wl_keyboard_listener keyboardListener = {
        .keymap = &keymap,
        .enter = &ignore<wl_keyboard *, uint32_t, wl_surface *, wl_array *>,
        .leave = &leave,
        .key = &key,
        .modifiers = &modifiers,
        .repeat_info = &repeatInfo,
    };

    static void pointerEnter(void *data, wl_pointer *pointer, uint32_t serial, wl_surface *surface,
                             wl_fixed_t x, wl_fixed_t y)
    {
        Client *self = client(data);
        self->m_pointerOutput = self->outputOfSurface(surface);
        self->m_pointerPosition = QPointF(wl_fixed_to_double(x), wl_fixed_to_double(y));
        self->showCursor(pointer, serial);
        if (self->m_pointerOutput)
            Q_EMIT self->pointerMoved(int(self->m_pointerOutput->name), self->m_pointerPosition);
    }

    static void pointerLeave(void *data, wl_pointer *, uint32_t, wl_surface *)
    {
        client(data)->m_pointerOutput = nullptr;
    }

    static void motion(void *data, wl_pointer *, uint32_t, wl_fixed_t x, wl_fixed_t y)
    {
        Client *self = client(data);
        self->m_pointerPosition = QPointF(wl_fixed_to_double(x), wl_fixed_to_double(y));
        if (self->m_pointerOutput)
            Q_EMIT self->pointerMoved(int(self->m_pointerOutput->name), self->m_pointerPosition);
    }

    static void button(void *data, wl_pointer *, uint32_t, uint32_t, uint32_t button,
                       uint32_t state)
    {
        Client *self = client(data);
        if (!self->m_pointerOutput)
            return;
        Qt::MouseButton qtButton = Qt::NoButton;
        switch (button) {
        case BTN_LEFT:
            qtButton = Qt::LeftButton;
            break;
        case BTN_RIGHT:
            qtButton = Qt::RightButton;
            break;
        case BTN_MIDDLE:
            qtButton = Qt::MiddleButton;
            break;
        case BTN_SIDE:
            qtButton = Qt::BackButton;
            break;
        case BTN_EXTRA:
            qtButton = Qt::ForwardButton;
            break;
        default:
            return;
        }
        Q_EMIT self->pointerButton(int(self->m_pointerOutput->name), self->m_pointerPosition,
                                   qtButton, state == WL_POINTER_BUTTON_STATE_PRESSED);
    }

    // Filled in member by member: newer libwayland releases add events (and
    // so members) for seat versions above the one bound, which never come.
    static constexpr wl_pointer_listener pointerListener = [] {
        wl_pointer_listener listener{};
        listener.enter = &pointerEnter;
        listener.leave = &pointerLeave;
        listener.motion = &motion;
        listener.button = &button;
        listener.axis = &ignore<wl_pointer *, uint32_t, uint32_t, wl_fixed_t>;
        listener.frame = &ignore<wl_pointer *>;
        listener.axis_source = &ignore<wl_pointer *, uint32_t>;
        listener.axis_stop = &ignore<wl_pointer *, uint32_t, uint32_t>;
        listener.axis_discrete = &ignore<wl_pointer *, uint32_t, int32_t>;
        listener.axis_value120 = &ignore<wl_pointer *, uint32_t, int32_t>;
        return listener;
    }();

    static void probeGlobal(void *data, wl_registry *, uint32_t, const char *interface, uint32_t)
    {
        if (std::strcmp(interface, ext_session_lock_manager_v1_interface.name) == 0)
            *static_cast<bool *>(data) = true;
    }

    static constexpr wl_registry_listener probeListener = {
        .global = &probeGlobal,
        .global_remove = &ignore<wl_registry *, uint32_t>,
    };
};

SessionLockClient::SessionLockClient(QObject *parent)
    : QObject(parent)
    , m_globals(std::make_unique<Globals>())
    , m_keyboard(std::make_unique<XkbKeyboard>())
    , m_repeatTimer(new QTimer(this))
{
    m_repeatTimer->setSingleShot(true);
    connect(m_repeatTimer, &QTimer::timeout, this, &SessionLockClient::repeatKey);
}

SessionLockClient::~SessionLockClient()
{
    closeConnection();
}

void SessionLockClient::closeConnection()
{
    if (!m_display)
        return;
    delete m_readNotifier;
    m_readNotifier = nullptr;
    delete m_writeNotifier;
    m_writeNotifier = nullptr;
    m_repeatTimer->stop();
    auto &g = *m_globals;
    if (g.lock) {
        if (m_state == State::Locked) {
            // Gone without an unlock: the compositor keeps the session locked
            // until a lock client unlocks it. Telling it "destroy" while
            // locked would be a protocol error, so only our side is freed.
            wl_proxy_destroy(reinterpret_cast<wl_proxy *>(g.lock));
            g.lock = nullptr;
        } else {
            destroyProxy(g.lock, &ext_session_lock_v1_destroy);
        }
    }
    for (auto &[name, output] : m_outputs) {
        destroySurface(*output);
        if (output->version >= WL_OUTPUT_RELEASE_SINCE_VERSION)
            wl_output_release(output->output);
        else
            wl_output_destroy(output->output);
    }
    m_outputs.clear();
    releaseSeat();
    destroyProxy(g.cursorSurface, &wl_surface_destroy);
    destroyProxy(g.cursorTheme, &wl_cursor_theme_destroy);
    destroyProxy(g.idleInhibitManager, &zwp_idle_inhibit_manager_v1_destroy);
    destroyProxy(g.lockManager, &ext_session_lock_manager_v1_destroy);
    destroyProxy(g.shm, &wl_shm_destroy);
    destroyProxy(g.compositor, &wl_compositor_destroy);
    destroyProxy(g.registry, &wl_registry_destroy);
    wl_display_flush(m_display);
    wl_display_disconnect(m_display);
    m_display = nullptr;
    m_globals = std::make_unique<Globals>();
    m_pointerOutput = nullptr;
    m_state = State::Idle;
}

bool SessionLockClient::compositorOffersSessionLock()
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return false;
    bool offered = false;
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &SessionLockListeners::probeListener, &offered);
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return answered && offered;
}

bool SessionLockClient::connectToCompositor(QString *error)
{
    if (m_display)
        return true;
    const QByteArray name = qgetenv("WAYLAND_DISPLAY");
    m_display = wl_display_connect(nullptr);
    if (!m_display) {
        *error =
            name.isEmpty()
                ? QStringLiteral("no Wayland compositor: WAYLAND_DISPLAY is not set")
                : QStringLiteral("cannot connect to the Wayland compositor at %1: %2")
                      .arg(QString::fromLocal8Bit(name), QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    auto &g = *m_globals;
    g.registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(g.registry, &SessionLockListeners::registryListener, this);
    // The second round trip brings what the bound globals send at once:
    // output names, seat capabilities, the keymap.
    bool answered = wl_display_roundtrip(m_display) >= 0 && wl_display_roundtrip(m_display) >= 0;
    QString missing;
    if (!answered)
        missing = QStringLiteral("the compositor did not answer");
    else if (!g.lockManager)
        missing = QStringLiteral("the compositor offers no secure lock (ext-session-lock-v1)");
    else if (!g.compositor || !g.shm)
        missing = QStringLiteral("the compositor offers no wl_compositor or wl_shm");
    if (!missing.isEmpty()) {
        *error = missing;
        closeConnection();
        return false;
    }
    const int fd = wl_display_get_fd(m_display);
    m_readNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &SessionLockClient::readEvents);
    m_writeNotifier = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &SessionLockClient::flush);
    // Events read while answering something else (a round trip, a flush)
    // wait in the queue with nothing left to read on the socket.
    if (auto *dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &SessionLockClient::dispatchPending);
    return true;
}

void SessionLockClient::releaseKeyboard()
{
    auto &g = *m_globals;
    m_repeatTimer->stop();
    if (g.keyboard && wl_keyboard_get_version(g.keyboard) >= WL_KEYBOARD_RELEASE_SINCE_VERSION)
        wl_keyboard_release(g.keyboard);
    else if (g.keyboard)
        wl_keyboard_destroy(g.keyboard);
    g.keyboard = nullptr;
}

void SessionLockClient::releasePointer()
{
    auto &g = *m_globals;
    m_pointerOutput = nullptr;
    if (g.pointer && wl_pointer_get_version(g.pointer) >= WL_POINTER_RELEASE_SINCE_VERSION)
        wl_pointer_release(g.pointer);
    else if (g.pointer)
        wl_pointer_destroy(g.pointer);
    g.pointer = nullptr;
}

void SessionLockClient::releaseSeat()
{
    auto &g = *m_globals;
    releaseKeyboard();
    releasePointer();
    if (g.seat && wl_seat_get_version(g.seat) >= WL_SEAT_RELEASE_SINCE_VERSION)
        wl_seat_release(g.seat);
    else if (g.seat)
        wl_seat_destroy(g.seat);
    g.seat = nullptr;
}

void SessionLockClient::showCursor(wl_pointer *pointer, quint32 serial)
{
    auto &g = *m_globals;
    if (!g.cursorSurface) {
        // libwayland-cursor has a cursor of its own to fall back on when the
        // system has no cursor theme.
        if (!g.cursorTheme)
            g.cursorTheme = wl_cursor_theme_load(nullptr, 24, g.shm);
        wl_cursor *cursor =
            g.cursorTheme ? wl_cursor_theme_get_cursor(g.cursorTheme, "left_ptr") : nullptr;
        if (!cursor || cursor->image_count == 0)
            return;
        wl_cursor_image *image = cursor->images[0];
        g.cursorSurface = wl_compositor_create_surface(g.compositor);
        wl_surface_attach(g.cursorSurface, wl_cursor_image_get_buffer(image), 0, 0);
        wl_surface_damage(g.cursorSurface, 0, 0, int32_t(image->width), int32_t(image->height));
        wl_surface_commit(g.cursorSurface);
        m_cursorHotspot = QPoint(int(image->hotspot_x), int(image->hotspot_y));
    }
    wl_pointer_set_cursor(pointer, serial, g.cursorSurface, m_cursorHotspot.x(),
                          m_cursorHotspot.y());
}

void SessionLockClient::lock()
{
    auto &g = *m_globals;
    if (!m_display || m_broken || !g.lockManager) {
        qCWarning(lcPlatform) << "Cannot lock: not connected to a compositor with a session lock";
        return;
    }
    if (m_state != State::Idle)
        return;
    g.lock = ext_session_lock_manager_v1_lock(g.lockManager);
    ext_session_lock_v1_add_listener(g.lock, &SessionLockListeners::lockListener, this);
    m_state = State::Locking;
    for (auto &[name, output] : m_outputs)
        addSurface(*output);
    flush();
}

void SessionLockClient::unlockAndDestroy()
{
    auto &g = *m_globals;
    if (m_state != State::Locked) {
        qCWarning(lcPlatform) << "unlockAndDestroy() without a lock granted: ignored";
        return;
    }
    ext_session_lock_v1_unlock_and_destroy(g.lock);
    g.lock = nullptr;
    endLock();
    // The unlock must reach the compositor even when the process ends right
    // after: wait (briefly) for the socket to take all of it.
    const int fd = wl_display_get_fd(m_display);
    for (int tries = 0; tries < 20 && !m_broken; ++tries) {
        if (wl_display_flush(m_display) >= 0)
            break;
        if (errno != EAGAIN) {
            checkError();
            break;
        }
        pollfd writable = {fd, POLLOUT, 0};
        poll(&writable, 1, 100);
    }
}

void SessionLockClient::endLock()
{
    for (auto &[name, output] : m_outputs)
        destroySurface(*output);
    m_pointerOutput = nullptr;
    m_repeatTimer->stop();
    m_state = State::Idle;
}

void SessionLockClient::addSurface(Output &output)
{
    auto &g = *m_globals;
    output.surface = wl_compositor_create_surface(g.compositor);
    output.lockSurface =
        ext_session_lock_v1_get_lock_surface(g.lock, output.surface, output.output);
    ext_session_lock_surface_v1_add_listener(output.lockSurface,
                                             &SessionLockListeners::lockSurfaceListener, &output);
    // The compositor's idle actions (blanking, its own locker) hold off while
    // the lock surface is shown: the lock is the one screen that must stay.
    if (g.idleInhibitManager)
        output.inhibitor =
            zwp_idle_inhibit_manager_v1_create_inhibitor(g.idleInhibitManager, output.surface);
    output.pool = std::make_unique<ShmBufferPool>(g.shm);
    Output *target = &output;
    output.pool->setReleasedHandler([this, target] {
        drawPending(*target);
        flush();
    });
}

void SessionLockClient::destroySurface(Output &output)
{
    if (m_pointerOutput == &output)
        m_pointerOutput = nullptr;
    destroyProxy(output.inhibitor, &zwp_idle_inhibitor_v1_destroy);
    destroyProxy(output.lockSurface, &ext_session_lock_surface_v1_destroy);
    output.pool.reset();
    destroyProxy(output.surface, &wl_surface_destroy);
    output.configured = false;
    output.size = QSize();
    output.pendingFrame = QImage();
    output.pendingDamage = QRegion();
}

void SessionLockClient::removeOutput(quint32 name)
{
    auto found = m_outputs.find(name);
    if (found == m_outputs.end())
        return;
    Output &output = *found->second;
    const bool hadSurface = output.surface != nullptr;
    destroySurface(output);
    if (output.version >= WL_OUTPUT_RELEASE_SINCE_VERSION)
        wl_output_release(output.output);
    else
        wl_output_destroy(output.output);
    m_outputs.erase(found);
    if (hadSurface)
        Q_EMIT outputRemoved(int(name));
}

QList<int> SessionLockClient::outputs() const
{
    QList<int> result;
    for (const auto &[name, output] : m_outputs) {
        if (output->configured)
            result.append(int(name));
    }
    return result;
}

QSize SessionLockClient::surfaceSize(int output) const
{
    const auto found = m_outputs.find(quint32(output));
    return found == m_outputs.end() ? QSize() : found->second->size;
}

QString SessionLockClient::outputName(int output) const
{
    const auto found = m_outputs.find(quint32(output));
    return found == m_outputs.end() ? QString() : found->second->outputName;
}

SessionLockClient::Output *SessionLockClient::outputOfSurface(const void *surface)
{
    for (auto &[name, output] : m_outputs) {
        if (output->surface && output->surface == surface)
            return output.get();
    }
    return nullptr;
}

void SessionLockClient::present(int output, const QImage &frame, const QRegion &damage)
{
    const auto found = m_outputs.find(quint32(output));
    if (found == m_outputs.end() || !found->second->configured || m_broken) {
        qCWarning(lcPlatform) << "present() on output" << output
                              << "which has no configured lock surface";
        return;
    }
    Output &target = *found->second;
    target.pendingFrame = frame;
    target.pendingDamage += damage;
    drawPending(target);
    flush();
}

void SessionLockClient::drawPending(Output &output)
{
    if (output.pendingFrame.isNull() || !output.pool || output.pool->size().isEmpty())
        return;
    QRegion changed;
    wl_buffer *buffer = output.pool->draw(output.pendingFrame, output.pendingDamage, &changed);
    if (!buffer)
        return; // the compositor holds every buffer; drawn when one comes back
    output.pendingFrame = QImage();
    output.pendingDamage = QRegion();
    wl_surface_attach(output.surface, buffer, 0, 0);
    for (const QRect &rect : changed) {
        if (m_globals->compositorVersion >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION)
            wl_surface_damage_buffer(output.surface, rect.x(), rect.y(), rect.width(),
                                     rect.height());
        else
            wl_surface_damage(output.surface, rect.x(), rect.y(), rect.width(), rect.height());
    }
    wl_surface_commit(output.surface);
}

void SessionLockClient::keyEvent(quint32 code, bool pressed)
{
    if (!m_keyboard->hasKeymap())
        return;
    const XkbKeyboard::Key key = m_keyboard->key(code);
    if (pressed) {
        if (key.repeats && m_repeatRate > 0) {
            m_repeatCode = code;
            m_repeatTimer->start(m_repeatDelay);
        }
        Q_EMIT keyPressed(key.qtKey, key.text, key.modifiers);
    } else {
        if (code == m_repeatCode)
            m_repeatTimer->stop();
        Q_EMIT keyReleased(key.qtKey, key.text, key.modifiers);
    }
}

void SessionLockClient::repeatKey()
{
    if (m_repeatRate <= 0)
        return; // the compositor turned repeating off meanwhile
    const XkbKeyboard::Key key = m_keyboard->key(m_repeatCode);
    m_repeatTimer->start(std::max(1, 1000 / m_repeatRate));
    Q_EMIT keyPressed(key.qtKey, key.text, key.modifiers);
}

void SessionLockClient::readEvents()
{
    if (m_broken)
        return;
    // Events another read already queued must go first; only then may this
    // thread read from the socket.
    while (wl_display_prepare_read(m_display) != 0) {
        if (wl_display_dispatch_pending(m_display) < 0) {
            checkError();
            return;
        }
    }
    if (wl_display_read_events(m_display) < 0) {
        checkError();
        return;
    }
    dispatchPending();
}

void SessionLockClient::dispatchPending()
{
    if (!m_display || m_broken)
        return;
    if (wl_display_dispatch_pending(m_display) < 0) {
        checkError();
        return;
    }
    flush();
}

void SessionLockClient::flush()
{
    if (!m_display || m_broken)
        return;
    if (wl_display_flush(m_display) >= 0) {
        if (m_writeNotifier)
            m_writeNotifier->setEnabled(false);
    } else if (errno == EAGAIN) {
        // The socket is full: the rest goes when it can take more.
        if (m_writeNotifier)
            m_writeNotifier->setEnabled(true);
    } else {
        checkError();
    }
}

bool SessionLockClient::checkError()
{
    if (m_broken)
        return true;
    const int error = wl_display_get_error(m_display);
    if (error == 0)
        return false;
    m_broken = true;
    m_state = State::Idle;
    if (m_readNotifier)
        m_readNotifier->setEnabled(false);
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(false);
    m_repeatTimer->stop();
    QString message;
    if (error == EPROTO) {
        const wl_interface *interface = nullptr;
        quint32 id = 0;
        const quint32 code = wl_display_get_protocol_error(m_display, &interface, &id);
        message = QStringLiteral("protocol error %1 on %2@%3")
                      .arg(code)
                      .arg(QString::fromLatin1(interface ? interface->name : "?"))
                      .arg(id);
    } else {
        message = QString::fromLocal8Bit(strerror(error));
    }
    qCWarning(lcPlatform) << "Wayland connection lost:" << message;
    Q_EMIT connectionError(message);
    return true;
}
