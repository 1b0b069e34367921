#pragma once

#include "platform/idletimesource.h"

#include <chrono>
#include <memory>
#include <optional>

class QSocketNotifier;
struct wl_display;
struct wl_registry;
struct wl_seat;
struct ext_idle_notifier_v1;
struct ext_idle_notification_v1;

// Idle time in a Wayland session whose compositor offers ext-idle-notify-v1
// (sway 1.8 and later, KWin, labwc, wayfire, Hyprland, niri, COSMIC). The
// protocol only says when the seat has been idle for a timeout, so one
// notification of a short timeout is kept and the time is counted from its
// `idled` event. It runs on a connection of its own, read whenever it has
// something to read, so the answer is always given at once.
//
// Idle inhibitors count: a compositor sends no `idled` while a client (a
// video player, the lock surfaces) inhibits idling, and the time then stays 0.
class IdleNotifyTimeSource : public IdleTimeSource
{
public:
    // The resolution of the time: input must have stopped this long before
    // the compositor says so.
    static constexpr std::chrono::milliseconds notificationTimeout{1000};

    // Null without $WAYLAND_DISPLAY (a socket name in $XDG_RUNTIME_DIR or an
    // absolute path), when the compositor cannot be reached, or when it
    // offers no ext_idle_notifier_v1 or no seat.
    [[nodiscard]] static std::unique_ptr<IdleNotifyTimeSource> connect();
    ~IdleNotifyTimeSource() override;
    IdleNotifyTimeSource(const IdleNotifyTimeSource &) = delete;
    IdleNotifyTimeSource &operator=(const IdleNotifyTimeSource &) = delete;

    // Reads what the compositor has sent first, so the answer does not wait
    // for the event loop to come round.
    void queryIdleSeconds(Answer answer) override;

private:
    using Clock = std::chrono::steady_clock;

    explicit IdleNotifyTimeSource(wl_display *display);
    bool bindGlobals();
    void readEvents();
    void disconnect();

    static void handleGlobal(void *data, wl_registry *registry, uint32_t name,
                             const char *interface, uint32_t version);
    static void handleGlobalRemove(void *data, wl_registry *registry, uint32_t name);
    static void handleIdled(void *data, ext_idle_notification_v1 *notification);
    static void handleResumed(void *data, ext_idle_notification_v1 *notification);

    wl_display *m_display = nullptr;
    wl_registry *m_registry = nullptr;
    wl_seat *m_seat = nullptr;
    ext_idle_notifier_v1 *m_notifier = nullptr;
    ext_idle_notification_v1 *m_notification = nullptr;
    std::unique_ptr<QSocketNotifier> m_socketNotifier;
    std::optional<Clock::time_point> m_idleSince;
};
