#include "app/platformbackends.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "overlay/lockavailability.h"
#include "platform/calendarlocation.h"
#include "platform/linux/dbuspowerassertions.h"
#include "platform/linux/desktopcolorschemesource.h"
#include "platform/linux/folderkeyvaluestore.h"
#include "platform/linux/fprintdauthenticator.h"
#include "platform/linux/helperprogram.h"
#include "platform/linux/icalendarstore.h"
#include "platform/linux/portalkeygrabber.h"
#include "platform/linux/processcrashguard.h"
#include "platform/linux/procfsprocesslister.h"
#include "platform/linux/qtsoundplayer.h"
#include "platform/linux/systemdesktopanimations.h"
#include "platform/linux/systemfocusstate.h"
#include "platform/linux/systemidletimesource.h"
#include "platform/linux/x11lockwindowguard.h"
#include "platform/linux/x11screencapture.h"
#include "platform/linux/xcbapplicationwindows.h"
#include "platform/linux/xcbkeygrabber.h"
#include "platform/linux/xdgautostartloginitem.h"
#include "platform/wayland/idlenotifytimesource.h"
#include "platform/wayland/sessionlockclient.h"

#include <QProcessEnvironment>

PlatformBackends::PlatformBackends() = default;
PlatformBackends::~PlatformBackends() = default;

std::unique_ptr<PlatformBackends> createPlatformBackends(Preferences &preferences,
                                                         QNetworkAccessManager &network)
{
    auto backends = std::make_unique<PlatformBackends>();
    backends->waylandSession =
        LockAvailability::isWaylandSession(QProcessEnvironment::systemEnvironment());
    if (backends->waylandSession) {
        backends->lockScreenProgram =
            findHelperProgram(QStringLiteral("vostrel-lockscreen"), "VOSTREL_LOCKSCREEN");
        backends->sessionLockOffered = !backends->lockScreenProgram.isEmpty() &&
                                       SessionLockClient::compositorOffersSessionLock();
    }

    auto lockGuard = std::make_unique<X11LockWindowGuard>();
    auto crashGuard = std::make_unique<ProcessCrashGuard>();
    // The guard's cover is mapped under the panels before they show, so the
    // lock keeps it below them.
    QObject::connect(crashGuard.get(), &ProcessCrashGuard::coverWindowCreated, lockGuard.get(),
                     &X11LockWindowGuard::setCrashCover);
    backends->lockGuard = std::move(lockGuard);
    backends->crashGuard = std::move(crashGuard);

    backends->power = std::make_unique<DBusPowerAssertions>();
    backends->sounds = std::make_unique<QtSoundPlayer>();
    backends->animations = std::make_unique<SystemDesktopAnimations>();
    backends->screenCapture = std::make_unique<X11ScreenCapture>();
    backends->fingerprints = std::make_unique<FprintdAuthenticator>();
    // Wayland lets no client see another's keys; where the desktop's portal
    // binds shortcuts for applications, the hotkey goes through it.
    if (backends->waylandSession && PortalKeyGrabber::isOffered())
        backends->keyGrabber = std::make_unique<PortalKeyGrabber>();
    else
        backends->keyGrabber = std::make_unique<XcbKeyGrabber>();
    backends->processes = std::make_unique<ProcFsProcessLister>();
    backends->windows = std::make_unique<XcbApplicationWindows>();
    backends->focus = SystemFocusState::create();
    // The compositor's own idle notification where it offers one; GNOME's
    // idle monitor and the X server's otherwise.
    if (backends->waylandSession) {
        if (auto idleNotify = IdleNotifyTimeSource::connect())
            backends->idleTime = std::move(idleNotify);
    }
    if (!backends->idleTime)
        backends->idleTime = std::make_unique<SystemIdleTimeSource>();
    auto calendars = std::make_unique<ICalendarStore>(network);
    // The subscriptions are a preference, which `vostrel defaults` and the
    // settings sync may also write.
    const auto followSubscriptions = [store = calendars.get(), &preferences] {
        store->setLocations(
            CalendarLocation::locations(preferences.value(PreferenceKey::calendarSources)));
    };
    QObject::connect(&preferences, &Preferences::valueChanged, calendars.get(),
                     [followSubscriptions](const QString &key) {
                         if (key == PreferenceKey::calendarSources)
                             followSubscriptions();
                     });
    QObject::connect(&preferences, &Preferences::changedOnDisk, calendars.get(),
                     followSubscriptions);
    followSubscriptions();
    backends->calendars = std::move(calendars);
    backends->syncStore = std::make_unique<FolderKeyValueStore>(preferences);
    backends->loginItem = std::make_unique<XdgAutostartLoginItem>();
    backends->colorScheme = std::make_unique<DesktopColorSchemeSource>();
    return backends;
}
