#include "themes/radialglow.h"

#include <QPainter>
#include <QRadialGradient>

RadialGlow::RadialGlow(QQuickItem *parent)
    : TextureItem(parent)
{}

void RadialGlow::changed()
{
    Q_EMIT glowChanged();
    invalidate();
}

void RadialGlow::setColor(const QColor &color)
{
    if (color != m_color) {
        m_color = color;
        changed();
    }
}

void RadialGlow::setAnchorX(qreal x)
{
    if (x != m_anchor.x()) {
        m_anchor.setX(x);
        changed();
    }
}

void RadialGlow::setAnchorY(qreal y)
{
    if (y != m_anchor.y()) {
        m_anchor.setY(y);
        changed();
    }
}

void RadialGlow::setStartRadius(qreal radius)
{
    if (radius != m_startRadius) {
        m_startRadius = radius;
        changed();
    }
}

void RadialGlow::setEndRadius(qreal radius)
{
    if (radius != m_endRadius) {
        m_endRadius = radius;
        changed();
    }
}

QImage RadialGlow::render(QSizeF size, qreal pixelsPerPoint) const
{
    const int w = std::max(1, qRound(size.width() * pixelsPerPoint));
    const int h = std::max(1, qRound(size.height() * pixelsPerPoint));
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const qreal end = std::max<qreal>(m_endRadius, 0) * pixelsPerPoint;
    if (end <= 0)
        return image;
    const qreal start = std::clamp<qreal>(m_startRadius * pixelsPerPoint, 0, end);
    const QPointF centre(m_anchor.x() * w, m_anchor.y() * h);
    QRadialGradient gradient(centre, end);
    QColor clear = m_color;
    clear.setAlpha(0);
    gradient.setColorAt(0, m_color);
    gradient.setColorAt(start / end, m_color);
    gradient.setColorAt(1, clear);
    QPainter painter(&image);
    painter.fillRect(image.rect(), gradient);
    return image;
}
