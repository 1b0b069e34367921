#include "overlay/overlaymanager.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "core/qmlinstances.h"
#include "overlay/lockscreencontent.h"
#include "overlay/lockscreenprocess.h"
#include "overlay/overlaylog.h"
#include "overlay/overlaypanel.h"
#include "overlay/pinmanager.h"
#include "overlay/unlockflow.h"
#include "platform/crashguard.h"
#include "platform/lockwindowguard.h"
#include "platform/soundplayer.h"
#include "tasks/processmonitor.h"
#include "themes/desktopcapture.h"
#include "themes/thememanager.h"
#include "themes/themesmodule.h"
#include "triggers/keepawakemanager.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QProcessEnvironment>
#include <QQmlEngine>
#include <QScreen>
#include <QTimer>

#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
// Long enough after an unlock to be off its path and past its clean-up.
constexpr auto heapTrimDelay = std::chrono::seconds(2);
} // namespace

OverlayManager::OverlayManager(const Services &services, QObject *parent)
    : QObject(parent)
    , m_services(services)
{
    connect(&services.guard, &LockWindowGuard::inputGrabbedChanged, this, [this](bool grabbed) {
        for (OverlayPanel *panel : overlayPanels())
            panel->unlockFlow()->setWaitingForInput(m_active && !m_windowed && !grabbed);
    });
    m_heapTrim.setSingleShot(true);
    m_heapTrim.setInterval(heapTrimDelay);
    connect(&m_heapTrim, &QTimer::timeout, this, &OverlayManager::trimHeap);
    // Locked or not: a kept panel must not wait for a screen that is gone.
    connect(qApp, &QGuiApplication::screenRemoved, this, &OverlayManager::removePanel);
}

OverlayManager::~OverlayManager()
{
    if (m_active)
        m_services.guard.release();
    for (const QPointer<OverlayPanel> &panel : std::as_const(m_panels))
        delete panel.data();
}

QList<OverlayPanel *> OverlayManager::overlayPanels() const
{
    return m_active ? builtPanels() : QList<OverlayPanel *>();
}

QList<OverlayPanel *> OverlayManager::builtPanels() const
{
    QList<OverlayPanel *> panels;
    for (const QPointer<OverlayPanel> &panel : m_panels) {
        if (panel)
            panels.append(panel);
    }
    return panels;
}

bool OverlayManager::isInputHeld() const
{
    // The compositor gives a session lock every key.
    return !m_active || m_windowed || m_sessionLock || m_services.guard.isInputGrabbed();
}

OverlayPanel *OverlayManager::panelFor(QScreen *screen) const
{
    for (OverlayPanel *panel : builtPanels()) {
        if (panel->targetScreen() == screen)
            return panel;
    }
    return nullptr;
}

QQmlEngine *OverlayManager::engine()
{
    if (!m_engine) {
        prepareSymbolIcons();
        m_engine = new QQmlEngine(this);
        m_engine->addImportPath(QStringLiteral("qrc:/"));
        m_services.qml.provideTo(*m_engine);
    }
    return m_engine;
}

std::optional<LockRefusal> OverlayManager::lockRefusal() const
{
    return LockAvailability::refusal(m_services.pins.hasPIN(), m_waylandSession && !m_sessionLock);
}

void OverlayManager::setSessionLock(LockScreenProcess *sessionLock)
{
    m_sessionLock = sessionLock;
    if (!sessionLock)
        return;
    connect(sessionLock, &LockScreenProcess::locked, this, [this] {
        if (m_active)
            return;
        m_active = true;
        if (m_services.defaults.boolValue(PreferenceKey::lockSoundsEnabled))
            m_services.sounds.play(QStringLiteral("Tink"));
        Q_EMIT overlayActiveChanged();
    });
    connect(sessionLock, &LockScreenProcess::refused, this, [this](const QString &reason) {
        qCWarning(lcOverlay).noquote() << "the lock did not come up:" << reason;
        m_services.pins.endLock();
        Q_EMIT lockFailed(reason);
    });
    connect(sessionLock, &LockScreenProcess::authenticated, this, &OverlayManager::deactivate);
}

std::optional<LockRefusal> OverlayManager::lock()
{
    if (m_active || (m_sessionLock && m_sessionLock->isLockWanted()))
        return std::nullopt;
    if (const std::optional<LockRefusal> refusal = lockRefusal())
        return refusal;
    m_services.keepAwake.start();
    activate();
    return std::nullopt;
}

void OverlayManager::takeOverFromCrashGuard(const std::function<void()> &relieveGuard)
{
    lock();
    relieveGuard();
    if (m_active && !m_windowed)
        m_services.guard.seizeInput(std::chrono::seconds(2));
}

void OverlayManager::setWindowed(bool windowed)
{
    if (m_windowed == windowed)
        return;
    m_windowed = windowed;
    if (m_active)
        return;
    for (const QPointer<OverlayPanel> &panel : std::exchange(m_panels, {})) {
        if (panel)
            panel->deleteLater();
    }
}

void OverlayManager::preparePanels()
{
    // In a Wayland session no panel of ours is ever shown.
    if (m_active || m_waylandSession)
        return;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        if (!panelFor(screen))
            createPanel(screen);
    }
}

void OverlayManager::activate()
{
    if (m_active)
        return;
    if (const std::optional<LockRefusal> refusal = lockRefusal()) {
        qCWarning(lcOverlay).noquote() << "not locking:" << LockAvailability::message(*refusal);
        return;
    }
    if (m_sessionLock) {
        // Locked once the compositor says so, not before: until then
        // nothing covers the screens.
        if (!m_sessionLock->isLockWanted()) {
            m_services.pins.beginLock();
            m_sessionLock->lock();
        }
        return;
    }
    m_active = true;
    m_services.pins.beginLock();

    // Settings written by another process since the last lock show now.
    m_services.themes.reload();
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        OverlayPanel *panel = panelFor(screen);
        showPanel(panel ? panel : createPanel(screen));
    }
    // As on every desktop where the last panel shown becomes the key window.
    const QList<OverlayPanel *> panels = overlayPanels();
    m_focusPanel = panels.isEmpty() ? nullptr : panels.last();
    // Keys arrive at whichever window Qt considers focused; all of them are
    // the lock's while it is up.
    qApp->installEventFilter(this);
    m_screenAdded = connect(qApp, &QGuiApplication::screenAdded, this, &OverlayManager::addPanel);
    engageGuard();

    if (m_services.defaults.boolValue(PreferenceKey::lockSoundsEnabled))
        m_services.sounds.play(QStringLiteral("Tink"));
    Q_EMIT overlayActiveChanged();
    // Off the path to covered screens: the guard matters only from here on.
    if (!m_windowed)
        m_services.crashGuard.start();
}

void OverlayManager::deactivate()
{
    if (m_sessionLock && m_sessionLock->isLockWanted()) {
        const bool confirmed = m_sessionLock->isLocked();
        m_sessionLock->unlock();
        // Whoever waits for that lock to come up hears it will not.
        if (!confirmed)
            Q_EMIT lockFailed(tr("The lock was lifted before it came up."));
    }
    disconnect(m_screenAdded);
    qApp->removeEventFilter(this);
    // The stack keeper stands down before the panels go, or it would map
    // them again; the panels go before anything slower (the crash guard's
    // exit), so nothing stands between the last digit and the desktop.
    // Hidden, not destroyed: the unlock may come from inside a panel's own
    // key handling, and the next lock shows them again.
    const bool panelsUp = m_active && !m_sessionLock;
    if (panelsUp)
        m_services.guard.release();
    const QList<OverlayPanel *> panels = builtPanels();
    for (OverlayPanel *panel : panels)
        panel->hide();
    if (panelsUp)
        m_services.crashGuard.stop();
    for (OverlayPanel *panel : panels) {
        panel->content()->setActive(false);
        panel->unlockFlow()->reset();
        panel->unlockFlow()->setWaitingForInput(false);
    }
    m_focusPanel = nullptr;
    const bool wasActive = m_active;
    m_active = false;
    // A fingerprint check still running would keep the reader claimed.
    m_services.pins.cancelBiometrics();
    m_services.pins.endLock();
    // The picture of the desktop must not outlive the lock it was taken for.
    m_services.capture.clear();

    if (m_services.defaults.boolValue(PreferenceKey::lockSoundsEnabled))
        m_services.sounds.play(QStringLiteral("Blow"));
    if (wasActive) {
        Q_EMIT overlayActiveChanged();
        m_heapTrim.start();
    }
}

void OverlayManager::trimHeap()
{
    if (m_active)
        return;
        // A lock allocates and frees a great deal (frames, scene-graph nodes,
        // D-Bus traffic); glibc keeps the freed pages resident in holes it
        // cannot give back by itself, and repeated locks would add up to
        // megabytes of memory nobody uses.
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void OverlayManager::addPanel(QScreen *screen)
{
    if (!m_active)
        return;
    OverlayPanel *panel = panelFor(screen);
    showPanel(panel ? panel : createPanel(screen));
    // The focus stays where it is: moving it would strand digits already typed.
    if (!m_focusPanel)
        m_focusPanel = overlayPanels().constLast();
    engageGuard();
}

OverlayPanel *OverlayManager::createPanel(QScreen *screen)
{
    auto *flow = new UnlockFlow(m_services.pins, m_services.defaults);
    auto *content =
        new LockScreenContent(m_services.themes, m_services.tasks(), m_services.animations);
    content->setSnapshotSource([this]() -> QQuickWindow * {
        const QList<OverlayPanel *> panels = overlayPanels();
        return panels.isEmpty() ? nullptr : panels.first();
    });
    // Built hidden and idle; showPanel() wakes it.
    content->setActive(false);
    auto *panel = new OverlayPanel(screen, engine(), flow, content, m_windowed);
    connect(flow, &UnlockFlow::unlockRequested, this, [this, panel] { unlockFrom(panel); });
    // A new theme builds the lock screen anew, and it appears again: the
    // fingerprint is tried once more if its last attempt has ended.
    connect(content, &LockScreenContent::identityChanged, flow, [content, flow] {
        if (content->isActive())
            flow->appeared();
    });
    m_panels.append(panel);
    if (!m_windowed)
        m_services.guard.prepare(panel);
    return panel;
}

void OverlayManager::showPanel(OverlayPanel *panel)
{
    // Taken before the panel covers the screen; the live blur shows it.
    if (m_services.themes.liveBlurShowDesktop() && !m_windowed && panel->targetScreen())
        m_services.capture.captureScreen(panel->targetScreen());
    panel->unlockFlow()->setWaitingForInput(!m_windowed && !m_services.guard.isInputGrabbed());
    panel->content()->setActive(true);
    panel->present();
    panel->unlockFlow()->appeared();
}

void OverlayManager::unlockFrom(OverlayPanel *panel)
{
    // Only a panel on screen may lower the lock: a hidden one's flow belongs
    // to a lock that has ended.
    if (m_active && panel->isVisible())
        deactivate();
}

void OverlayManager::removePanel(QScreen *screen)
{
    for (qsizetype i = 0; i < m_panels.size(); ++i) {
        OverlayPanel *panel = m_panels.at(i);
        if (!panel || panel->targetScreen() != screen)
            continue;
        m_panels.removeAt(i);
        panel->unlockFlow()->disconnect(this);
        panel->hide();
        // Later: the screen may go while one of the panel's own handlers runs.
        panel->deleteLater();
        break;
    }
    if (!m_active)
        return;
    if (!m_focusPanel || m_focusPanel->targetScreen() == screen) {
        const QList<OverlayPanel *> panels = overlayPanels();
        m_focusPanel = panels.isEmpty() ? nullptr : panels.last();
    }
    engageGuard();
}

void OverlayManager::engageGuard()
{
    if (!m_active || m_windowed)
        return;
    const QList<OverlayPanel *> panels = overlayPanels();
    if (panels.isEmpty())
        return;
    if (!m_focusPanel)
        m_focusPanel = panels.last();
    QList<QWindow *> windows(panels.cbegin(), panels.cend());
    m_services.guard.engage(windows, m_focusPanel);
}

bool OverlayManager::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_active || !watched->isWindowType())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (m_focusPanel)
            m_focusPanel->unlockFlow()->handleKeyEvent(*key);
        return true;
    }
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
        return true;
    default:
        return false;
    }
}
