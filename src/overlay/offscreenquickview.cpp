#include "overlay/offscreenquickview.h"

#include "overlay/overlaylog.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickRenderControl>
#include <QQuickRenderTarget>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTimer>

#include <cstring>

OffscreenQuickView::OffscreenQuickView(QQmlEngine *engine, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
    , m_renderControl(std::make_unique<QQuickRenderControl>())
    , m_window(std::make_unique<QQuickWindow>(m_renderControl.get()))
    , m_renderTimer(new QTimer(this))
{
    // Requests arrive in bursts (an animation step touches many items);
    // one frame answers all of them.
    m_renderTimer->setSingleShot(true);
    m_renderTimer->setInterval(0);
    connect(m_renderTimer, &QTimer::timeout, this, &OffscreenQuickView::render);
    connect(m_renderControl.get(), &QQuickRenderControl::renderRequested, this,
            &OffscreenQuickView::scheduleRender);
    connect(m_renderControl.get(), &QQuickRenderControl::sceneChanged, this,
            &OffscreenQuickView::scheduleRender);
    m_window->setColor(Qt::black);
    // Never shown, so never activated by a window system: without this the
    // scene has no active focus item and keys reach nothing.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(m_window.get(), &focusIn);
}

OffscreenQuickView::~OffscreenQuickView()
{
    // The scene's items go before the window that holds their nodes, and the
    // render control (its scene graph) before the window it renders.
    delete m_root;
    m_root = nullptr;
    m_renderControl.reset();
    m_window.reset();
}

QQuickWindow *OffscreenQuickView::window() const
{
    return m_window.get();
}

bool OffscreenQuickView::setSource(const QUrl &url, const QVariantMap &initialProperties)
{
    m_error.clear();
    delete m_root;
    m_root = nullptr;
    m_component = std::make_unique<QQmlComponent>(m_engine, url, QQmlComponent::PreferSynchronous);
    if (m_component->isLoading()) {
        m_error = QStringLiteral("%1 does not load synchronously").arg(url.toString());
        return false;
    }
    QObject *object = m_component->isReady()
                          ? m_component->createWithInitialProperties(initialProperties)
                          : nullptr;
    if (!object) {
        m_error = m_component->errorString().trimmed();
        if (m_error.isEmpty())
            m_error = QStringLiteral("%1 could not be created").arg(url.toString());
        return false;
    }
    m_root = qobject_cast<QQuickItem *>(object);
    if (!m_root) {
        m_error = QStringLiteral("%1 is not an Item").arg(url.toString());
        delete object;
        return false;
    }
    QQmlEngine::setObjectOwnership(m_root, QQmlEngine::CppOwnership);
    m_root->setParentItem(m_window->contentItem());
    layoutRoot();
    scheduleRender();
    return true;
}

void OffscreenQuickView::resize(QSize size)
{
    if (size == m_image.size())
        return;
    // The render target keeps pointing at m_image: the same object, a new
    // buffer, announced to the window again.
    m_image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    m_image.fill(m_window->color());
    m_shown = QImage();
    m_window->setGeometry(QRect(QPoint(), size));
    m_window->contentItem()->setSize(size);
    m_window->setRenderTarget(QQuickRenderTarget::fromPaintDevice(&m_image));
    layoutRoot();
    scheduleRender();
}

void OffscreenQuickView::layoutRoot()
{
    if (m_root)
        m_root->setSize(m_image.size());
}

void OffscreenQuickView::scheduleRender()
{
    m_dirty = true;
    if (!m_renderTimer->isActive())
        m_renderTimer->start();
}

void OffscreenQuickView::render()
{
    m_renderTimer->stop();
    if (!m_dirty || m_image.isNull())
        return;
    m_dirty = false;
    // The software adaptation paints into the QImage itself and must not be
    // initialised; every other one would want a graphics device and cannot
    // draw into an image.
    if (m_window->rendererInterface()->graphicsApi() != QSGRendererInterface::Software) {
        if (!m_warned)
            qCWarning(lcOverlay) << "OffscreenQuickView draws only with QT_QUICK_BACKEND=software";
        m_warned = true;
        return;
    }
    m_renderControl->polishItems();
    m_renderControl->beginFrame();
    m_renderControl->sync();
    m_renderControl->render();
    m_renderControl->endFrame();
    const QRegion damage = takeDamage();
    if (!damage.isEmpty())
        Q_EMIT frameReady(m_image, damage);
}

QRegion OffscreenQuickView::takeDamage()
{
    // The software renderer knows what it repainted but does not say; a
    // comparison with the last frame (about a millisecond for a full HD
    // image) finds it, in bands of changed rows.
    const QRect whole(QPoint(), m_image.size());
    if (m_shown.size() != m_image.size()) {
        m_shown = m_image.copy();
        return whole;
    }
    QRegion damage;
    const int width = m_image.width();
    const size_t rowBytes = size_t(width) * 4;
    int bandTop = -1;
    int bandLeft = width;
    int bandRight = -1;
    const auto closeBand = [&](int end) {
        if (bandTop >= 0)
            damage += QRect(bandLeft, bandTop, bandRight - bandLeft + 1, end - bandTop);
        bandTop = -1;
        bandLeft = width;
        bandRight = -1;
    };
    for (int y = 0; y < m_image.height(); ++y) {
        const auto *now = reinterpret_cast<const quint32 *>(m_image.constScanLine(y));
        auto *before = reinterpret_cast<quint32 *>(m_shown.scanLine(y));
        if (std::memcmp(now, before, rowBytes) == 0) {
            closeBand(y);
            continue;
        }
        int left = 0;
        while (now[left] == before[left])
            ++left;
        int right = width - 1;
        while (now[right] == before[right])
            --right;
        std::memcpy(before + left, now + left, size_t(right - left + 1) * 4);
        if (bandTop < 0)
            bandTop = y;
        bandLeft = std::min(bandLeft, left);
        bandRight = std::max(bandRight, right);
    }
    closeBand(m_image.height());
    return damage;
}

void OffscreenQuickView::sendKey(QKeyEvent &event)
{
    QCoreApplication::sendEvent(m_window.get(), &event);
}

void OffscreenQuickView::sendMouse(QMouseEvent &event)
{
    QCoreApplication::sendEvent(m_window.get(), &event);
}
