#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Holds the display or the whole system awake on behalf of the user. An
// assertion lasts until it is released or the process exits.
class PowerAssertions
{
public:
    enum class Kind {
        Display, // the screen neither blanks nor locks
        System,  // the machine does not suspend when idle
    };

    // Never 0: callers keep 0 to mean "no assertion held".
    using Id = quint32;

    virtual ~PowerAssertions() = default;

    // The name is what the desktop shows to the user as the reason. Nothing when
    // the service refused or is not there.
    [[nodiscard]] virtual std::optional<Id> create(Kind kind, const QString &name) = 0;

    // Unknown ids are ignored. Returns at once, whatever state the service is in.
    virtual void release(Id id) = 0;
};
