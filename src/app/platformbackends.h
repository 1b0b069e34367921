#pragma once

#include <QString>

#include <memory>

class ApplicationWindows;
class BiometricAuthenticator;
class CalendarStore;
class ColorSchemeSource;
class CrashGuard;
class DesktopAnimations;
class FocusState;
class IdleTimeSource;
class KeyGrabber;
class KeyValueStore;
class LockWindowGuard;
class LoginItem;
class PowerAssertions;
class Preferences;
class ProcessLister;
class QNetworkAccessManager;
class ScreenCapture;
class SoundPlayer;

// The operating-system services the application runs on, each behind its
// interface. Which backend serves each one is decided in one place,
// createPlatformBackends(); everything above sees only the interfaces.
struct PlatformBackends
{
    PlatformBackends();
    ~PlatformBackends();
    PlatformBackends(const PlatformBackends &) = delete;
    PlatformBackends &operator=(const PlatformBackends &) = delete;

    std::unique_ptr<PowerAssertions> power;
    std::unique_ptr<LockWindowGuard> lockGuard;
    std::unique_ptr<CrashGuard> crashGuard;
    std::unique_ptr<SoundPlayer> sounds;
    std::unique_ptr<DesktopAnimations> animations;
    std::unique_ptr<ScreenCapture> screenCapture;
    std::unique_ptr<BiometricAuthenticator> fingerprints;
    std::unique_ptr<KeyGrabber> keyGrabber;
    std::unique_ptr<ProcessLister> processes;
    std::unique_ptr<ApplicationWindows> windows;
    std::unique_ptr<FocusState> focus;
    std::unique_ptr<IdleTimeSource> idleTime;
    std::unique_ptr<CalendarStore> calendars;
    std::unique_ptr<KeyValueStore> syncStore;
    std::unique_ptr<LoginItem> loginItem;
    std::unique_ptr<ColorSchemeSource> colorScheme;
    // The session is Wayland: this process can hold no lock there.
    bool waylandSession = false;
    // Its compositor offers the session lock, which a lock-screen process
    // holds for us.
    bool sessionLockOffered = false;
    // That process's program; empty when it is not installed.
    QString lockScreenProgram;
};

// The backends of the session this process runs in: X11 today.
[[nodiscard]] std::unique_ptr<PlatformBackends>
createPlatformBackends(Preferences &preferences, QNetworkAccessManager &network);
