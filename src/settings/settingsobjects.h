#pragma once

#include <QObject>
#include <qqmlregistration.h>

class AboutModel;
class CalendarSourceList;
class GeneralSettings;
class HotkeyRecorder;
class IntegrationsSettings;
class OverlaySettings;
class QJSEngine;
class QmlInstances;
class QQmlEngine;
class ScheduleSettings;
class SecuritySettings;
class ThemeSharing;

// Makes the objects behind the settings pages, each over the application's
// own managers as they were handed to this engine. Every page makes its own
// and passes itself as the owner, so a page's half-filled form goes when the
// page goes, as a closed window must forget a typed PIN.
class SettingsObjects : public QObject
{
    Q_OBJECT
    Q_MOC_INCLUDE("settings/aboutmodel.h")
    Q_MOC_INCLUDE("settings/calendarsourcelist.h")
    Q_MOC_INCLUDE("settings/generalsettings.h")
    Q_MOC_INCLUDE("settings/hotkeyrecorder.h")
    Q_MOC_INCLUDE("settings/integrationssettings.h")
    Q_MOC_INCLUDE("settings/overlaysettings.h")
    Q_MOC_INCLUDE("settings/schedulesettings.h")
    Q_MOC_INCLUDE("settings/securitysettings.h")
    Q_MOC_INCLUDE("themes/themesharing.h")
    QML_ELEMENT
    QML_SINGLETON
    Q_DISABLE_COPY_MOVE(SettingsObjects)

public:
    explicit SettingsObjects(const QQmlEngine &engine, QObject *parent = nullptr);
    static SettingsObjects *create(QQmlEngine *engine, QJSEngine *);

    Q_INVOKABLE GeneralSettings *generalSettings(QObject *owner) const;
    Q_INVOKABLE SecuritySettings *securitySettings(QObject *owner) const;
    Q_INVOKABLE OverlaySettings *overlaySettings(QObject *owner) const;
    Q_INVOKABLE ThemeSharing *themeSharing(QObject *owner) const;
    Q_INVOKABLE ScheduleSettings *scheduleSettings(QObject *owner) const;
    Q_INVOKABLE IntegrationsSettings *integrationsSettings(QObject *owner) const;
    Q_INVOKABLE CalendarSourceList *calendarSources(QObject *owner) const;
    Q_INVOKABLE HotkeyRecorder *hotkeyRecorder(QObject *owner) const;
    Q_INVOKABLE AboutModel *aboutModel(QObject *owner) const;

private:
    const QQmlEngine &m_engine;
};
