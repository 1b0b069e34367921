#include "platform/linux/systemidletimesource.h"

#include "platform/linux/mutteridletimesource.h"

#include <QtGlobal>

namespace {
bool isWaylandSession()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}
} // namespace

SystemIdleTimeSource::SystemIdleTimeSource()
    : m_mutter(std::make_unique<MutterIdleTimeSource>())
{
    if (!isWaylandSession())
        m_x11 = XcbIdleTimeSource::connect();
}

SystemIdleTimeSource::~SystemIdleTimeSource() = default;

void SystemIdleTimeSource::queryIdleSeconds(Answer answer)
{
    if (m_x11) {
        if (const std::optional<double> seconds = m_x11->idleSeconds()) {
            answer(*seconds);
            return;
        }
    }
    m_mutter->queryIdleSeconds(std::move(answer));
}
