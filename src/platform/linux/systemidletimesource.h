#pragma once

#include "platform/idletimesource.h"
#include "platform/linux/xcbidletimesource.h"

#include <memory>
#include <optional>

class MutterIdleTimeSource;

// The X server's idle time in an X11 session; GNOME's idle monitor over D-Bus
// otherwise, or when the X server stops answering; 0 when neither answers.
// In a Wayland session the X server (Xwayland) sees only the input of X
// clients, so its idle time would grow while the user types elsewhere.
class SystemIdleTimeSource : public IdleTimeSource
{
public:
    SystemIdleTimeSource();
    ~SystemIdleTimeSource() override;

    void queryIdleSeconds(Answer answer) override;

    [[nodiscard]] bool usesX11() const { return m_x11.has_value(); }

private:
    std::optional<XcbIdleTimeSource> m_x11;
    std::unique_ptr<MutterIdleTimeSource> m_mutter;
};
