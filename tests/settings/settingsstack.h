#pragma once

#include "integrations/cloudsyncmanager.h"
#include "integrations/updatechecker.h"
#include "platform/fakes/fakecalendarstore.h"
#include "platform/fakes/fakecolorschemesource.h"
#include "platform/fakes/fakefocusstate.h"
#include "platform/fakes/fakekeygrabber.h"
#include "platform/fakes/fakekeyvaluestore.h"
#include "platform/fakes/fakeloginitem.h"
#include "settings/settingsnavigation.h"
#include "support/lockstack.h"
#include "triggers/calendartambermanager.h"
#include "triggers/focusmodemanager.h"
#include "triggers/hotkeymanager.h"
#include "triggers/locktarget.h"
#include "triggers/schedulemanager.h"

#include <QNetworkAccessManager>

// Everything the settings pages reach, over fakes and a preferences file of
// its own with no PIN yet, handed to QML as the application hands its own.
struct SettingsStack : LockStack
{
    SettingsStack();

    FakeLoginItem loginItem;
    FakeColorSchemeSource desktop;
    FakeKeyGrabber grabber;
    FakeCalendarStore calendars;
    FakeFocusState focusState;
    FakeKeyValueStore syncStore;
    QNetworkAccessManager network;
    LockTarget target;
    HotkeyManager hotkey;
    ScheduleManager schedule;
    CalendarTamberManager calendar;
    FocusModeManager focus;
    CloudSyncManager cloud;
    // Port 9 refuses at once: a check never leaves the machine.
    UpdateChecker updates;
    SettingsNavigation navigation;
};
