#pragma once

#include <QString>

#include <optional>

class QProcessEnvironment;

// Why the lock may not be raised. Every path that raises it asks here first,
// so that no path covers the screen with a lock the user cannot lift or that
// does not hold.
enum class LockRefusal {
    // No stored PIN decodes: nothing could lower the lock again.
    noPIN,
    // The panels would be ordinary windows that other windows come in front
    // of and keys reach past; grabs through XWayland hold nothing either.
    waylandSession,
};

namespace LockAvailability {
// A Wayland session whatever platform plugin Qt was given: the session's
// compositor, not Qt's choice of protocol, decides who gets the input.
[[nodiscard]] bool isWaylandSession(const QProcessEnvironment &environment);

// Nothing when the lock may be raised. The session comes first: choosing a
// PIN cannot help there.
[[nodiscard]] std::optional<LockRefusal> refusal(bool hasPIN, bool waylandSession);

// One sentence for the user, as a notification, a D-Bus error or a command's
// error output show it.
[[nodiscard]] QString message(LockRefusal refusal);
} // namespace LockAvailability
