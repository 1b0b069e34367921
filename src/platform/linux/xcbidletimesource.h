#pragma once

#include <optional>

struct xcb_connection_t;

// The X server's idle time from the MIT-SCREEN-SAVER extension, over a
// connection of its own so that it works whatever Qt's platform is.
class XcbIdleTimeSource
{
public:
    // Nothing when there is no X server or it lacks the extension.
    [[nodiscard]] static std::optional<XcbIdleTimeSource> connect();

    XcbIdleTimeSource(XcbIdleTimeSource &&other) noexcept;
    XcbIdleTimeSource &operator=(XcbIdleTimeSource &&other) noexcept;
    XcbIdleTimeSource(const XcbIdleTimeSource &) = delete;
    XcbIdleTimeSource &operator=(const XcbIdleTimeSource &) = delete;
    ~XcbIdleTimeSource();

    // Seconds since the last keyboard or pointer input; nothing once the
    // server has gone.
    [[nodiscard]] std::optional<double> idleSeconds() const;

private:
    XcbIdleTimeSource(xcb_connection_t *connection, unsigned root);

    xcb_connection_t *m_connection = nullptr;
    unsigned m_root = 0;
};
