#pragma once

#include <QRect>
#include <QSize>

class QScreen;

// Where the settings window opens: sized from the screen it opens on, within
// limits that keep the sidebar and a card readable, centred.
namespace SettingsWindowGeometry {
inline constexpr QSize minimumSize{820, 560};
inline constexpr int minimumWidth = 900;
inline constexpr int maximumWidth = 1080;
inline constexpr int minimumHeight = 600;
inline constexpr int maximumHeight = 740;

// 60 % of the width and 70 % of the height of `available`, clamped, centred
// on it.
[[nodiscard]] QRect frame(const QRect &available);
// The available area of the primary screen, else of the first screen, else
// 0, 0, 1920 × 1080.
[[nodiscard]] QRect referenceRect(QScreen *primary, const QList<QScreen *> &screens);
} // namespace SettingsWindowGeometry
