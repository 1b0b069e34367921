#include "platform/linux/xcbapplicationwindows.h"

#include <QStringDecoder>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {
template<typename T> struct FreeDeleter
{
    void operator()(T *pointer) const { std::free(pointer); }
};
template<typename T> using XcbReply = std::unique_ptr<T, FreeDeleter<T>>;

enum Atom : std::size_t {
    NetClientList,
    NetWmPid,
    NetWmWindowType,
    NetWmState,
    NetWmStateSkipTaskbar,
    TypeNormal,
    TypeDialog,
    TypeUtility,
    TypeToolbar,
    TypeMenu,
    TypeSplash,
    TypeDock,
    TypeDesktop,
    TypeDropdownMenu,
    TypePopupMenu,
    TypeTooltip,
    TypeNotification,
    TypeCombo,
    TypeDnd,
    AtomCount
};

constexpr std::array<const char *, AtomCount> atomNames = {
    "_NET_CLIENT_LIST",
    "_NET_WM_PID",
    "_NET_WM_WINDOW_TYPE",
    "_NET_WM_STATE",
    "_NET_WM_STATE_SKIP_TASKBAR",
    "_NET_WM_WINDOW_TYPE_NORMAL",
    "_NET_WM_WINDOW_TYPE_DIALOG",
    "_NET_WM_WINDOW_TYPE_UTILITY",
    "_NET_WM_WINDOW_TYPE_TOOLBAR",
    "_NET_WM_WINDOW_TYPE_MENU",
    "_NET_WM_WINDOW_TYPE_SPLASH",
    "_NET_WM_WINDOW_TYPE_DOCK",
    "_NET_WM_WINDOW_TYPE_DESKTOP",
    "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU",
    "_NET_WM_WINDOW_TYPE_POPUP_MENU",
    "_NET_WM_WINDOW_TYPE_TOOLTIP",
    "_NET_WM_WINDOW_TYPE_NOTIFICATION",
    "_NET_WM_WINDOW_TYPE_COMBO",
    "_NET_WM_WINDOW_TYPE_DND",
};

// Long enough for any client list or type list a session will hold, in
// 32-bit units.
constexpr uint32_t maxListLength = 65536;

std::optional<ApplicationWindows::Type> typeForAtomIndex(std::size_t index)
{
    using Type = ApplicationWindows::Type;
    switch (index) {
    case TypeNormal:
        return Type::Normal;
    case TypeDialog:
        return Type::Dialog;
    case TypeUtility:
        return Type::Utility;
    case TypeToolbar:
        return Type::Toolbar;
    case TypeMenu:
        return Type::Menu;
    case TypeSplash:
        return Type::Splash;
    case TypeDock:
        return Type::Dock;
    case TypeDesktop:
        return Type::Desktop;
    case TypeDropdownMenu:
    case TypePopupMenu:
    case TypeTooltip:
    case TypeNotification:
    case TypeCombo:
    case TypeDnd:
        return Type::Transient;
    default:
        return std::nullopt;
    }
}

// ICCCM says STRING properties are Latin-1, but toolkits write UTF-8.
QString decodeClassPart(const char *data, int length)
{
    const QByteArray bytes(data, length);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    return text;
}
} // namespace

struct XcbApplicationWindows::Private
{
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = XCB_NONE;
    std::array<xcb_atom_t, AtomCount> atoms{};

    [[nodiscard]] bool isUsable() const
    {
        return connection && !xcb_connection_has_error(connection) && root != XCB_NONE;
    }

    [[nodiscard]] xcb_get_property_cookie_t request(xcb_window_t window, xcb_atom_t property,
                                                    xcb_atom_t type) const
    {
        return xcb_get_property(connection, 0, window, property, type, 0, maxListLength);
    }

    // Null with gone set when the window has been destroyed; null alone when
    // the property is absent or of another type.
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_cookie_t cookie, bool &gone) const
    {
        xcb_generic_error_t *error = nullptr;
        XcbReply<xcb_get_property_reply_t> result(
            xcb_get_property_reply(connection, cookie, &error));
        if (error) {
            gone = true;
            std::free(error);
            return nullptr;
        }
        if (!result || result->type == XCB_NONE)
            return nullptr;
        return result;
    }

    [[nodiscard]] std::optional<std::size_t> atomIndex(xcb_atom_t atom) const
    {
        for (std::size_t i = 0; i < atoms.size(); ++i) {
            if (atoms[i] == atom && atom != XCB_NONE)
                return i;
        }
        return std::nullopt;
    }
};

XcbApplicationWindows::XcbApplicationWindows(const QByteArray &displayName)
    : m_d(std::make_unique<Private>())
{
    int screenNumber = 0;
    m_d->connection =
        xcb_connect(displayName.isEmpty() ? nullptr : displayName.constData(), &screenNumber);
    if (xcb_connection_has_error(m_d->connection))
        return;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_d->connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.rem)
        return;
    m_d->root = screens.data->root;

    std::array<xcb_intern_atom_cookie_t, AtomCount> cookies{};
    for (std::size_t i = 0; i < AtomCount; ++i) {
        cookies[i] =
            xcb_intern_atom(m_d->connection, 0, uint16_t(std::strlen(atomNames[i])), atomNames[i]);
    }
    for (std::size_t i = 0; i < AtomCount; ++i) {
        XcbReply<xcb_intern_atom_reply_t> atom(
            xcb_intern_atom_reply(m_d->connection, cookies[i], nullptr));
        m_d->atoms[i] = atom ? atom->atom : XCB_NONE;
    }
}

XcbApplicationWindows::~XcbApplicationWindows()
{
    if (m_d->connection)
        xcb_disconnect(m_d->connection);
}

bool XcbApplicationWindows::isConnected() const
{
    return m_d->isUsable();
}

QList<ApplicationWindows::Id> XcbApplicationWindows::clientList()
{
    QList<Id> ids;
    if (!m_d->isUsable())
        return ids;
    bool gone = false;
    const auto list =
        m_d->reply(m_d->request(m_d->root, m_d->atoms[NetClientList], XCB_ATOM_WINDOW), gone);
    if (!list || list->format != 32)
        return ids;
    const auto *windows = static_cast<const xcb_window_t *>(xcb_get_property_value(list.get()));
    const int count = xcb_get_property_value_length(list.get()) / int(sizeof(xcb_window_t));
    ids.reserve(count);
    for (int i = 0; i < count; ++i)
        ids.append(windows[i]);
    return ids;
}

std::optional<ApplicationWindows::Window> XcbApplicationWindows::window(Id id)
{
    if (!m_d->isUsable())
        return std::nullopt;
    // All five requests go out before the first reply is awaited: one round
    // trip per window.
    const auto pidCookie = m_d->request(id, m_d->atoms[NetWmPid], XCB_ATOM_CARDINAL);
    const auto classCookie = m_d->request(id, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
    const auto typeCookie = m_d->request(id, m_d->atoms[NetWmWindowType], XCB_ATOM_ATOM);
    const auto stateCookie = m_d->request(id, m_d->atoms[NetWmState], XCB_ATOM_ATOM);
    const auto transientCookie = m_d->request(id, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW);

    bool gone = false;
    const auto pid = m_d->reply(pidCookie, gone);
    const auto windowClass = m_d->reply(classCookie, gone);
    const auto types = m_d->reply(typeCookie, gone);
    const auto states = m_d->reply(stateCookie, gone);
    const auto transient = m_d->reply(transientCookie, gone);
    if (gone)
        return std::nullopt;

    Window window;
    window.id = id;
    if (pid && pid->format == 32 && xcb_get_property_value_length(pid.get()) >= 4)
        window.pid = *static_cast<const uint32_t *>(xcb_get_property_value(pid.get()));
    if (windowClass && windowClass->format == 8) {
        const auto *data = static_cast<const char *>(xcb_get_property_value(windowClass.get()));
        const int length = xcb_get_property_value_length(windowClass.get());
        // "instance\0Class\0"; a client may leave out the last NUL or the
        // whole second half.
        int instanceEnd = 0;
        while (instanceEnd < length && data[instanceEnd])
            ++instanceEnd;
        window.instanceName = decodeClassPart(data, instanceEnd);
        if (instanceEnd < length) {
            const char *classStart = data + instanceEnd + 1;
            int classLength = 0;
            while (instanceEnd + 1 + classLength < length && classStart[classLength])
                ++classLength;
            window.className = decodeClassPart(classStart, classLength);
        }
    }
    if (types && types->format == 32) {
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(types.get()));
        const int count = xcb_get_property_value_length(types.get()) / 4;
        for (int i = 0; i < count; ++i) {
            if (const auto index = m_d->atomIndex(atoms[i])) {
                if (const auto type = typeForAtomIndex(*index))
                    window.types.append(*type);
            }
        }
    }
    if (states && states->format == 32) {
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(states.get()));
        const int count = xcb_get_property_value_length(states.get()) / 4;
        for (int i = 0; i < count; ++i) {
            if (atoms[i] == m_d->atoms[NetWmStateSkipTaskbar])
                window.skipsTaskbar = true;
        }
    }
    window.isTransientFor =
        transient && transient->format == 32 && xcb_get_property_value_length(transient.get()) >= 4;
    return window;
}
