#include "overlay/overlaypanel.h"

#include "overlay/lockscreencontent.h"
#include "overlay/overlaylog.h"
#include "overlay/unlockflow.h"

#include <QQmlEngine>
#include <QScreen>

namespace {
const QUrl lockScreenUrl(QStringLiteral("qrc:/Vostrel/Overlay/LockScreen.qml"));
}

OverlayPanel::OverlayPanel(QScreen *screen, QQmlEngine *engine, UnlockFlow *flow,
                           LockScreenContent *content, bool windowed)
    : QQuickView(engine, nullptr)
    , m_targetScreen(screen)
    , m_flow(flow)
    , m_content(content)
    , m_windowed(windowed)
{
    flow->setParent(this);
    content->setParent(this);
    setTitle(QStringLiteral("Vostrel"));
    if (!windowed) {
        setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                 Qt::X11BypassWindowManagerHint);
    }
    setScreen(screen);
    // Opaque black until the lock screen has drawn: never a frame of desktop.
    setColor(Qt::black);
    setResizeMode(QQuickView::SizeRootObjectToView);
    setInitialProperties({{QStringLiteral("flow"), QVariant::fromValue(flow)},
                          {QStringLiteral("content"), QVariant::fromValue(content)},
                          {QStringLiteral("screenName"), screen->name()}});
    setSource(lockScreenUrl);
    if (status() == QQuickView::Error) {
        for (const QQmlError &error : errors())
            qCWarning(lcOverlay, "Lock screen: %s", qPrintable(error.toString()));
    }
}

OverlayPanel::~OverlayPanel() = default;

void OverlayPanel::present()
{
    if (!m_targetScreen)
        return;
    if (m_windowed) {
        const QRect area = m_targetScreen->availableGeometry();
        setGeometry(QRect(area.topLeft() + QPoint(40, 40), area.size() / 2));
        show();
    } else {
        setGeometry(m_targetScreen->geometry());
        showFullScreen();
    }
    raise();
}
