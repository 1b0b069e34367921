#include "platform/linux/dbuspowerassertions.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusUnixFileDescriptor>
#include <QLoggingCategory>

#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace {
Q_LOGGING_CATEGORY(lcPower, "vostrel.power")

using Inhibitor = DBusPowerAssertions::Inhibitor;

struct Endpoint
{
    QLatin1String service;
    QLatin1String path;
    QLatin1String interface;
    QLatin1String what; // for the user: "no <what>"
};

Endpoint endpoint(Inhibitor inhibitor)
{
    switch (inhibitor) {
    case Inhibitor::ScreenSaver:
        return {QLatin1String("org.freedesktop.ScreenSaver"),
                QLatin1String("/org/freedesktop/ScreenSaver"),
                QLatin1String("org.freedesktop.ScreenSaver"), QLatin1String("screen saver")};
    case Inhibitor::PowerManagement:
        return {QLatin1String("org.freedesktop.PowerManagement"),
                QLatin1String("/org/freedesktop/PowerManagement/Inhibit"),
                QLatin1String("org.freedesktop.PowerManagement.Inhibit"),
                QLatin1String("power manager")};
    case Inhibitor::Portal:
        return {QLatin1String("org.freedesktop.portal.Desktop"),
                QLatin1String("/org/freedesktop/portal/desktop"),
                QLatin1String("org.freedesktop.portal.Inhibit"), QLatin1String("portal")};
    case Inhibitor::Login:
        return {QLatin1String("org.freedesktop.login1"), QLatin1String("/org/freedesktop/login1"),
                QLatin1String("org.freedesktop.login1.Manager"), QLatin1String("logind")};
    }
    Q_UNREACHABLE();
}

QList<Inhibitor> order(PowerAssertions::Kind kind)
{
    if (kind == PowerAssertions::Kind::System)
        return {Inhibitor::Login};
    return {Inhibitor::ScreenSaver, Inhibitor::PowerManagement, Inhibitor::Portal};
}

QString applicationName()
{
    return QStringLiteral("Vostrel");
}

// The portal's Inhibit flags: the session going idle (which blanks and locks
// the screen) and suspending.
constexpr uint portalSuspend = 4;
constexpr uint portalIdle = 8;

bool isAbsent(const QString &errorName)
{
    return errorName == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
           errorName == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
           errorName == QLatin1String("org.freedesktop.DBus.Error.UnknownObject") ||
           errorName == QLatin1String("org.freedesktop.DBus.Error.UnknownInterface") ||
           errorName == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod") ||
           errorName.startsWith(QLatin1String("org.freedesktop.DBus.Error.Spawn."));
}
} // namespace

DBusPowerAssertions::~DBusPowerAssertions()
{
    // Calls still out die with their watchers; logind's descriptor in a late
    // reply closes with the message, a late cookie ends with our connection.
    for (const Request &request : std::as_const(m_requests)) {
        if (request.held)
            letGo(*request.held);
    }
}

PowerAssertions::Id DBusPowerAssertions::request(Kind kind, const QString &name)
{
    const Id id = m_nextId;
    m_nextId = m_nextId == std::numeric_limits<Id>::max() ? 1 : m_nextId + 1;
    Request &request = m_requests[id];
    request.kind = kind;
    request.reason = name;
    // Even an answer known at once (no bus at all) must come after the
    // caller has stored the id.
    QMetaObject::invokeMethod(
        this, [this, id] { ask(id); }, Qt::QueuedConnection);
    return id;
}

void DBusPowerAssertions::release(Id id)
{
    const auto it = m_requests.constFind(id);
    if (it == m_requests.cend())
        return;
    const std::optional<Held> held = it->held;
    m_requests.erase(it);
    // A request still being asked for is forgotten here; answer() lets go of
    // what its service grants later.
    if (held)
        letGo(*held);
}

void DBusPowerAssertions::ask(Id id)
{
    const auto it = m_requests.find(id);
    if (it == m_requests.end() || it->held)
        return;
    const QList<Inhibitor> inhibitors = order(it->kind);
    if (it->step >= inhibitors.size()) {
        // "no screen saver, power manager or portal", then what the others said.
        QStringList reasons = it->refusals;
        QStringList absent = it->absent;
        if (!absent.isEmpty()) {
            const QString last = absent.takeLast();
            reasons.prepend(QLatin1String("no ") + (absent.isEmpty()
                                                        ? last
                                                        : absent.join(QLatin1String(", ")) +
                                                              QLatin1String(" or ") + last));
        }
        const QString reason = reasons.join(QLatin1String(", "));
        m_requests.erase(it);
        Q_EMIT refused(id, reason);
        return;
    }

    const Inhibitor inhibitor = inhibitors.at(it->step);
    const Endpoint to = endpoint(inhibitor);
    const bool system = inhibitor == Inhibitor::Login;
    QDBusConnection bus = system ? QDBusConnection::systemBus() : QDBusConnection::sessionBus();
    // The inhibitor lasts as long as its descriptor is open: without passing
    // descriptors logind would end it before the reply reached us.
    if (!bus.isConnected() ||
        (system && !(bus.connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing))) {
        it->absent << to.what;
        ++it->step;
        ask(id);
        return;
    }

    QDBusMessage call = QDBusMessage::createMethodCall(to.service, to.path, to.interface,
                                                       QStringLiteral("Inhibit"));
    switch (inhibitor) {
    case Inhibitor::ScreenSaver:
    case Inhibitor::PowerManagement:
        call << applicationName() << it->reason;
        break;
    case Inhibitor::Portal:
        call << QString() << (portalIdle | portalSuspend)
             << QVariantMap{{QStringLiteral("reason"), it->reason}};
        break;
    case Inhibitor::Login:
        call << QStringLiteral("idle:sleep") << applicationName() << it->reason
             << QStringLiteral("block");
        break;
    }
    auto *const watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, replyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, id, inhibitor](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                answer(id, inhibitor, finished->reply());
            });
}

void DBusPowerAssertions::answer(Id id, Inhibitor inhibitor, const QDBusMessage &reply)
{
    const Endpoint from = endpoint(inhibitor);
    std::optional<Held> held;
    QString refusal; // stays empty when the service is not there
    if (reply.type() != QDBusMessage::ReplyMessage) {
        if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply"))
            refusal = QStringLiteral("%1 did not answer").arg(from.what);
        else if (!isAbsent(reply.errorName()))
            refusal = QStringLiteral("%1 refused (%2)").arg(from.what, reply.errorMessage());
    } else if (inhibitor == Inhibitor::Login) {
        const auto fd = qdbus_cast<QDBusUnixFileDescriptor>(reply.arguments().value(0));
        // Ours must not leak into the processes this application starts, or
        // the inhibitor would outlive the release.
        const int own = fd.isValid() ? ::fcntl(fd.fileDescriptor(), F_DUPFD_CLOEXEC, 0) : -1;
        if (own >= 0)
            held = Held{inhibitor, {}, 0, {}, own};
    } else if (inhibitor == Inhibitor::Portal) {
        const QString handle = qdbus_cast<QDBusObjectPath>(reply.arguments().value(0)).path();
        if (reply.signature() == QLatin1String("o") && !handle.isEmpty())
            held = Held{inhibitor, {}, 0, handle, -1};
    } else if (reply.signature() == QLatin1String("u")) {
        held = Held{inhibitor, {}, reply.arguments().value(0).toUInt(), {}, -1};
    }
    if (reply.type() == QDBusMessage::ReplyMessage && !held)
        refusal = QStringLiteral("%1 answered %2").arg(from.what, reply.signature());
    if (!held || inhibitor == Inhibitor::Login) {
        settle(id, inhibitor, held, refusal, reply);
        return;
    }

    // Qt 6.5 and later keep no sender on a reply, so the bus is asked who
    // owns the name now: the instance that just answered, unless it was
    // replaced within this one round trip.
    const QDBusPendingCall owner = QDBusConnection::sessionBus().interface()->asyncCall(
        QStringLiteral("GetNameOwner"), QString(from.service));
    auto *const watcher = new QDBusPendingCallWatcher(owner, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, id, inhibitor, held = *held](QDBusPendingCallWatcher *finished) mutable {
                finished->deleteLater();
                const QDBusMessage name = finished->reply();
                if (name.type() != QDBusMessage::ReplyMessage) {
                    // Gone already, and its inhibition with it.
                    settle(id, inhibitor, std::nullopt, {}, name);
                    return;
                }
                held.issuer = name.arguments().value(0).toString();
                settle(id, inhibitor, held, {}, name);
            });
}

void DBusPowerAssertions::settle(Id id, Inhibitor inhibitor, const std::optional<Held> &held,
                                 const QString &refusal, const QDBusMessage &reply)
{
    const Endpoint from = endpoint(inhibitor);
    const auto it = m_requests.find(id);
    if (it == m_requests.end()) {
        if (held)
            letGo(*held); // released before the reply came
        return;
    }
    if (held) {
        it->held = held;
        qCDebug(lcPower) << "inhibited by" << from.service;
        Q_EMIT granted(id);
        return;
    }
    qCInfo(lcPower).noquote() << from.service << "refused:" << reply.errorName()
                              << reply.errorMessage();
    if (refusal.isEmpty())
        it->absent << from.what;
    else
        it->refusals << refusal;
    ++it->step;
    ask(id);
}

void DBusPowerAssertions::letGo(const Held &held)
{
    if (held.inhibitor == Inhibitor::Login) {
        ::close(held.fd);
        return;
    }
    const Endpoint to = endpoint(held.inhibitor);
    QDBusMessage call =
        held.inhibitor == Inhibitor::Portal
            ? QDBusMessage::createMethodCall(held.issuer, held.handle,
                                             QStringLiteral("org.freedesktop.portal.Request"),
                                             QStringLiteral("Close"))
            : QDBusMessage::createMethodCall(held.issuer, to.path, to.interface,
                                             QStringLiteral("UnInhibit"));
    if (held.inhibitor != Inhibitor::Portal)
        call << held.cookie;
    call.setAutoStartService(false);
    // Fire and forget: if the issuer is gone its inhibition went with it, and
    // the bus's error answer is dropped unread.
    QDBusConnection::sessionBus().send(call);
}
