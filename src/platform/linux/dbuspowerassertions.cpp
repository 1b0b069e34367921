#include "dbuspowerassertions.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QLoggingCategory>

#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace {
Q_LOGGING_CATEGORY(lcPower, "vostrel.power")

// Creation waits for the service's answer: the keep-awake manager has to know
// before it returns whether the period is covered, and it is called in the
// middle of raising the lock. The bound keeps a hung screen saver or logind
// from holding the lock back for more than a moment; a late answer counts as a
// refusal. Releasing never waits (a message sent, a descriptor closed).
constexpr int replyTimeoutMs = 1000;

QString applicationName()
{
    return QStringLiteral("Vostrel");
}

namespace ScreenSaver {
QString service()
{
    return QStringLiteral("org.freedesktop.ScreenSaver");
}
QString path()
{
    return QStringLiteral("/org/freedesktop/ScreenSaver");
}
QString interface()
{
    return QStringLiteral("org.freedesktop.ScreenSaver");
}
} // namespace ScreenSaver

namespace Login {
QString service()
{
    return QStringLiteral("org.freedesktop.login1");
}
QString path()
{
    return QStringLiteral("/org/freedesktop/login1");
}
QString interface()
{
    return QStringLiteral("org.freedesktop.login1.Manager");
}
} // namespace Login

bool isAnswer(const QDBusMessage &reply, const char *what)
{
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    qCWarning(lcPower).noquote() << what << "refused:" << reply.errorName() << reply.errorMessage();
    return false;
}
} // namespace

DBusPowerAssertions::~DBusPowerAssertions()
{
    for (const Held &held : std::as_const(m_held))
        letGo(held);
}

std::optional<PowerAssertions::Id> DBusPowerAssertions::create(Kind kind, const QString &name)
{
    const std::optional<Held> held =
        kind == Kind::Display ? inhibitDisplay(name) : inhibitSleep(name);
    if (!held)
        return std::nullopt;
    const Id id = m_nextId;
    m_nextId = m_nextId == std::numeric_limits<Id>::max() ? 1 : m_nextId + 1;
    m_held.insert(id, *held);
    return id;
}

void DBusPowerAssertions::release(Id id)
{
    const auto it = m_held.constFind(id);
    if (it == m_held.cend())
        return;
    const Held held = *it;
    m_held.erase(it);
    letGo(held);
}

std::optional<DBusPowerAssertions::Held> DBusPowerAssertions::inhibitDisplay(const QString &reason)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCWarning(lcPower) << "no session bus; the display may sleep";
        return std::nullopt;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(ScreenSaver::service(), ScreenSaver::path(),
                                       ScreenSaver::interface(), QStringLiteral("Inhibit"));
    call << applicationName() << reason;
    const QDBusMessage reply = bus.call(call, QDBus::Block, replyTimeoutMs);
    if (!isAnswer(reply, "screen saver inhibition"))
        return std::nullopt;
    const QDBusReply<uint> cookie(reply);
    if (!cookie.isValid()) {
        qCWarning(lcPower) << "screen saver answered Inhibit with" << reply.signature();
        return std::nullopt;
    }
    // The cookie only means something to the instance that issued it: a screen
    // saver that restarts must not receive it later and drop someone else's
    // inhibition that happens to carry the same number.
    return Held{Kind::Display, cookie.value(), reply.service(), -1};
}

std::optional<DBusPowerAssertions::Held> DBusPowerAssertions::inhibitSleep(const QString &reason)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        qCWarning(lcPower) << "no system bus; the system may suspend";
        return std::nullopt;
    }
    if (!(bus.connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing)) {
        qCWarning(lcPower) << "the system bus cannot pass the inhibitor descriptor";
        return std::nullopt;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        Login::service(), Login::path(), Login::interface(), QStringLiteral("Inhibit"));
    call << QStringLiteral("idle:sleep") << applicationName() << reason << QStringLiteral("block");
    const QDBusMessage reply = bus.call(call, QDBus::Block, replyTimeoutMs);
    if (!isAnswer(reply, "sleep inhibitor"))
        return std::nullopt;
    const QDBusReply<QDBusUnixFileDescriptor> fd(reply);
    if (!fd.isValid() || !fd.value().isValid()) {
        qCWarning(lcPower) << "logind answered Inhibit with" << reply.signature();
        return std::nullopt;
    }
    // The inhibitor lasts as long as any copy of the descriptor is open, so ours
    // must not leak into the processes this application starts.
    const int own = ::fcntl(fd.value().fileDescriptor(), F_DUPFD_CLOEXEC, 0);
    if (own < 0) {
        qCWarning(lcPower) << "cannot keep the inhibitor descriptor:" << qt_error_string(errno);
        return std::nullopt;
    }
    return Held{Kind::System, 0, QString(), own};
}

void DBusPowerAssertions::letGo(const Held &held)
{
    if (held.kind == Kind::System) {
        ::close(held.fd);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        held.issuer, ScreenSaver::path(), ScreenSaver::interface(), QStringLiteral("UnInhibit"));
    call << held.cookie;
    call.setAutoStartService(false);
    // Fire and forget: if the issuer is gone its inhibition went with it, and
    // the bus's error answer is dropped unread.
    QDBusConnection::sessionBus().send(call);
}
