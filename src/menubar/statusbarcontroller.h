#pragma once

#include "menubarmodel.h"
#include "menubarpopover.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

class KeepAwakeManager;
class NotificationCenter;
class OverlayManager;
class QQmlEngine;
class UserDefaults;

// The tray icon: a padlock that closes while the lock is up, the time left of
// a timed keep-awake period in its tool tip, and a click that opens or closes
// the panel. Lives as long as the application.
class StatusBarController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusBarController)

public:
    using Services = MenuBarModel::Services;

    // Shows the icon at once; a tray that appears later picks it up.
    explicit StatusBarController(const Services &services, QObject *parent = nullptr);
    ~StatusBarController() override;

    [[nodiscard]] QSystemTrayIcon &trayIcon() { return m_trayIcon; }
    [[nodiscard]] bool showsLockedIcon() const { return m_showsLockedIcon; }
    // " 14:59" while a timed keep-awake period has time left, else empty.
    [[nodiscard]] QString title() const { return m_title; }
    [[nodiscard]] MenuBarPopover *panel() const { return m_panel; }
    [[nodiscard]] bool isPanelOpen() const { return m_panel != nullptr; }

    // Handed to every panel; see MenuBarModel.
    void setSettingsOpener(MenuBarModel::SettingsOpener opener);
    void setQuitHandler(MenuBarModel::QuitHandler handler);
    void setLockHandler(MenuBarModel::LockHandler handler);

    void togglePanel();
    void openPanel();
    void closePanel();

    void updateIcon();
    void updateTitle();
    // Shows the icon again, should a tray have dropped it.
    void applicationDidBecomeActive();

private:
    void handleActivation(QSystemTrayIcon::ActivationReason reason);
    [[nodiscard]] QQmlEngine *engine();

    Services m_services;
    QSystemTrayIcon m_trayIcon;
    QPointer<MenuBarPopover> m_panel;
    QQmlEngine *m_engine = nullptr;
    MenuBarModel::SettingsOpener m_settingsOpener;
    MenuBarModel::QuitHandler m_quitHandler;
    MenuBarModel::LockHandler m_lockHandler;
    QString m_title;
    bool m_showsLockedIcon = false;
    bool m_hasIcon = false;
    // Set by a press that closed the panel until the event loop turns, so the
    // activation the same press may raise on the icon does not reopen it.
    bool m_closedByPress = false;
};
