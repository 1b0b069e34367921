#include "platform/linux/portalkeygrabber.h"

#include "platform/platformlog.h"
#include "platform/virtualkeys.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QStringList>
#include <QtDebug>
#include <QUuid>

#include <xkbcommon/xkbcommon.h>

#include <array>

namespace {
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString lockShortcut = QStringLiteral("lock");

// One entry of the a(sa{sv}) that BindShortcuts takes.
struct Shortcut
{
    QString id;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &argument, const Shortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, Shortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

// An object path element of our own; the portal puts it in the paths of the
// request and the session, which is how their answers are told apart.
QString newToken()
{
    return QStringLiteral("vostrel") + QUuid::createUuid().toString(QUuid::Id128);
}

// Where the portal puts the request object of a call carrying handle_token:
// known before the call, so that its Response cannot be missed.
QString requestPath(const QString &token)
{
    QString sender = QDBusConnection::sessionBus().baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return portalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

// GlobalShortcuts documents the handle as a string; some backends send an
// object path.
QString sessionHandle(const QVariantMap &results)
{
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    if (handle.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return handle.value<QDBusObjectPath>().path();
    return handle.toString();
}

QDBusMessage portalCall(const QString &method)
{
    return QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
}
} // namespace

PortalKeyGrabber::PortalKeyGrabber(QObject *parent)
    : KeyGrabber(parent)
{
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    // Qt D-Bus looks the slots' parameter types up by name, and a type is
    // known by name only once registered: without this the connections
    // below fail until something else happens to use QDBusObjectPath.
    qRegisterMetaType<QDBusObjectPath>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"), this,
                SLOT(handleActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    bus.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Deactivated"), this,
                SLOT(handleDeactivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
}

PortalKeyGrabber::~PortalKeyGrabber()
{
    ungrab();
}

bool PortalKeyGrabber::isOffered()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    call << shortcutsInterface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(call, QDBus::Block, int(probeTimeout.count()));
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toUInt() >= 1;
}

QString PortalKeyGrabber::preferredTrigger(quint16 keyCode, quint64 modifierFlags)
{
    const std::optional<quint32> keysym = VirtualKeys::keysym(keyCode);
    if (!keysym)
        return {};
    // Letters by their capital, as desktops show them ("LOGO+L").
    std::array<char, 64> name{};
    if (xkb_keysym_get_name(xkb_keysym_to_upper(*keysym), name.data(), name.size()) <= 0)
        return {};
    QStringList parts;
    if (modifierFlags & VirtualKeys::Modifier::control)
        parts << QStringLiteral("CTRL");
    if (modifierFlags & VirtualKeys::Modifier::option)
        parts << QStringLiteral("ALT");
    if (modifierFlags & VirtualKeys::Modifier::shift)
        parts << QStringLiteral("SHIFT");
    if (modifierFlags & VirtualKeys::Modifier::command)
        parts << QStringLiteral("LOGO");
    parts << QString::fromLatin1(name.data());
    return parts.join(QLatin1Char('+'));
}

KeyGrabber::GrabResult PortalKeyGrabber::grab(quint16 keyCode, quint64 modifierFlags)
{
    const QString trigger = preferredTrigger(keyCode, modifierFlags);
    if (trigger.isEmpty())
        return GrabResult::UnsupportedKey;
    ungrab();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return GrabResult::Unavailable;

    m_trigger = trigger;
    QDBusMessage call = portalCall(QStringLiteral("CreateSession"));
    m_sessionRequest = awaitResponse(SLOT(handleSessionCreated(uint, QVariantMap)));
    call << QVariantMap{{QStringLiteral("handle_token"), m_sessionRequest.section(u'/', -1)},
                        {QStringLiteral("session_handle_token"), newToken()}};
    callPortal(call);
    return GrabResult::Grabbed;
}

void PortalKeyGrabber::ungrab()
{
    // A session still being created is closed when its answer comes.
    m_sessionRequest.clear();
    if (!m_bindRequest.isEmpty())
        stopAwaiting(std::exchange(m_bindRequest, QString()),
                     SLOT(handleShortcutsBound(uint, QVariantMap)));
    if (!m_session.isEmpty())
        closeSession(std::exchange(m_session, QString()));
    m_isPressed = false;
}

void PortalKeyGrabber::handleSessionCreated(uint response, const QVariantMap &results)
{
    const QString request = message().path();
    stopAwaiting(request, SLOT(handleSessionCreated(uint, QVariantMap)));
    const QString session = sessionHandle(results);
    if (request != m_sessionRequest) {
        if (response == 0 && !session.isEmpty())
            closeSession(session);
        return;
    }
    m_sessionRequest.clear();
    if (response != 0 || session.isEmpty()) {
        qCWarning(lcPlatform) << "the desktop portal refused a shortcut session, response"
                              << response;
        return;
    }
    m_session = session;

    QDBusMessage call = portalCall(QStringLiteral("BindShortcuts"));
    m_bindRequest = awaitResponse(SLOT(handleShortcutsBound(uint, QVariantMap)));
    const QList<Shortcut> shortcuts = {
        {lockShortcut,
         {{QStringLiteral("description"), QStringLiteral("Lock the screen")},
          {QStringLiteral("preferred_trigger"), m_trigger}}}};
    call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariant::fromValue(shortcuts)
         << QString()
         << QVariantMap{{QStringLiteral("handle_token"), m_bindRequest.section(u'/', -1)}};
    callPortal(call);
}

void PortalKeyGrabber::handleShortcutsBound(uint response, const QVariantMap &)
{
    const QString request = message().path();
    stopAwaiting(request, SLOT(handleShortcutsBound(uint, QVariantMap)));
    if (request != m_bindRequest)
        return;
    m_bindRequest.clear();
    // 1: the user said no; 2: anything else went wrong.
    if (response != 0)
        qCWarning(lcPlatform) << "the desktop portal did not bind the lock shortcut" << m_trigger
                              << "- response" << response;
}

void PortalKeyGrabber::handleActivated(const QDBusObjectPath &session, const QString &shortcutId,
                                       qulonglong, const QVariantMap &)
{
    if (m_session.isEmpty() || session.path() != m_session || shortcutId != lockShortcut ||
        m_isPressed)
        return;
    m_isPressed = true;
    Q_EMIT activated();
}

void PortalKeyGrabber::handleDeactivated(const QDBusObjectPath &session, const QString &shortcutId,
                                         qulonglong, const QVariantMap &)
{
    if (session.path() == m_session && shortcutId == lockShortcut)
        m_isPressed = false;
}

QString PortalKeyGrabber::awaitResponse(const char *slot)
{
    const QString request = requestPath(newToken());
    QDBusConnection::sessionBus().connect(portalService, request, requestInterface,
                                          QStringLiteral("Response"), this, slot);
    return request;
}

void PortalKeyGrabber::stopAwaiting(const QString &request, const char *slot)
{
    QDBusConnection::sessionBus().disconnect(portalService, request, requestInterface,
                                             QStringLiteral("Response"), this, slot);
}

void PortalKeyGrabber::callPortal(const QDBusMessage &call)
{
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [method = call.member()](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                if (finished->isError())
                    qCWarning(lcPlatform) << "the desktop portal failed" << method << "-"
                                          << finished->error().message();
            });
}

void PortalKeyGrabber::closeSession(const QString &session)
{
    QDBusConnection::sessionBus().asyncCall(QDBusMessage::createMethodCall(
        portalService, session, QStringLiteral("org.freedesktop.portal.Session"),
        QStringLiteral("Close")));
}
