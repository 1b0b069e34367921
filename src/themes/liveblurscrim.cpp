#include "themes/liveblurscrim.h"

#include <algorithm>
#include <cmath>

namespace LiveBlurScrim {
double intensity(double radius)
{
    if (!std::isfinite(radius))
        radius = defaultRadius;
    return (radius - 10.0) / 70.0;
}

double liveOpacity(double radius)
{
    return std::clamp(0.05 + 0.2 * intensity(radius), 0.0, 1.0);
}

double fallbackOpacity(double radius)
{
    return std::clamp(0.28 + 0.38 * intensity(radius), 0.0, 1.0);
}
} // namespace LiveBlurScrim
