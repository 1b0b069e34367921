#include "overlay/lockavailability.h"

#include <QCoreApplication>
#include <QProcessEnvironment>

bool LockAvailability::isWaylandSession(const QProcessEnvironment &environment)
{
    return !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
           environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland");
}

std::optional<LockRefusal> LockAvailability::refusal(bool hasPIN, bool waylandSession)
{
    if (waylandSession)
        return LockRefusal::waylandSession;
    if (!hasPIN)
        return LockRefusal::noPIN;
    return std::nullopt;
}

QString LockAvailability::message(LockRefusal refusal)
{
    switch (refusal) {
    case LockRefusal::noPIN:
        return QCoreApplication::translate("LockAvailability",
                                           "No PIN is set: open Vostrel to choose one");
    case LockRefusal::waylandSession:
        return QCoreApplication::translate(
            "LockAvailability",
            "This Wayland session offers no secure lock (ext-session-lock-v1); Vostrel can lock "
            "X11 sessions, and Wayland sessions of sway, Hyprland, river, labwc, niri and COSMIC");
    }
    return {};
}
