#include "lockscreen/sessionlockscreen.h"

#include "lockscreen/lockscreenlog.h"
#include "overlay/lockscreencontent.h"
#include "overlay/offscreenquickview.h"
#include "overlay/unlockflow.h"
#include "platform/wayland/sessionlockclient.h"
#include "themes/thememanager.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QQuickWindow>

namespace {
const QUrl lockScreenUrl(QStringLiteral("qrc:/Vostrel/Overlay/LockScreen.qml"));
}

struct SessionLockScreen::Surface
{
    int output = -1;
    // Declared before the view, which draws them: they go after it.
    std::unique_ptr<UnlockFlow> flow;
    std::unique_ptr<LockScreenContent> content;
    std::unique_ptr<OffscreenQuickView> view;
};

SessionLockScreen::SessionLockScreen(const Services &services, QObject *parent)
    : QObject(parent)
    , m_services(services)
{
    SessionLockClient &client = services.client;
    connect(&client, &SessionLockClient::locked, this, [this] {
        m_locked = true;
        Q_EMIT locked();
    });
    connect(&client, &SessionLockClient::finished, this, &SessionLockScreen::finished);
    connect(&client, &SessionLockClient::surfaceConfigured, this, &SessionLockScreen::configure);
    connect(&client, &SessionLockClient::outputRemoved, this, &SessionLockScreen::remove);
    connect(&client, &SessionLockClient::keyPressed, this,
            [this](int key, const QString &text, Qt::KeyboardModifiers modifiers) {
                QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
                if (Surface *surface = focusSurface())
                    surface->flow->handleKeyEvent(event);
            });
    connect(&client, &SessionLockClient::pointerButton, this,
            [this](int output, QPointF position, Qt::MouseButton button, bool pressed) {
                Surface *surface = surfaceOf(output);
                if (!surface)
                    return;
                QMouseEvent event(pressed ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease,
                                  position, position, button, pressed ? button : Qt::NoButton,
                                  Qt::NoModifier);
                surface->view->sendMouse(event);
            });
}

SessionLockScreen::~SessionLockScreen() = default;

void SessionLockScreen::lock()
{
    m_services.themes.reload();
    m_services.client.lock();
}

void SessionLockScreen::unlock()
{
    for (const std::unique_ptr<Surface> &surface : m_surfaces)
        surface->content->setActive(false);
    m_services.client.unlockAndDestroy();
    m_locked = false;
}

SessionLockScreen::Surface *SessionLockScreen::surfaceOf(int output) const
{
    for (const std::unique_ptr<Surface> &surface : m_surfaces) {
        if (surface->output == output)
            return surface.get();
    }
    return nullptr;
}

SessionLockScreen::Surface *SessionLockScreen::focusSurface() const
{
    // The first output keeps the keys for as long as it is there: moving
    // them would strand digits already typed.
    return m_surfaces.empty() ? nullptr : m_surfaces.front().get();
}

void SessionLockScreen::configure(int output, QSize size)
{
    qCDebug(lcLockScreen) << "lock surface of output" << output << "configured:" << size;
    if (Surface *surface = surfaceOf(output)) {
        surface->view->resize(size);
        return;
    }
    auto surface = std::make_unique<Surface>();
    surface->output = output;
    surface->flow = std::make_unique<UnlockFlow>(m_services.pins, m_services.defaults);
    surface->content = std::make_unique<LockScreenContent>(m_services.themes, m_services.tasks,
                                                           m_services.animations);
    // An accepted PIN or finger was the application's to judge, and the
    // application lowers the lock: the flow's own unlock request is not needed.
    UnlockFlow *flow = surface->flow.get();
    surface->view = std::make_unique<OffscreenQuickView>(&m_services.engine);
    OffscreenQuickView *view = surface->view.get();
    surface->content->setWebPagesAllowed(m_webPagesAllowed);
    surface->content->setSnapshotSource([view] { return view->window(); });
    connect(view, &OffscreenQuickView::frameReady, this,
            [this, output](const QImage &frame, const QRegion &damage) {
                m_services.client.present(output, frame, damage);
            });
    view->resize(size);
    view->setSource(lockScreenUrl,
                    {{QStringLiteral("flow"), QVariant::fromValue(flow)},
                     {QStringLiteral("content"), QVariant::fromValue(surface->content.get())},
                     {QStringLiteral("screenName"), m_services.client.outputName(output)}});
    surface->content->setActive(true);
    flow->appeared();
    m_surfaces.push_back(std::move(surface));
}

void SessionLockScreen::remove(int output)
{
    std::erase_if(m_surfaces, [output](const std::unique_ptr<Surface> &surface) {
        return surface->output == output;
    });
}
