#pragma once

#include "powerassertions.h"

#include <QHash>

// Display assertions are screen-saver inhibitions on the session bus
// (org.freedesktop.ScreenSaver); system assertions are logind "idle:sleep"
// block inhibitors on the system bus, held as the file descriptor logind hands
// out. Either is refused when its service is not on the bus.
class DBusPowerAssertions : public PowerAssertions
{
public:
    DBusPowerAssertions() = default;
    // Lets go of whatever is still held; without this the inhibitions would last
    // until the process exits.
    ~DBusPowerAssertions() override;
    Q_DISABLE_COPY_MOVE(DBusPowerAssertions)

    [[nodiscard]] std::optional<Id> create(Kind kind, const QString &name) override;
    void release(Id id) override;

private:
    struct Held
    {
        Kind kind = Kind::Display;
        // Display: the screen saver's cookie, and the unique bus name of the
        // service instance that issued it.
        quint32 cookie = 0;
        QString issuer;
        // System: our own copy of logind's inhibitor descriptor.
        int fd = -1;
    };

    static std::optional<Held> inhibitDisplay(const QString &reason);
    static std::optional<Held> inhibitSleep(const QString &reason);
    static void letGo(const Held &held);

    QHash<Id, Held> m_held;
    Id m_nextId = 1;
};
