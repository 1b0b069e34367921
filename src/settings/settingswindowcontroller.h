#pragma once

#include "settings/settingsappearance.h"
#include "settings/settingspage.h"

#include <QObject>
#include <QPointer>
#include <QQuickView>

class ColorSchemeSource;
class QmlInstances;
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
        ColorSchemeSource &desktop;
        SettingsNavigation &navigation;
        // What the pages reach as singletons and settings objects.
        const QmlInstances &qml;
    };

    explicit SettingsWindowController(const Services &services, QObject *parent = nullptr);
    ~SettingsWindowController() override;

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
