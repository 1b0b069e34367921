#include "settings/settingsobjects.h"

#include "core/preferences.h"
#include "core/qmlinstances.h"
#include "integrations/cloudsyncmanager.h"
#include "integrations/updatechecker.h"
#include "overlay/lockavailability.h"
#include "overlay/overlaymanager.h"
#include "overlay/pinmanager.h"
#include "platform/loginitem.h"
#include "settings/aboutmodel.h"
#include "settings/calendarsourcelist.h"
#include "settings/generalsettings.h"
#include "settings/hotkeyrecorder.h"
#include "settings/integrationssettings.h"
#include "settings/overlaysettings.h"
#include "settings/schedulesettings.h"
#include "settings/securitysettings.h"
#include "themes/thememanager.h"
#include "themes/themesharing.h"
#include "triggers/calendartambermanager.h"
#include "triggers/focusmodemanager.h"
#include "triggers/hotkeymanager.h"
#include "triggers/schedulemanager.h"

#include <QDesktopServices>
#include <QQmlEngine>

namespace {
// Owned by the page that asked: QML must not collect it while the page
// shows it, and it must go with the page.
template<typename T> T *ownedBy(QObject *owner, T *object)
{
    object->setParent(owner);
    QJSEngine::setObjectOwnership(object, QJSEngine::CppOwnership);
    return object;
}
} // namespace

SettingsObjects::SettingsObjects(const QQmlEngine &engine, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
{}

SettingsObjects *SettingsObjects::create(QQmlEngine *engine, QJSEngine *)
{
    return new SettingsObjects(*engine);
}

GeneralSettings *SettingsObjects::generalSettings(QObject *owner) const
{
    // The session decides that, and it does not change while we run; a
    // missing PIN is the Security page's to say.
    const std::optional<LockRefusal> refusal =
        QmlInstances::of<OverlayManager>(&m_engine).lockRefusal();
    return ownedBy(owner, new GeneralSettings(QmlInstances::of<Preferences>(&m_engine),
                                              QmlInstances::of<LoginItem>(&m_engine),
                                              refusal == LockRefusal::waylandSession
                                                  ? LockAvailability::message(*refusal)
                                                  : QString()));
}

SecuritySettings *SettingsObjects::securitySettings(QObject *owner) const
{
    return ownedBy(owner, new SecuritySettings(QmlInstances::of<Preferences>(&m_engine),
                                               QmlInstances::of<PINManager>(&m_engine)));
}

OverlaySettings *SettingsObjects::overlaySettings(QObject *owner) const
{
    return ownedBy(owner, new OverlaySettings(QmlInstances::of<ThemeManager>(&m_engine)));
}

ThemeSharing *SettingsObjects::themeSharing(QObject *owner) const
{
    return ownedBy(owner, new ThemeSharing(QmlInstances::of<ThemeManager>(&m_engine)));
}

ScheduleSettings *SettingsObjects::scheduleSettings(QObject *owner) const
{
    return ownedBy(owner, new ScheduleSettings(QmlInstances::of<ScheduleManager>(&m_engine)));
}

IntegrationsSettings *SettingsObjects::integrationsSettings(QObject *owner) const
{
    return ownedBy(owner, new IntegrationsSettings(IntegrationsSettings::Services{
                              QmlInstances::of<Preferences>(&m_engine),
                              QmlInstances::of<CloudSyncManager>(&m_engine),
                              QmlInstances::of<CalendarTamberManager>(&m_engine),
                              QmlInstances::of<FocusModeManager>(&m_engine)}));
}

CalendarSourceList *SettingsObjects::calendarSources(QObject *owner) const
{
    return ownedBy(owner, new CalendarSourceList(QmlInstances::of<Preferences>(&m_engine)));
}

HotkeyRecorder *SettingsObjects::hotkeyRecorder(QObject *owner) const
{
    return ownedBy(owner, new HotkeyRecorder(QmlInstances::of<HotkeyManager>(&m_engine)));
}

AboutModel *SettingsObjects::aboutModel(QObject *owner) const
{
    return ownedBy(owner, new AboutModel(&QmlInstances::of<UpdateChecker>(&m_engine),
                                         &QDesktopServices::openUrl));
}
