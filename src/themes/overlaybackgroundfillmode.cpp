#include "themes/overlaybackgroundfillmode.h"

namespace BackgroundFillMode {
const QList<OverlayBackgroundFillMode> &allCases()
{
    static const QList<OverlayBackgroundFillMode> cases{OverlayBackgroundFillMode::solid,
                                                        OverlayBackgroundFillMode::gradient};
    return cases;
}

QString rawValue(OverlayBackgroundFillMode mode)
{
    return mode == OverlayBackgroundFillMode::solid ? QStringLiteral("solid")
                                                    : QStringLiteral("gradient");
}

std::optional<OverlayBackgroundFillMode> fromRawValue(QStringView raw)
{
    if (raw == QLatin1String("solid"))
        return OverlayBackgroundFillMode::solid;
    if (raw == QLatin1String("gradient"))
        return OverlayBackgroundFillMode::gradient;
    return std::nullopt;
}
} // namespace BackgroundFillMode
