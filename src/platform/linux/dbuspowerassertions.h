#pragma once

#include "platform/powerassertions.h"

#include <QHash>
#include <QStringList>

#include <optional>

class QDBusMessage;

// Display assertions are asked of the session bus's inhibitors in turn, each
// only when the one before refused or is not there: the screen saver
// (org.freedesktop.ScreenSaver), the power manager
// (org.freedesktop.PowerManagement.Inhibit, all Xfce offers) and the desktop
// portal's Inhibit (idle and suspend). System assertions are logind
// "idle:sleep" block inhibitors on the system bus, held as the file
// descriptor logind hands out.
class DBusPowerAssertions : public PowerAssertions
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBusPowerAssertions)

public:
    // How long one service may think before the next one is asked.
    static constexpr int replyTimeoutMs = 2500;

    enum class Inhibitor { ScreenSaver, PowerManagement, Portal, Login };

    using PowerAssertions::PowerAssertions;
    // Lets go of whatever is still held; without this the inhibitions would last
    // until the process exits.
    ~DBusPowerAssertions() override;

    [[nodiscard]] Id request(Kind kind, const QString &name) override;
    void release(Id id) override;

private:
    struct Held
    {
        Inhibitor inhibitor = Inhibitor::ScreenSaver;
        // The unique bus name of the service instance that granted it: a
        // cookie or request handle means nothing to any other instance.
        QString issuer;
        quint32 cookie = 0;
        QString handle; // the portal's request object
        int fd = -1;    // our own copy of logind's inhibitor descriptor
    };

    struct Request
    {
        Kind kind = Kind::Display;
        QString reason;
        qsizetype step = 0; // the inhibitor being asked, in the kind's order
        QStringList absent; // what is not on the bus: "screen saver"
        QStringList refusals;
        std::optional<Held> held;
    };

    void ask(Id id);
    void answer(Id id, Inhibitor inhibitor, const QDBusMessage &reply);
    // Keeps what was granted or asks the next inhibitor.
    void settle(Id id, Inhibitor inhibitor, const std::optional<Held> &held, const QString &refusal,
                const QDBusMessage &reply);
    static void letGo(const Held &held);

    QHash<Id, Request> m_requests;
    Id m_nextId = 1;
};
