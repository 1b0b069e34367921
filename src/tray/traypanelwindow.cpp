#include "tray/traypanelwindow.h"

#include "tray/traymodel.h"

#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPainterPath>
#include <QQmlEngine>
#include <QRegion>

#include <algorithm>
#include <array>
#include <utility>

Q_LOGGING_CATEGORY(lcTrayPanel, "vostrel.tray.panel")

namespace {
const QUrl panelUrl(QStringLiteral("qrc:/Vostrel/Tray/TrayPanel.qml"));
constexpr qreal cornerRadius = 12;
} // namespace

TrayPanelWindow::TrayPanelWindow(QQmlEngine *engine, TrayModel *model)
    : QQuickView(engine, nullptr)
    , m_model(model)
{
    model->setParent(this);
    setTitle(QStringLiteral("Vostrel panel"));
    // A pop-up is placed by us and never decorated, moved or focused by the
    // window manager.
    setFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setResizeMode(QQuickView::SizeRootObjectToView);
    // Corners are cut with a window shape rather than transparency: most X11
    // desktops without a compositor would show transparent pixels black.
    setColor(Qt::transparent);
    resize(panelSize);
    setMinimumSize(panelSize);
    setMaximumSize(panelSize);
    setInitialProperties({{QStringLiteral("menu"), QVariant::fromValue(model)}});
    setSource(panelUrl);
    if (status() == QQuickView::Error) {
        for (const QQmlError &error : errors())
            qCWarning(lcTrayPanel, "%s", qPrintable(error.toString()));
    }
}

TrayPanelWindow::~TrayPanelWindow() = default;

namespace {
enum class Edge { None, Top, Bottom, Left, Right };

struct Bar
{
    Edge edge = Edge::None;
    int thickness = 0;
};

// The bar a pointer without an icon position is on, if any.
Bar barAt(const QPoint &cursor, const QRect &screen, const QRect &area)
{
    if (screen.isEmpty() || !screen.contains(cursor))
        return {};
    // Outside the available area: on the strip a bar reserves.
    if (!area.isEmpty() && !area.contains(cursor)) {
        if (cursor.y() < area.top())
            return {Edge::Top, area.top() - screen.top()};
        if (cursor.y() > area.bottom())
            return {Edge::Bottom, screen.bottom() - area.bottom()};
        if (cursor.x() < area.left())
            return {Edge::Left, area.left() - screen.left()};
        return {Edge::Right, screen.right() - area.right()};
    }
    // Otherwise the desktop reported no strip for it: a tray icon sits in the
    // middle of its bar, so the bar reaches as far again past the pointer.
    const std::array<std::pair<Edge, int>, 4> distances{{
        {Edge::Top, cursor.y() - screen.top()},
        {Edge::Bottom, screen.bottom() - cursor.y()},
        {Edge::Left, cursor.x() - screen.left()},
        {Edge::Right, screen.right() - cursor.x()},
    }};
    const auto nearest =
        std::min_element(distances.cbegin(), distances.cend(),
                         [](const auto &a, const auto &b) { return a.second < b.second; });
    if (nearest->second >= TrayPanelWindow::barReach)
        return {};
    return {nearest->first, 2 * nearest->second + 1};
}
} // namespace

QRect TrayPanelWindow::frameFor(const QRect &iconGeometry, const QPoint &cursor,
                                const QRect &screen, const QRect &screenArea)
{
    const Bar bar = iconGeometry.isEmpty() ? barAt(cursor, screen, screenArea) : Bar{};
    QRect frame(QPoint(), panelSize);
    switch (bar.edge) {
    case Edge::Top:
        frame.moveTopLeft({cursor.x() - panelSize.width() / 2, screen.top() + bar.thickness + gap});
        break;
    case Edge::Bottom:
        frame.moveBottomLeft(
            {cursor.x() - panelSize.width() / 2, screen.bottom() - bar.thickness - gap});
        break;
    case Edge::Left:
        frame.moveTopLeft({screen.left() + bar.thickness + gap, cursor.y()});
        break;
    case Edge::Right:
        frame.moveTopRight({screen.right() - bar.thickness - gap, cursor.y()});
        break;
    case Edge::None: {
        const QRect anchor = iconGeometry.isEmpty() ? QRect(cursor, QSize(1, 1)) : iconGeometry;
        const bool below =
            screenArea.isEmpty() || anchor.center().y() < screenArea.y() + screenArea.height() / 2;
        frame.moveLeft(anchor.x() + anchor.width() / 2 - panelSize.width() / 2);
        if (below)
            frame.moveTop(anchor.y() + anchor.height() + gap);
        else
            frame.moveTop(anchor.y() - gap - panelSize.height());
        break;
    }
    }
    if (screenArea.isEmpty())
        return frame;
    // A screen smaller than the panel keeps its top left corner in view.
    frame.moveLeft(std::max(screenArea.left(),
                            std::min(frame.left(), screenArea.right() + 1 - frame.width())));
    frame.moveTop(std::max(screenArea.top(),
                           std::min(frame.top(), screenArea.bottom() + 1 - frame.height())));
    return frame;
}

void TrayPanelWindow::popUp(const QRect &frame)
{
    setGeometry(frame);
    updateMask();
    show();
    raise();
    // Right away, not at the first expose: a click that comes between the two
    // would be lost to another window. show() has the window mapped by now.
    grabPointer();
    // The keyboard is left alone: grabbing it would keep the lock hotkey from
    // reaching its global grab while the panel is open.
    requestActivate();
    qCDebug(lcTrayPanel) << "shown at" << frame;
}

void TrayPanelWindow::exposeEvent(QExposeEvent *event)
{
    QQuickView::exposeEvent(event);
    if (!m_pointerGrabbed)
        grabPointer();
}

void TrayPanelWindow::grabPointer()
{
    // The server grants a grab only on a viewable window. Should another
    // client hold the pointer, the panel still works and closes by the tray
    // icon or by the close notification.
    if (!isVisible())
        return;
    m_pointerGrabbed = setMouseGrabEnabled(true);
    qCDebug(lcTrayPanel) << "pointer grabbed" << m_pointerGrabbed;
    if (!m_pointerGrabbed)
        qCInfo(lcTrayPanel) << "pointer not grabbed: outside clicks will not close the panel";
}

void TrayPanelWindow::mousePressEvent(QMouseEvent *event)
{
    if (!QRect(QPoint(), size()).contains(event->position().toPoint())) {
        event->accept();
        Q_EMIT dismissRequested();
        return;
    }
    QQuickView::mousePressEvent(event);
}

void TrayPanelWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        Q_EMIT dismissRequested();
        return;
    }
    QQuickView::keyPressEvent(event);
}

void TrayPanelWindow::resizeEvent(QResizeEvent *event)
{
    QQuickView::resizeEvent(event);
    updateMask();
}

void TrayPanelWindow::updateMask()
{
    QPainterPath outline;
    outline.addRoundedRect(QRectF(QPointF(), QSizeF(size())), cornerRadius, cornerRadius);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}
