#include "tray/trayicon.h"

#include "overlay/overlaymanager.h"
#include "tray/trayiconpainter.h"
#include "tray/traypanelwindow.h"
#include "triggers/keepawakemanager.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QQmlEngine>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

Q_LOGGING_CATEGORY(lcTray, "vostrel.tray")

namespace {
// The panel goes to the screen the icon (or the pointer) is on.
QScreen *screenAt(const QPoint &point)
{
    QScreen *screen = QGuiApplication::screenAt(point);
    return screen ? screen : QGuiApplication::primaryScreen();
}

// Presses on the application's own windows other than the panel: a grab with
// owner events delivers those to their windows rather than to the panel.
class PressWatcher : public QObject
{
public:
    PressWatcher(TrayPanelWindow *panel, std::function<void()> onPress)
        : QObject(panel)
        , m_panel(panel)
        , m_onPress(std::move(onPress))
    {
        qApp->installEventFilter(this);
    }
    ~PressWatcher() override { qApp->removeEventFilter(this); }
    Q_DISABLE_COPY_MOVE(PressWatcher)

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress && watched->isWindowType() &&
            watched != m_panel) {
            m_onPress();
        }
        return false;
    }

private:
    TrayPanelWindow *m_panel;
    std::function<void()> m_onPress;
};
} // namespace

TrayIcon::TrayIcon(const Services &services, QObject *parent)
    : QObject(parent)
    , m_services(services)
{
    m_pressGuard.setSingleShot(true);
    connect(&m_pressGuard, &QTimer::timeout, this, &TrayIcon::endPressGuard);
    m_trayIcon.setToolTip(QStringLiteral("Vostrel"));
    connect(&m_trayIcon, &QSystemTrayIcon::activated, this,
            qOverload<QSystemTrayIcon::ActivationReason>(&TrayIcon::handleActivation));
    updateIcon();

    connect(&m_services.overlay, &OverlayManager::overlayActiveChanged, this, [this] {
        updateIcon();
        // The lock takes the pointer while it is up; an open panel takes it
        // back afterwards, or outside clicks would no longer close it.
        if (m_panel && !m_services.overlay.isOverlayActive())
            m_panel->grabPointer();
    });
    connect(&m_services.keepAwake, &KeepAwakeManager::stateChanged, this, &TrayIcon::updateIcon);
    connect(&m_services.keepAwake, &KeepAwakeManager::ticked, this, &TrayIcon::updateTitle);
    m_trayIcon.show();
}

TrayIcon::~TrayIcon()
{
    closePanel();
}

void TrayIcon::setSettingsOpener(TrayModel::SettingsOpener opener)
{
    m_settingsOpener = std::move(opener);
}

void TrayIcon::setQuitHandler(TrayModel::QuitHandler handler)
{
    m_quitHandler = std::move(handler);
}

void TrayIcon::setLockHandler(TrayModel::LockHandler handler)
{
    m_lockHandler = std::move(handler);
}

void TrayIcon::handleActivation(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Unknown)
        return;
    if (m_isPressGuardActive) {
        qCDebug(lcTray) << "activation swallowed: its press closed the panel";
        return;
    }
    togglePanel();
}

void TrayIcon::startPressGuard()
{
    m_isPressGuardActive = true;
    // An XEmbed icon is a window of this application: its activation comes
    // with the press itself, before the event loop turns. A StatusNotifier
    // tray reports no icon position and activates on the press over D-Bus,
    // some time after the press reached the panel.
    m_pressGuard.start(m_trayIcon.geometry().isEmpty() ? statusNotifierPressGuard
                                                       : std::chrono::milliseconds(0));
}

void TrayIcon::endPressGuard()
{
    m_pressGuard.stop();
    m_isPressGuardActive = false;
}

void TrayIcon::togglePanel()
{
    if (m_panel)
        closePanel();
    else
        openPanel();
}

QQmlEngine *TrayIcon::engine()
{
    if (!m_engine) {
        m_engine = new QQmlEngine(this);
        m_engine->addImportPath(QStringLiteral("qrc:/"));
    }
    return m_engine;
}

void TrayIcon::openPanel()
{
    if (m_panel)
        return;
    auto *model = new TrayModel(m_services, m_settingsOpener, m_quitHandler);
    model->setLockHandler(m_lockHandler);
    connect(model, &TrayModel::panelShouldClose, this, &TrayIcon::closePanel);
    auto *panel = new TrayPanelWindow(engine(), model);
    m_panel = panel;
    connect(panel, &TrayPanelWindow::dismissRequested, this, [this] {
        closePanel();
        startPressGuard();
    });
    new PressWatcher(panel, [this] {
        startPressGuard();
        closePanel();
    });

    const QRect icon = m_trayIcon.geometry();
    const QPoint cursor = QCursor::pos();
    const QScreen *screen = screenAt(icon.isEmpty() ? cursor : icon.center());
    const QRect frame =
        TrayPanelWindow::frameFor(icon, cursor, screen ? screen->geometry() : QRect(),
                                  screen ? screen->availableGeometry() : QRect());
    qCDebug(lcTray) << "panel opens at" << frame << "icon" << icon;
    panel->popUp(frame);
}

void TrayIcon::closePanel()
{
    if (!m_panel)
        return;
    TrayPanelWindow *panel = m_panel;
    m_panel = nullptr;
    panel->hide();
    // Deleted later: the close may come from inside one of the panel's rows.
    panel->deleteLater();
    qCDebug(lcTray) << "panel closed";
}

void TrayIcon::updateIcon()
{
    const bool locked = m_services.overlay.isOverlayActive();
    if (!m_hasIcon || locked != m_showsLockedIcon) {
        m_trayIcon.setIcon(TrayIconPainter::icon(locked));
        m_showsLockedIcon = locked;
        m_hasIcon = true;
    }
    updateTitle();
}

void TrayIcon::updateTitle()
{
    const QString remaining = m_services.keepAwake.remainingTimeText();
    const QString title = m_services.keepAwake.isActive() && !remaining.isEmpty()
                              ? QLatin1Char(' ') + remaining
                              : QString();
    if (title == m_title)
        return;
    m_title = title;
    // Trays show no title next to an icon; the tool tip carries it.
    const QString toolTip = QStringLiteral("Vostrel") + m_title;
    m_trayIcon.setToolTip(toolTip);
    // A tool tip an XEmbed tray icon already shows keeps its text until it is
    // shown again; StatusNotifier hosts fetch the new one by themselves.
    if (QToolTip::isVisible() && m_trayIcon.geometry().contains(QCursor::pos()))
        QToolTip::showText(QCursor::pos(), toolTip);
    qCDebug(lcTray) << "tool tip" << toolTip;
}

void TrayIcon::applicationActivated()
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_trayIcon.show();
}
