#include "settings/settingswindowgeometry.h"

#include <QScreen>

#include <algorithm>
#include <cmath>

namespace SettingsWindowGeometry {

QRect frame(const QRect &available)
{
    const int width = std::clamp(static_cast<int>(std::lround(available.width() * 0.6)),
                                 minimumWidth, maximumWidth);
    const int height = std::clamp(static_cast<int>(std::lround(available.height() * 0.7)),
                                  minimumHeight, maximumHeight);
    QRect result(0, 0, width, height);
    result.moveCenter(available.center());
    return result;
}

QRect referenceRect(QScreen *primary, const QList<QScreen *> &screens)
{
    if (primary)
        return primary->availableGeometry();
    if (!screens.isEmpty() && screens.first())
        return screens.first()->availableGeometry();
    return {0, 0, 1920, 1080};
}

} // namespace SettingsWindowGeometry
