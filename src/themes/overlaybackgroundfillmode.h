#pragma once

#include <QList>
#include <QString>

#include <optional>

// Flat colour or composed gradient under the built-in themes and the photo.
enum class OverlayBackgroundFillMode {
    solid,
    gradient,
};

namespace BackgroundFillMode {
[[nodiscard]] const QList<OverlayBackgroundFillMode> &allCases();
[[nodiscard]] QString rawValue(OverlayBackgroundFillMode mode);
// "solid" and "gradient" exactly; anything else is none and the caller picks.
[[nodiscard]] std::optional<OverlayBackgroundFillMode> fromRawValue(QStringView raw);
} // namespace BackgroundFillMode
