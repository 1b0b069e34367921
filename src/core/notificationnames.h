#pragma once

#include <QLatin1String>

// Names of the in-process events that cross subsystems.
namespace Notification {
inline constexpr QLatin1String overlayDidActivate{"Vostrel.overlayDidActivate"};
inline constexpr QLatin1String overlayDidDeactivate{"Vostrel.overlayDidDeactivate"};
inline constexpr QLatin1String trayPanelShouldClose{"Vostrel.trayPanelShouldClose"};
inline constexpr QLatin1String settingsAppearanceChanged{"Vostrel.settingsAppearanceChanged"};
inline constexpr QLatin1String hotkeyDidChange{"Vostrel.hotkeyDidChange"};
inline constexpr QLatin1String keepAwakeStateChanged{"Vostrel.keepAwakeStateChanged"};
inline constexpr QLatin1String keepAwakeTickUpdate{"Vostrel.keepAwakeTickUpdate"};
} // namespace Notification
