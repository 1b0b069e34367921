#include "platform/linux/xcbidletimesource.h"

#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <utility>

std::optional<XcbIdleTimeSource> XcbIdleTimeSource::connect()
{
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    // xcb_connect never returns null, it returns a connection in error.
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return std::nullopt;
    }
    const xcb_query_extension_reply_t *extension =
        xcb_get_extension_data(connection, &xcb_screensaver_id);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (!extension || !extension->present || screens.rem == 0) {
        xcb_disconnect(connection);
        return std::nullopt;
    }
    return XcbIdleTimeSource(connection, screens.data->root);
}

XcbIdleTimeSource::XcbIdleTimeSource(xcb_connection_t *connection, unsigned root)
    : m_connection(connection)
    , m_root(root)
{}

XcbIdleTimeSource::XcbIdleTimeSource(XcbIdleTimeSource &&other) noexcept
    : m_connection(std::exchange(other.m_connection, nullptr))
    , m_root(other.m_root)
{}

XcbIdleTimeSource &XcbIdleTimeSource::operator=(XcbIdleTimeSource &&other) noexcept
{
    std::swap(m_connection, other.m_connection);
    std::swap(m_root, other.m_root);
    return *this;
}

XcbIdleTimeSource::~XcbIdleTimeSource()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

std::optional<double> XcbIdleTimeSource::idleSeconds() const
{
    if (!m_connection || xcb_connection_has_error(m_connection))
        return std::nullopt;
    const std::unique_ptr<xcb_screensaver_query_info_reply_t, decltype(&std::free)> reply(
        xcb_screensaver_query_info_reply(m_connection,
                                         xcb_screensaver_query_info(m_connection, m_root), nullptr),
        &std::free);
    if (!reply)
        return std::nullopt;
    return reply->ms_since_user_input / 1000.0;
}
