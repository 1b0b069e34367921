#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// Holds the display or the whole system awake on behalf of the user. An
// assertion lasts until it is released or the process exits.
//
// Asking is asynchronous: the desktop's services may be slow, hung or absent,
// and the lock is raised while they think it over. Every request gets exactly
// one of granted() or refused(), never before request() has returned, unless
// it is released first: a request released while still being asked for is
// withdrawn, and whatever the desktop grants it later is let go unreported.
class PowerAssertions : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PowerAssertions)

public:
    enum class Kind {
        Display, // the screen neither blanks nor locks
        System,  // the machine does not suspend when idle
    };

    // Never 0: callers keep 0 to mean "no assertion".
    using Id = quint32;

    using QObject::QObject;
    ~PowerAssertions() override = default;

    // The name is what the desktop shows to the user as the reason.
    [[nodiscard]] virtual Id request(Kind kind, const QString &name) = 0;

    // Lets go of a granted assertion or withdraws a pending request. Unknown
    // ids are ignored. Returns at once, whatever state the service is in.
    virtual void release(Id id) = 0;

Q_SIGNALS:
    void granted(PowerAssertions::Id id);
    // `reason` is short enough to show to the user ("no logind on the system bus").
    void refused(PowerAssertions::Id id, const QString &reason);
};
