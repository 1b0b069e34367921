#pragma once

#include "desktopcapture.h"
#include "fakeapplicationwindows.h"
#include "fakebiometricauthenticator.h"
#include "fakecrashguard.h"
#include "fakedesktopanimations.h"
#include "fakelockwindowguard.h"
#include "fakepowerassertions.h"
#include "fakeprocesslister.h"
#include "fakescreencapture.h"
#include "fakesoundplayer.h"
#include "keepawakemanager.h"
#include "notificationcenter.h"
#include "overlaymanager.h"
#include "pinmanager.h"
#include "processmonitor.h"
#include "thememanager.h"
#include "userdefaults.h"

#include <QStringList>
#include <QTemporaryDir>

// The managers behind the lock, wired to fakes and to a preferences file of
// their own, with a PIN stored. A test makes a fresh one for every case.
struct LockStack
{
    explicit LockStack(const QString &pin = QStringLiteral("1234"));
    ~LockStack();

    QTemporaryDir dir;
    UserDefaults defaults;
    NotificationCenter notifications;
    FakePowerAssertions assertions;
    FakeBiometricAuthenticator reader;
    FakeLockWindowGuard guard;
    FakeSoundPlayer sounds;
    FakeCrashGuard crashGuard;
    FakeProcessLister processes;
    FakeApplicationWindows windows;
    FakeDesktopAnimations animations;
    FakeScreenCapture screenCapture;
    DesktopCapture capture{screenCapture};
    KeepAwakeManager keepAwake;
    PINManager pins;
    ThemeManager themes;
    ProcessMonitor tasks;
    OverlayManager overlay;
    // Every notification posted, oldest first.
    QStringList posted;
};
