#include "platform/wayland/idlenotifytimesource.h"

#include "platform/platformlog.h"

#include <QByteArray>
#include <QSocketNotifier>
#include <QtDebug>

#include <wayland-client.h>

#include "platform/wayland/ext-idle-notify-v1-client-protocol.h"

#include <poll.h>

#include <cstring>
#include <utility>

std::unique_ptr<IdleNotifyTimeSource> IdleNotifyTimeSource::connect()
{
    // Named explicitly: with no name libwayland would take over a
    // WAYLAND_SOCKET meant for Qt, or try "wayland-0" in an X11 session.
    const QByteArray name = qgetenv("WAYLAND_DISPLAY");
    if (name.isEmpty())
        return nullptr;
    wl_display *display = wl_display_connect(name.constData());
    if (!display) {
        qCDebug(lcPlatform) << "no Wayland compositor at" << name;
        return nullptr;
    }
    std::unique_ptr<IdleNotifyTimeSource> source(new IdleNotifyTimeSource(display));
    if (!source->bindGlobals())
        return nullptr;
    return source;
}

IdleNotifyTimeSource::IdleNotifyTimeSource(wl_display *display)
    : m_display(display)
{}

IdleNotifyTimeSource::~IdleNotifyTimeSource()
{
    disconnect();
}

bool IdleNotifyTimeSource::bindGlobals()
{
    static const wl_registry_listener listener = {
        .global = &IdleNotifyTimeSource::handleGlobal,
        .global_remove = &IdleNotifyTimeSource::handleGlobalRemove,
    };
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &listener, this);
    if (wl_display_roundtrip(m_display) < 0)
        return false;
    if (!m_notifier || !m_seat) {
        qCDebug(lcPlatform) << "the Wayland compositor offers no"
                            << (m_notifier ? "seat" : "ext_idle_notifier_v1");
        return false;
    }

    static const ext_idle_notification_v1_listener notificationListener = {
        .idled = &IdleNotifyTimeSource::handleIdled,
        .resumed = &IdleNotifyTimeSource::handleResumed,
    };
    m_notification = ext_idle_notifier_v1_get_idle_notification(
        m_notifier, uint32_t(notificationTimeout.count()), m_seat);
    ext_idle_notification_v1_add_listener(m_notification, &notificationListener, this);
    if (wl_display_flush(m_display) < 0)
        return false;

    m_socketNotifier =
        std::make_unique<QSocketNotifier>(wl_display_get_fd(m_display), QSocketNotifier::Read);
    QObject::connect(m_socketNotifier.get(), &QSocketNotifier::activated, m_socketNotifier.get(),
                     [this] { readEvents(); });
    return true;
}

void IdleNotifyTimeSource::queryIdleSeconds(Answer answer)
{
    readEvents();
    if (!m_idleSince) {
        answer(0);
        return;
    }
    // `idled` came once input had stopped for the notification's timeout.
    const std::chrono::duration<double> idle = Clock::now() - *m_idleSince + notificationTimeout;
    answer(idle.count());
}

// Never blocks: reads only what is already on the socket.
void IdleNotifyTimeSource::readEvents()
{
    if (!m_display)
        return;
    while (wl_display_prepare_read(m_display) != 0) {
        if (wl_display_dispatch_pending(m_display) < 0) {
            disconnect();
            return;
        }
    }
    wl_display_flush(m_display);
    pollfd socket = {.fd = wl_display_get_fd(m_display), .events = POLLIN, .revents = 0};
    if (::poll(&socket, 1, 0) > 0) {
        // A hang-up reads as an error here.
        if (wl_display_read_events(m_display) < 0) {
            disconnect();
            return;
        }
    } else {
        wl_display_cancel_read(m_display);
    }
    if (wl_display_dispatch_pending(m_display) < 0)
        disconnect();
}

void IdleNotifyTimeSource::disconnect()
{
    if (!m_display)
        return;
    if (wl_display_get_error(m_display) != 0)
        qCWarning(lcPlatform) << "the Wayland compositor went away; idle time reads 0 from now";
    m_socketNotifier.reset();
    m_idleSince.reset();
    if (m_notification)
        ext_idle_notification_v1_destroy(m_notification);
    if (m_notifier)
        ext_idle_notifier_v1_destroy(m_notifier);
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    m_notification = nullptr;
    m_notifier = nullptr;
    m_seat = nullptr;
    m_registry = nullptr;
    wl_display_disconnect(std::exchange(m_display, nullptr));
}

void IdleNotifyTimeSource::handleGlobal(void *data, wl_registry *registry, uint32_t name,
                                        const char *interface, uint32_t)
{
    auto *self = static_cast<IdleNotifyTimeSource *>(data);
    // The first seat: a desktop session has one.
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self->m_seat) {
        self->m_seat =
            static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0 &&
               !self->m_notifier) {
        self->m_notifier = static_cast<ext_idle_notifier_v1 *>(
            wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    }
}

void IdleNotifyTimeSource::handleGlobalRemove(void *, wl_registry *, uint32_t)
{}

void IdleNotifyTimeSource::handleIdled(void *data, ext_idle_notification_v1 *)
{
    static_cast<IdleNotifyTimeSource *>(data)->m_idleSince = Clock::now();
}

void IdleNotifyTimeSource::handleResumed(void *data, ext_idle_notification_v1 *)
{
    static_cast<IdleNotifyTimeSource *>(data)->m_idleSince.reset();
}
