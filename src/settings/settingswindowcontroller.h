#pragma once

#include "settings/settingsappearance.h"
#include "settings/settingspage.h"

#include <QObject>
#include <QPointer>
#include <QQuickView>

class ColorSchemeSource;
class NotificationCenter;
class QQmlEngine;
class SettingsNavigation;
class Preferences;

// The one settings window. A closed window is destroyed (a tray application
// should not carry a window nobody sees); the next show() builds a new one
// with a fresh appearance observer, so pages start from the preferences as
// they are then. The QML engine stays, so reopening compiles nothing.
class SettingsWindowController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsWindowController)

public:
    struct Services
    {
        Preferences &defaults;
        NotificationCenter &notifications;
        ColorSchemeSource &desktop;
        SettingsNavigation &navigation;
    };

    explicit SettingsWindowController(const Services &services, QObject *parent = nullptr);
    ~SettingsWindowController() override;

    // The standard preferences, the shared centre and navigation, the
    // desktop's colour scheme.
    static SettingsWindowController &shared();

    // Selects `page`; brings a visible window to the front, else builds and
    // shows a new one.
    void show(SettingsPage page);

    [[nodiscard]] QQuickView *window() const { return m_window; }
    [[nodiscard]] bool isVisible() const;
    [[nodiscard]] SettingsAppearance *appearance() const { return m_appearance; }

Q_SIGNALS:
    // A new window was built (not when an open one is raised).
    void windowBuilt();

private:
    void build();
    [[nodiscard]] QQmlEngine *engine();

    Services m_services;
    QQmlEngine *m_engine = nullptr;
    QPointer<QQuickView> m_window;
    QPointer<SettingsAppearance> m_appearance;
};
