#include "platform/linux/xcbkeygrabber.h"

#include "platform/linux/keyrepeatfilter.h"
#include "platform/platformlog.h"
#include "platform/virtualkeys.h"

#include <QSocketNotifier>
#include <QtDebug>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {
constexpr quint32 numLockKeysym = 0xff7f;
constexpr uint8_t badAccess = 10;
constexpr uint16_t combinationMods =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

uint16_t xModifiers(quint64 flags)
{
    uint16_t mods = 0;
    if (flags & VirtualKeys::Modifier::shift)
        mods |= XCB_MOD_MASK_SHIFT;
    if (flags & VirtualKeys::Modifier::control)
        mods |= XCB_MOD_MASK_CONTROL;
    if (flags & VirtualKeys::Modifier::option)
        mods |= XCB_MOD_MASK_1;
    if (flags & VirtualKeys::Modifier::command)
        mods |= XCB_MOD_MASK_4;
    return mods;
}

bool isWaylandSession()
{
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qgetenv("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland");
}

template<typename T> struct FreeDeleter
{
    void operator()(T *pointer) const { std::free(pointer); }
};
template<typename T> using XcbReply = std::unique_ptr<T, FreeDeleter<T>>;
} // namespace

struct XcbKeyGrabber::Private
{
    struct Grab
    {
        xcb_keycode_t keycode;
        uint16_t modifiers;
    };

    xcb_connection_t *connection = nullptr;
    xcb_window_t root = XCB_NONE;
    xcb_key_symbols_t *symbols = nullptr;
    std::unique_ptr<QSocketNotifier> notifier;
    bool isUsable = false;

    // The combination asked for, kept to grab it again after a keymap change.
    quint16 keyCode = 0;
    quint64 flags = 0;
    uint16_t modifiers = 0;
    std::vector<xcb_keycode_t> keycodes;
    std::vector<Grab> grabs;
    KeyRepeatFilter repeats;

    [[nodiscard]] std::vector<xcb_keycode_t> keycodesFor(quint32 keysym) const
    {
        std::vector<xcb_keycode_t> result;
        XcbReply<xcb_keycode_t> codes(xcb_key_symbols_get_keycode(symbols, keysym));
        for (const xcb_keycode_t *code = codes.get(); code && *code != XCB_NO_SYMBOL; ++code)
            result.push_back(*code);
        return result;
    }

    // Num Lock is Mod2 on nearly every keymap, but the keymap decides.
    [[nodiscard]] uint16_t numLockMask() const
    {
        const std::vector<xcb_keycode_t> numLock = keycodesFor(numLockKeysym);
        XcbReply<xcb_get_modifier_mapping_reply_t> mapping(xcb_get_modifier_mapping_reply(
            connection, xcb_get_modifier_mapping(connection), nullptr));
        if (!mapping || numLock.empty())
            return XCB_MOD_MASK_2;
        const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(mapping.get());
        const int perModifier = mapping->keycodes_per_modifier;
        for (int modifier = 0; modifier < 8; ++modifier) {
            for (int i = 0; i < perModifier; ++i) {
                const xcb_keycode_t code = codes[modifier * perModifier + i];
                if (code != XCB_NO_SYMBOL &&
                    std::find(numLock.begin(), numLock.end(), code) != numLock.end())
                    return uint16_t(1u << modifier);
            }
        }
        return XCB_MOD_MASK_2;
    }

    // Waits until the server has let go: another client that grabs the
    // combination right after must not run into a release still in transit.
    void releaseGrabs()
    {
        if (grabs.empty())
            return;
        for (const Grab &held : grabs)
            xcb_ungrab_key(connection, held.keycode, root, held.modifiers);
        grabs.clear();
        XcbReply<xcb_get_input_focus_reply_t> reply(
            xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
};

XcbKeyGrabber::XcbKeyGrabber(const QByteArray &displayName, QObject *parent)
    : KeyGrabber(parent)
    , m_d(std::make_unique<Private>())
{
    int screenNumber = 0;
    m_d->connection =
        xcb_connect(displayName.isEmpty() ? nullptr : displayName.constData(), &screenNumber);
    if (xcb_connection_has_error(m_d->connection)) {
        qCWarning(lcPlatform,
                  "XcbKeyGrabber: cannot connect to the X server; the hotkey works only inside "
                  "the application");
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_d->connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0)
        return;
    m_d->root = screens.data->root;
    m_d->symbols = xcb_key_symbols_alloc(m_d->connection);
    m_d->isUsable = m_d->symbols != nullptr;

    m_d->notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_d->connection),
                                                      QSocketNotifier::Read);
    connect(m_d->notifier.get(), &QSocketNotifier::activated, this, &XcbKeyGrabber::readEvents);
}

XcbKeyGrabber::~XcbKeyGrabber()
{
    m_d->notifier.reset();
    if (m_d->isUsable)
        m_d->releaseGrabs();
    if (m_d->symbols)
        xcb_key_symbols_free(m_d->symbols);
    xcb_disconnect(m_d->connection);
}

bool XcbKeyGrabber::isGlobalGrabSupported() const
{
    return m_d->isUsable && !isWaylandSession();
}

KeyGrabber::GrabResult XcbKeyGrabber::grab(quint16 keyCode, quint64 modifierFlags)
{
    ungrab();
    if (!isGlobalGrabSupported())
        return GrabResult::Unavailable;
    const std::optional<quint32> keysym = VirtualKeys::keysym(keyCode);
    if (!keysym)
        return GrabResult::UnsupportedKey;
    const std::vector<xcb_keycode_t> keycodes = m_d->keycodesFor(*keysym);
    if (keycodes.empty())
        return GrabResult::UnsupportedKey;

    const uint16_t modifiers = xModifiers(modifierFlags);
    const uint16_t numLock = m_d->numLockMask();
    const uint16_t lockVariants[] = {0, XCB_MOD_MASK_LOCK, numLock,
                                     uint16_t(XCB_MOD_MASK_LOCK | numLock)};

    // Send every request before checking any, so the whole set costs one
    // round trip.
    struct Pending
    {
        Private::Grab grab;
        xcb_void_cookie_t cookie;
    };
    std::vector<Pending> pending;
    for (const xcb_keycode_t keycode : keycodes) {
        for (const uint16_t variant : lockVariants) {
            const Private::Grab request{keycode, uint16_t(modifiers | variant)};
            const bool duplicate =
                std::any_of(pending.begin(), pending.end(), [&](const Pending &other) {
                    return other.grab.keycode == request.keycode &&
                           other.grab.modifiers == request.modifiers;
                });
            if (duplicate)
                continue;
            pending.push_back(
                {request, xcb_grab_key_checked(m_d->connection, 0, m_d->root, request.modifiers,
                                               keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)});
        }
    }

    bool refused = false;
    bool failed = false;
    for (const Pending &request : pending) {
        XcbReply<xcb_generic_error_t> error(xcb_request_check(m_d->connection, request.cookie));
        if (!error)
            m_d->grabs.push_back(request.grab);
        else if (error->error_code == badAccess)
            refused = true;
        else
            failed = true;
    }
    // Waiting for the answers may have queued events that the socket
    // notifier will not announce again.
    QMetaObject::invokeMethod(this, &XcbKeyGrabber::readEvents, Qt::QueuedConnection);

    if (refused || failed) {
        // Half a combination would fire only with some lock keys on.
        m_d->releaseGrabs();
        return refused ? GrabResult::Refused : GrabResult::UnsupportedKey;
    }
    m_d->keyCode = keyCode;
    m_d->flags = modifierFlags;
    m_d->modifiers = modifiers;
    m_d->keycodes = keycodes;
    return GrabResult::Grabbed;
}

void XcbKeyGrabber::ungrab()
{
    m_d->keycodes.clear();
    m_d->repeats.reset();
    if (!m_d->isUsable)
        return;
    m_d->releaseGrabs();
    QMetaObject::invokeMethod(this, &XcbKeyGrabber::readEvents, Qt::QueuedConnection);
}

void XcbKeyGrabber::processPendingEvents()
{
    if (!m_d->isUsable)
        return;
    XcbReply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(m_d->connection, xcb_get_input_focus(m_d->connection), nullptr));
    readEvents();
}

void XcbKeyGrabber::readEvents()
{
    if (!m_d->isUsable)
        return;
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_d->connection)) {
        handleEvent(event);
        std::free(event);
    }
    if (xcb_connection_has_error(m_d->connection)) {
        qCWarning(lcPlatform, "XcbKeyGrabber: lost the connection to the X server");
        m_d->notifier.reset();
        m_d->grabs.clear();
        m_d->keycodes.clear();
        m_d->isUsable = false;
    }
}

void XcbKeyGrabber::handleEvent(const void *rawEvent)
{
    const auto *event = static_cast<const xcb_generic_event_t *>(rawEvent);
    switch (event->response_type & ~0x80) {
    case XCB_KEY_PRESS: {
        const auto *press = static_cast<const xcb_key_press_event_t *>(rawEvent);
        const bool isOurs = std::find(m_d->keycodes.begin(), m_d->keycodes.end(), press->detail) !=
                                m_d->keycodes.end() &&
                            (press->state & combinationMods) == m_d->modifiers;
        if (isOurs && m_d->repeats.press(press->detail, press->time))
            Q_EMIT activated();
        break;
    }
    case XCB_KEY_RELEASE: {
        const auto *release = static_cast<const xcb_key_release_event_t *>(rawEvent);
        m_d->repeats.release(release->detail, release->time);
        break;
    }
    case XCB_MAPPING_NOTIFY: {
        auto *mapping = const_cast<xcb_mapping_notify_event_t *>(
            static_cast<const xcb_mapping_notify_event_t *>(rawEvent));
        xcb_refresh_keyboard_mapping(m_d->symbols, mapping);
        if (mapping->request != XCB_MAPPING_POINTER && !m_d->keycodes.empty())
            QMetaObject::invokeMethod(this, &XcbKeyGrabber::regrabAfterMappingChange,
                                      Qt::QueuedConnection);
        break;
    }
    default:
        break;
    }
}

void XcbKeyGrabber::regrabAfterMappingChange()
{
    if (m_d->keycodes.empty())
        return;
    if (grab(m_d->keyCode, m_d->flags) != GrabResult::Grabbed)
        qCWarning(lcPlatform,
                  "XcbKeyGrabber: the hotkey could not be grabbed again after a keyboard "
                  "mapping change");
}
