#pragma once

#include "core/preferences.h"
#include "core/qmlinstances.h"
#include "overlay/overlaymanager.h"
#include "overlay/pinmanager.h"
#include "platform/fakes/fakeapplicationwindows.h"
#include "platform/fakes/fakebiometricauthenticator.h"
#include "platform/fakes/fakecrashguard.h"
#include "platform/fakes/fakedesktopanimations.h"
#include "platform/fakes/fakelockwindowguard.h"
#include "platform/fakes/fakepowerassertions.h"
#include "platform/fakes/fakeprocesslister.h"
#include "platform/fakes/fakescreencapture.h"
#include "platform/fakes/fakesoundplayer.h"
#include "support/eventlog.h"
#include "tasks/processmonitor.h"
#include "themes/desktopcapture.h"
#include "themes/thememanager.h"
#include "triggers/keepawakemanager.h"

#include <QStringList>
#include <QTemporaryDir>

// The managers behind the lock, wired to fakes and to a preferences file of
// their own, with a PIN stored. A test makes a fresh one for every case.
struct LockStack
{
    explicit LockStack(const QString &pin = QStringLiteral("1234"));
    ~LockStack();

    QTemporaryDir dir;
    Preferences defaults;
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
    // What the lock screen's QML reaches as singletons.
    QmlInstances qml;
    OverlayManager overlay;
    // Every change the overlay and keep-awake announced, oldest first.
    EventLog log;
    QStringList &posted = log.events;
};
