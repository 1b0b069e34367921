#pragma once

#include "tray/traymodel.h"
#include "tray/traypanelwindow.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include <chrono>

class KeepAwakeManager;
class OverlayManager;
class QQmlEngine;
class Preferences;

// The tray icon: a padlock that closes while the lock is up, the time left of
// a timed keep-awake period in its tool tip, and a click that opens or closes
// the panel. Lives as long as the application.
class TrayIcon : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrayIcon)

public:
    using Services = TrayModel::Services;

    // Shows the icon at once; a tray that appears later picks it up.
    explicit TrayIcon(const Services &services, QObject *parent = nullptr);
    ~TrayIcon() override;

    [[nodiscard]] QSystemTrayIcon &trayIcon() { return m_trayIcon; }
    [[nodiscard]] bool showsLockedIcon() const { return m_showsLockedIcon; }
    // " 14:59" while a timed keep-awake period has time left, else empty.
    [[nodiscard]] QString title() const { return m_title; }
    [[nodiscard]] TrayPanelWindow *panel() const { return m_panel; }
    [[nodiscard]] bool isPanelOpen() const { return m_panel != nullptr; }

    // Handed to every panel; see TrayModel.
    void setSettingsOpener(TrayModel::SettingsOpener opener);
    void setQuitHandler(TrayModel::QuitHandler handler);
    void setLockHandler(TrayModel::LockHandler handler);

    void togglePanel();
    void openPanel();
    void closePanel();

    // A press that closes the panel may also land on the tray icon; the
    // activation it raises there must not open the panel again. Until the
    // guard ends, activations are swallowed: at the next turn of the event
    // loop where the icon has a position (XEmbed), after
    // statusNotifierPressGuard where it has none.
    static constexpr std::chrono::milliseconds statusNotifierPressGuard{500};
    [[nodiscard]] bool isPressGuardActive() const { return m_isPressGuardActive; }
    void endPressGuard();

    void updateIcon();
    void updateTitle();
    // Shows the icon again, should a tray have dropped it.
    void applicationActivated();

private:
    void handleActivation(QSystemTrayIcon::ActivationReason reason);
    void startPressGuard();
    [[nodiscard]] QQmlEngine *engine();

    Services m_services;
    QSystemTrayIcon m_trayIcon;
    QPointer<TrayPanelWindow> m_panel;
    QQmlEngine *m_engine = nullptr;
    TrayModel::SettingsOpener m_settingsOpener;
    TrayModel::QuitHandler m_quitHandler;
    TrayModel::LockHandler m_lockHandler;
    QString m_title;
    bool m_showsLockedIcon = false;
    bool m_hasIcon = false;
    QTimer m_pressGuard;
    bool m_isPressGuardActive = false;
};
