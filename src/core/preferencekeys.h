#pragma once

#include <QLatin1String>

// Every preference key the application reads or writes. The values are the
// names stored in the preferences file, so they never change once shipped.
namespace PreferenceKey {
inline constexpr QLatin1String hasCompletedOnboarding{"hasCompletedOnboarding"};
inline constexpr QLatin1String storedPIN{"app.vostrel.pin.stored"};
inline constexpr QLatin1String maxPINAttempts{"maxPINAttempts"};
inline constexpr QLatin1String fingerprintEnabled{"touchIDEnabled"};
inline constexpr QLatin1String requirePINAlways{"requirePINAlways"};
inline constexpr QLatin1String lockSoundsEnabled{"lockSoundsEnabled"};
inline constexpr QLatin1String launchAtLogin{"launchAtLogin"};
inline constexpr QLatin1String defaultDuration{"defaultDuration"};
inline constexpr QLatin1String lockAllDisplays{"lockAllDisplays"};
inline constexpr QLatin1String settingsAppearance{"settingsAppearance"};
inline constexpr QLatin1String hotkeyModifiers{"hotkeyModifiers"};
inline constexpr QLatin1String hotkeyKeyCode{"hotkeyKeyCode"};
inline constexpr QLatin1String hotkeyCharacter{"hotkeyCharacter"};
inline constexpr QLatin1String autoLockEnabled{"autoLockEnabled"};
inline constexpr QLatin1String autoLockMinutes{"autoLockMinutes"};
inline constexpr QLatin1String scheduleSlots{"scheduleSlots"};
inline constexpr QLatin1String calendarTamberEnabled{"calendarTamberEnabled"};
inline constexpr QLatin1String focusModeAutoLock{"focusModeAutoLock"};
inline constexpr QLatin1String slackSyncEnabled{"slackSyncEnabled"};
inline constexpr QLatin1String slackBotToken{"slackBotToken"};
inline constexpr QLatin1String slackStatusText{"slackStatusText"};
inline constexpr QLatin1String slackStatusEmoji{"slackStatusEmoji"};
inline constexpr QLatin1String cloudSyncEnabled{"iCloudSyncEnabled"};
inline constexpr QLatin1String selectedTheme{"selectedTheme"};
inline constexpr QLatin1String overlayHeadline{"overlayHeadline"};
inline constexpr QLatin1String overlaySubtext{"overlaySubtext"};
inline constexpr QLatin1String showTaskTicker{"showTaskTicker"};
inline constexpr QLatin1String showClock{"showClock"};
inline constexpr QLatin1String customPhotoPath{"customPhotoPath"};
inline constexpr QLatin1String customHTMLPath{"customHTMLPath"};
inline constexpr QLatin1String customWebsiteURL{"customWebsiteURL"};
inline constexpr QLatin1String liveBlurRadius{"liveBlurRadius"};
inline constexpr QLatin1String liveBlurShowDesktop{"liveBlurShowDesktop"};
inline constexpr QLatin1String overlayBackgroundFill{"overlayBackgroundFill"};
inline constexpr QLatin1String overlayBackgroundMotion{"overlayBackgroundMotion"};

// Linux only: services that other desktops provide by themselves.
// One iCalendar file path or http(s) address per line.
inline constexpr QLatin1String calendarSources{"calendarSources"};
// The folder holding the synced settings file.
inline constexpr QLatin1String cloudSyncFolder{"cloudSyncFolder"};
// The sync folder whose file this machine has read: reading any other folder
// for the first time is the initial sync.
inline constexpr QLatin1String cloudSyncJoinedFolder{"cloudSyncJoinedFolder"};
} // namespace PreferenceKey
