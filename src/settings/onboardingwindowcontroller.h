#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickView>

class ColorSchemeSource;
class OnboardingFlow;
class Preferences;
class QmlInstances;
class QQmlEngine;
class ThemeManager;

// The first-use window. Each show() while onboarding is incomplete starts a
// fresh one at the welcome step; finishing closes and drops it.
class OnboardingWindowController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OnboardingWindowController)

public:
    static constexpr QSize contentSize{560, 480};

    struct Services
    {
        Preferences &defaults;
        ThemeManager &themes;
        ColorSchemeSource &desktop;
        // What the view reaches as singletons and settings objects.
        const QmlInstances &qml;
    };

    explicit OnboardingWindowController(const Services &services, QObject *parent = nullptr);
    ~OnboardingWindowController() override;

    // Nothing once "hasCompletedOnboarding" is true. An open window is
    // brought forward rather than replaced, so typed PINs survive a second
    // launch of the application. `pinNeeded` adds a line saying that no lock
    // can be raised before a PIN is chosen.
    void show(bool pinNeeded = false);

    [[nodiscard]] QQuickView *window() const { return m_window; }
    [[nodiscard]] bool isVisible() const { return m_window && m_window->isVisible(); }

Q_SIGNALS:
    void finished();

private:
    [[nodiscard]] QQmlEngine *engine();
    void complete();

    Services m_services;
    QQmlEngine *m_engine = nullptr;
    QPointer<QQuickView> m_window;
    QPointer<OnboardingFlow> m_flow;
};
